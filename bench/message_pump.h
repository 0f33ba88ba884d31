// The benchmark's message loop: dispatches the thread's messages as the program's own loop does
// (so Timer1 fires on it), and notes how long the longest single message and the longest paint took.
#pragma once

#include <functional>

namespace bench {

class MessagePump {
public:
    // Dispatches messages until `done` holds (checked after every wake-up) or the time is up;
    // true when `done` held.
    bool RunUntil(const std::function<bool()>& done, double timeoutMs);
    // Dispatches messages for about this long.
    void RunFor(double milliseconds);

    void ResetLongest() { longestMessageMs = 0, longestPaintMs = 0; }
    double LongestMessageMs() const { return longestMessageMs; }
    double LongestPaintMs() const { return longestPaintMs; }

private:
    void DispatchWaiting();

    double longestMessageMs = 0;
    double longestPaintMs = 0;
};

}  // namespace bench
