#include "ui/timer.h"

#include "ui/form.h"

namespace ui {

Timer::Timer(Form& owner, TimerArgs args)
    : owner_(owner), id_(owner.NewTimerId()), interval_(args.interval), enabled_(args.enabled) {
    owner_.AttachTimer(this);
    Update();
}

Timer::~Timer() {
    if (owner_.Handle()) KillTimer(owner_.Handle(), id_);
    owner_.DetachTimer(this);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Update();
}

void Timer::Update() {
    if (!owner_.Handle()) return;
    KillTimer(owner_.Handle(), id_);
    if (enabled_ && interval_ > 0) SetTimer(owner_.Handle(), id_, interval_, nullptr);
}

void Timer::Fire() {
    // A WM_TIMER already queued when the timer was switched off is not a tick.
    if (enabled_ && OnTimer) OnTimer(this);
}

}  // namespace ui
