// A receive tick reads the port and then shows what it read, and the showing costs time in
// proportion to the bytes. So that a tick stays near its slice on a machine of any speed, it reads
// only for as long as the slice leaves after the showing it can expect, going by what showing cost
// the ticks before it.
#pragma once

#include <cstddef>

namespace core {

class TickBudget {
public:
    // Whether a tick `elapsedMs` into its reading, with `bytesRead` read, may read on within its
    // slice of `sliceMs`.
    bool MayRead(double elapsedMs, std::size_t bytesRead, double sliceMs) const noexcept {
        // Enough for the showing to be measured is always read while the slice lasts: otherwise one
        // slow showing (a busy machine) would hold every later tick below what is measured, and the
        // estimate, and a flood's pace, would never recover.
        if (bytesRead < kFewestBytesToMeasure) return elapsedMs < sliceMs;
        return elapsedMs + static_cast<double>(bytesRead) * msPerByte_ < sliceMs;
    }
    // A tick showed `bytes` in `showMs`. A dearer showing counts at once; a cheaper one lowers the
    // estimate a quarter of the way, so that one quick tick after a slow one is not trusted alone.
    void Shown(std::size_t bytes, double showMs) noexcept;

    // A showing of fewer bytes says more about its fixed costs than about the cost per byte.
    static constexpr std::size_t kFewestBytesToMeasure = 4096;

private:
    double msPerByte_ = 0;
};

}  // namespace core
