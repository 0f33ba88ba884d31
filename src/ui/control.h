// A child window: a standard control (BUTTON, EDIT, ...) or one of the toolkit's own painted ones.
// Every control is subclassed, so that notifications from controls nested in it reach their
// objects and so that the object learns when Windows destroys the window with its parent.
#pragma once

#include "ui/window.h"

#include <commctrl.h>

#include <optional>
#include <string>

namespace ui {

// The window class of the toolkit's own painted controls (panels, images).
inline constexpr const char* kPaintedControlClass = "UiPaintedControl";

class Control : public Window {
public:
    ~Control() override;

    // Moves this control right after `previous` in the tab order (and the drawing order).
    void PlaceTabAfter(const Control& previous);

protected:
    struct CreateParams {
        const char* className = kPaintedControlClass;
        std::string text{};
        DWORD style = 0;
        DWORD exStyle = 0;
        Rect bounds{};
        Align align = Align::None;
        std::optional<FontDescription> font{};
    };

    Control(Window& parent, CreateParams params);

    // Messages to the control; the default hands nested controls' notifications to their objects.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    WNDPROC previousProc_ = nullptr;
};

}  // namespace ui
