#include "message_pump.h"

#include "bench_clock.h"

#include <windows.h>

#include <algorithm>

namespace bench {

namespace {

// Shorter messages are many and together cost little; a wait of tens of milliseconds is made of
// longer ones.
constexpr double kNotedMs = 0.5;

}  // namespace

void MessagePump::Note(double start, UINT message, HWND window) {
    const double took = NowMs() - start;
    if (took >= kNotedMs) dispatches.push_back({start, took, message, window});
}

void MessagePump::DispatchWaiting() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        const double start = NowMs();
        TranslateMessage(&message);
        DispatchMessageA(&message);
        const double took = NowMs() - start;
        Note(start, message.message, message.hwnd);
        longestMessageMs = std::max(longestMessageMs, took);
        if (message.message == WM_PAINT) longestPaintMs = std::max(longestPaintMs, took);
    }
}

bool MessagePump::RunUntil(const std::function<bool()>& done, double timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    for (;;) {
        DispatchWaiting();
        const double looked = NowMs();
        const bool isDone = done();
        Note(looked, 0, nullptr);
        if (isDone) return true;
        if (NowMs() > deadline) return false;
        // Wakes for the next message, or after a few milliseconds to look at `done` again.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void MessagePump::RunFor(double milliseconds) {
    RunUntil([] { return false; }, milliseconds);
}

}  // namespace bench
