// A top-level window. Notifications of its controls reach the control objects, menu commands the
// main menu; every handler runs guarded, so an exception shows in the
// application's error box and the window goes on.
#pragma once

#include "ui/window.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class MainMenu;

struct FormArgs {
    std::string caption{};
    int width = 0;  // outer size, or the client area's with clientSize, in layout pixels
    int height = 0;
    bool clientSize = false;
    DWORD style = WS_OVERLAPPEDWINDOW;
    FontDescription font{.face = kProportionalGothic, .points = 9, .bold = false};
    class Form* owner = nullptr;
    // Information windows: centred on the owner at the first showing, then wherever they were last.
    bool centreOnOwnerAtFirstShow = false;
    const char* iconResource = nullptr;
};

class Form : public Window {
public:
    explicit Form(const FormArgs& args);
    ~Form() override;

    // Runs before the window appears, each time it is shown while hidden.
    std::function<void(Object* sender)> OnShow;
    // Every request to close, including the session's end; leave canClose true to allow it.
    std::function<void(Object* sender, bool& canClose)> OnCloseQuery;

    // Shows the window as the show command says. A window shown minimised at first is shown, and
    // OnShow runs, only when it is restored.
    void Show(int showCommand = SW_SHOW);
    // Shows the window with its owner disabled and returns when it has been closed; the window is
    // then hidden, not destroyed, and keeps its state for the next showing.
    void ShowModal();
    // Asks the window to close, as its close box does.
    void Close();
    void Hide();
    // Pixels on the screen; while the window is minimised, the place it is restored to.
    void MoveTo(int left, int top);
    // The outer size in pixels; while minimised, the size it is restored to.
    SIZE OuterSize() const;
    // The outer size in layout pixels, which mean the same at every DPI: while minimised, the size
    // it is restored to, while maximised, the maximised size.
    SIZE OuterLayoutSize() const;
    void SetOuterLayoutSize(int width, int height);
    Form* Owner() const noexcept { return owner_; }

    // Used by the menu of this form.
    void AttachMenu(MainMenu* menu) noexcept { menu_ = menu; }

protected:
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Proc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // Whether the system may restore the minimised window itself.
    bool QueryOpen();
    void MovedToDpi(int dpi, const RECT& proposed);
    bool QueryClose();
    void OnClose();
    void PlaceBeforeShowing();
    // Changes the place a minimised window is restored to, by a function of its restored rectangle.
    template <typename Change>
    void ChangeRestoredRect(Change change);
    void RememberFocus() noexcept;
    void RestoreFocus() noexcept;

    Form* owner_;
    bool centreOnOwnerAtFirstShow_;
    bool shownBefore_ = false;
    bool showWhenRestored_ = false;
    bool modal_ = false;
    bool modalEnded_ = false;
    HWND focusedControl_ = nullptr;
    MainMenu* menu_ = nullptr;
};

}  // namespace ui
