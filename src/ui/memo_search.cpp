#include "ui/memo_search.h"

#include "ui/application.h"
#include "ui/memo.h"

namespace ui {
namespace {

// A slice ends once it has read for this long and the thread has something else to do; the tick
// that follows lets the loop run.
constexpr double kSliceMs = 10;
// Read between looks at the clock: well under a slice at any speed of the disk.
constexpr std::size_t kBytesPerStep = 1u << 20;
// Below this a search needs no hourglass.
constexpr double kBusyAfterMs = 100;
// The system's shortest timer: a slice that took its time finds the next tick due at once.
constexpr UINT kTickInterval = USER_TIMER_MINIMUM;

// The performance counter: the tick count's steps of about 16 ms are too coarse for a slice.
double NowMs() noexcept {
    LARGE_INTEGER count{}, frequency{};
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Whether the thread has anything to handle: input, a paint, a timer that is due, a message. A
// slice that has had its time goes on while nothing waits, rather than leave the thread idle
// until the search's next tick.
bool MessagesWaiting() noexcept { return HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0; }

}  // namespace

MemoSearch::MemoSearch(Memo& memo) : memo_(memo), timer_(memo, {.interval = kTickInterval, .enabled = false}) {
    timer_.OnTimer = [this](Object*) { RunSlice(); };
}

MemoSearch::~MemoSearch() { Cancel(); }

void MemoSearch::Start(const core::SearchRequest& request) {
    Cancel();
    search_.emplace(request, memo_.Document().Store());
    startedMs_ = NowMs();
    RunSlice();
    if (search_) timer_.Start(kTickInterval);
}

void MemoSearch::Cancel() noexcept {
    timer_.Stop();
    search_.reset();
    SetBusy(false);
}

void MemoSearch::RunSlice() {
    if (!search_) return;
    const double sliceStart = NowMs();
    core::SearchStep step;
    do {
        step = search_->Step(memo_.StoreToSearch(), kBytesPerStep);
    } while (step.state == core::SearchState::Running && (NowMs() - sliceStart < kSliceMs || !MessagesWaiting()));
    if (step.state != core::SearchState::Running) return Finish(step);
    if (NowMs() - startedMs_ >= kBusyAfterMs) SetBusy(true);
}

void MemoSearch::Finish(const core::SearchStep& step) {
    Cancel();
    if (step.state == core::SearchState::Found) {
        memo_.SelectAndShow(step.match.start, step.match.end);
        if (OnFound) OnFound(step.match);
    } else if (OnNotFound) {
        OnNotFound();
    }
}

void MemoSearch::SetBusy(bool busy) noexcept {
    if (busy == busy_) return;
    busy_ = busy;
    App().SetBusy(busy);
}

}  // namespace ui
