// A timer of a form: fires on the user-interface thread, through the form's messages, so its
// handler never runs at the same time as any other handler.
#pragma once

#include "ui/object.h"

#include <windows.h>

#include <functional>

namespace ui {

class Form;

struct TimerArgs {
    UINT interval = 1000;  // milliseconds
    bool enabled = true;
};

class Timer : public Object {
public:
    Timer(Form& owner, TimerArgs args);
    ~Timer() override;

    std::function<void(Object* sender)> OnTimer;

    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const noexcept { return interval_; }

    UINT_PTR Id() const noexcept { return id_; }
    void Fire();

private:
    void Update();

    Form& owner_;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_;
};

}  // namespace ui
