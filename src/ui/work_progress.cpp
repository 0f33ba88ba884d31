#include "ui/work_progress.h"

#include "ui/message_pump.h"

namespace ui {
namespace {

// The bar takes the status line's right part, leaving its left for the text there.
constexpr int kBarShareOfHostPercent = 40;
constexpr int kBarMargin = 2;

}  // namespace

double MillisecondsNow() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

WorkProgress::WorkProgress(Form& form, Window& barHost, std::uint64_t totalBytes)
    : form_(form), barHost_(barHost), work_(totalBytes, MillisecondsNow()) {}

bool WorkProgress::Did(std::uint64_t bytes) {
    const double now = MillisecondsNow();
    if (!work_.Did(bytes, now)) return !work_.Cancelled();
    // Most slices only run the messages: the receive tick, the timers, the user's keys.
    const bool show = work_.ShowingDue(now);
    if (show && work_.ProgressDue(now)) ShowProgress();
    RunMessages(show ? Paints::Run : Paints::Wait);
    work_.SliceBegins(MillisecondsNow());
    return !work_.Cancelled();
}

bool WorkProgress::WaitFor(HANDLE event) {
    while (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        RunMessages(Paints::Run);
    }
    return !work_.Cancelled();
}

void WorkProgress::RunMessages(Paints paints) {
    const bool goOn = RunWaitingMessages(
        form_.Handle(),
        [this](WPARAM key) {
            if (key == VK_ESCAPE) work_.Cancel();
        },
        paints);
    if (!goOn) work_.Cancel();
}

void WorkProgress::ShowProgress() {
    if (!bar_) {
        const SIZE host = barHost_.ClientSize();
        const int width = MulDiv(host.cx, 96, barHost_.Dpi());
        const int height = MulDiv(host.cy, 96, barHost_.Dpi());
        const int barWidth = width * kBarShareOfHostPercent / 100;
        // Clear of the size grip at the right end.
        bar_.emplace(barHost_, Rect{width - barWidth - height, kBarMargin, barWidth, height - 2 * kBarMargin});
        taskbar_.emplace(form_.Handle());
    }
    bar_->SetPosition(work_.Progress());
    taskbar_->SetPosition(work_.Progress());
    // Painted now: the slice that follows holds the thread again.
    UpdateWindow(bar_->Handle());
}

}  // namespace ui
