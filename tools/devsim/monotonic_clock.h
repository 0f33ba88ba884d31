#pragma once

#include <chrono>

namespace devsim {

using Nanoseconds = std::chrono::nanoseconds;

// CLOCK_MONOTONIC, so that pacing is immune to wall-clock changes.
Nanoseconds MonotonicNow();

// Sleeps until `deadline` on the same clock, or less when a signal arrives,
// so that a stop request is noticed without waiting out the interval.
void SleepUntil(Nanoseconds deadline);

}  // namespace devsim
