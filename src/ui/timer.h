// A timer of any window, a form or a control: fires on the user-interface thread, through the
// window's message queue, so its handler never runs at the same time as any other handler. The
// owner dispatches nothing itself: the message loop hands each tick to the timer.
#pragma once

#include "ui/object.h"

#include <windows.h>

#include <functional>

namespace ui {

class Window;

struct TimerArgs {
    UINT interval = 1000;  // milliseconds
    bool enabled = true;
};

class Timer : public Object {
public:
    // The owner's window must exist and outlive the timer's ticks; the timer stops with it.
    Timer(Window& owner, TimerArgs args);
    ~Timer() override;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    std::function<void(Object* sender)> OnTimer;

    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const noexcept { return interval_; }

    // Starts again from now, ticking every `interval` milliseconds.
    void Start(UINT interval);
    void Stop() { SetEnabled(false); }
    // Whether the system keeps the timer: false when stopped, when the system refused to set it,
    // and once the owner's window is gone.
    bool Running() const noexcept;

private:
    static void CALLBACK Tick(HWND window, UINT message, UINT_PTR id, DWORD time) noexcept;
    void Update();
    void Fire();

    Window& owner_;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_;
    bool running_ = false;
};

}  // namespace ui
