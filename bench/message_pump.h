// The benchmark's message loop: dispatches the thread's messages as the program's own loop does
// (so Timer1 fires on it), and notes how long the longest single message and the longest paint took,
// and which messages took a noticeable time, and when, so that a long wait can be accounted for.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace bench {

// A message that took a noticeable time, or (with `message` 0) the benchmark's own look at whether
// it is done.
struct DispatchRecord {
    double startMs;
    double tookMs;
    UINT message;
    HWND window;
};

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

    const std::vector<DispatchRecord>& Dispatches() const { return dispatches; }
    void ClearDispatches() { dispatches.clear(); }

private:
    void DispatchWaiting();
    void Note(double start, UINT message, HWND window);

    double longestMessageMs = 0;
    double longestPaintMs = 0;
    std::vector<DispatchRecord> dispatches;
};

}  // namespace bench
