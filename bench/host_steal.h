// The CPU time the machine's host kept from this virtual machine (the "steal" of Linux's
// /proc/stat, read through Wine's drive for the root folder), sampled now and then during a run so
// that a long wait can be held against it. Elsewhere the file is not there and nothing is known.
#pragma once

#include <vector>

namespace bench {

class HostSteal {
public:
    // Takes a sample when `minGapMs` have passed since the last one.
    void Sample(double minGapMs);
    bool Known() const { return samples.size() >= 2; }
    // Steal summed over the CPUs, in ms, from the last sample at or before `fromMs` to the first
    // at or after `toMs`; -1 when no samples span them. `windowMs` gets the span's length.
    double StealMsAround(double fromMs, double toMs, double& windowMs) const;
    double TotalMs() const { return Known() ? samples.back().stealMs - samples.front().stealMs : 0; }

private:
    struct Point {
        double atMs;
        double stealMs;
    };
    std::vector<Point> samples;
    bool missing = false;
};

}  // namespace bench
