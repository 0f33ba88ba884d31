#include "monotonic_clock.h"

#include <ctime>

namespace devsim {

namespace {

constexpr long kNanosecondsPerSecond = 1'000'000'000;

}  // namespace

Nanoseconds MonotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return Nanoseconds{static_cast<long long>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec};
}

void SleepUntil(Nanoseconds deadline) {
    const long long count = deadline.count();
    if (count <= 0) {
        return;
    }
    const timespec until{static_cast<time_t>(count / kNanosecondsPerSecond),
                         static_cast<long>(count % kNanosecondsPerSecond)};
    // An absolute deadline: an interrupted or late sleep does not push the
    // following ones back.
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
}

}  // namespace devsim
