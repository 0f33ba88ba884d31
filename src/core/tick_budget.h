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
        return elapsedMs + static_cast<double>(bytesRead) * msPerByte_ < sliceMs;
    }
    // A tick showed `bytes` in `showMs`. A dearer showing counts at once; a cheaper one lowers the
    // estimate a quarter of the way, so that one quick tick after a slow one is not trusted alone.
    void Shown(std::size_t bytes, double showMs) noexcept;

private:
    double msPerByte_ = 0;
};

}  // namespace core
