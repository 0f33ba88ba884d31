#include "ui/timer.h"

#include "ui/guarded_call.h"
#include "ui/window.h"

#include <map>

namespace ui {
namespace {

// The timers alive, by id. Ids are unique in the process, so a tick queued before its timer went
// (the system leaves those in the queue) finds nothing rather than a timer destroyed since.
std::map<UINT_PTR, Timer*>& LiveTimers() {
    static std::map<UINT_PTR, Timer*> timers;
    return timers;
}

UINT_PTR NewTimerId() noexcept {
    // Above the small ids that windows number their own timers with.
    static UINT_PTR next = 0x10000;
    return next++;
}

}  // namespace

Timer::Timer(Window& owner, TimerArgs args)
    : owner_(owner), id_(NewTimerId()), interval_(args.interval), enabled_(args.enabled) {
    LiveTimers().emplace(id_, this);
    Update();
}

Timer::~Timer() {
    if (owner_.Handle()) KillTimer(owner_.Handle(), id_);
    LiveTimers().erase(id_);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Update();
}

void Timer::Start(UINT interval) {
    interval_ = interval;
    enabled_ = true;
    Update();
}

bool Timer::Running() const noexcept { return running_ && owner_.Handle(); }

void Timer::Update() {
    running_ = false;
    if (!owner_.Handle()) return;
    KillTimer(owner_.Handle(), id_);
    if (enabled_ && interval_ > 0) running_ = SetTimer(owner_.Handle(), id_, interval_, &Timer::Tick) != 0;
}

void CALLBACK Timer::Tick(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    const auto found = LiveTimers().find(id);
    if (found == LiveTimers().end()) return;
    GuardedCall(
        [timer = found->second] {
            timer->Fire();
            return 0;
        },
        0);
}

void Timer::Fire() {
    // A tick already queued when the timer was switched off is not a tick.
    if (enabled_ && OnTimer) OnTimer(this);
}

}  // namespace ui
