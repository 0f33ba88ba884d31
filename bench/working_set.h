// The working set of this process, which holds the window under test and the benchmark, sampled
// now and then: the largest sample, and where in the run it was taken.
#pragma once

#include <cstdint>

namespace bench {

// This process's working set in bytes now; 0 when the system does not say.
std::uint64_t WorkingSetBytes();

class WorkingSetSampler {
public:
    // Takes a sample when `minGapMs` have passed since the last one (always with 0).
    void Sample(double minGapMs = 0);
    std::uint64_t MaxBytes() const { return maxBytes; }
    std::uint64_t LastBytes() const { return lastBytes; }

private:
    double lastAt = -1e18;
    std::uint64_t maxBytes = 0;
    std::uint64_t lastBytes = 0;
};

}  // namespace bench
