// The status bar at the bottom of a form, with a size grip, in the system's status-bar font. It
// keeps its height and the form's full width when the form is resized.
#pragma once

#include "ui/control.h"

#include <optional>
#include <string>

namespace ui {

struct StatusBarArgs {
    int height = 0;  // 0: the height the bar takes from its font
};

class StatusBar : public Control {
public:
    StatusBar(Window& parent, StatusBarArgs args);

    // One text across the whole bar instead of panels.
    void SetSimple(bool simple);
    bool Simple() const;
    void SetSimpleText(const std::string& text);
    std::string SimpleText() const;

protected:
    void OnDpiChanged() override;

private:
    // The system's status-bar font at the window's DPI, not the form's font.
    void UseStatusFont();

    std::optional<Font> statusFont_;
    std::wstring simpleText_;  // what the bar was last given
};

}  // namespace ui
