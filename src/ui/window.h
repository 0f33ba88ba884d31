// What top-level forms and child controls share: the owned window handle, the way back from a
// handle to its object, geometry, text, fonts, background for children and alignment.
#pragma once

#include "ui/font.h"
#include "ui/object.h"
#include "ui/unique_handle.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// A place and size within the parent, in layout pixels.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// How a child follows its parent's client area: Top and Bottom keep their height and take the
// full width, stacked from the edges in creation order; Client takes what is left between them.
enum class Align { None, Top, Bottom, Client };

class Window : public Object {
public:
    ~Window() override;

    HWND Handle() const noexcept { return handle_.get(); }
    // The toolkit object of a window the toolkit created; nullptr for any other window. The one
    // way from a window handle to its object, for forms and controls alike.
    static Window* FromHandle(HWND handle) noexcept;

    Window* Parent() const noexcept { return parent_; }

    // Left, top, width, height within the parent's client area (on the screen for a form), in
    // pixels as the window is shown.
    RECT Bounds() const;
    int Left() const { return Bounds().left; }
    int Top() const { return Bounds().top; }
    int Width() const;
    int Height() const;
    SIZE ClientSize() const;

    // The resolution the window is shown at. Positions and sizes that the program sets, and font
    // sizes, are in layout pixels (96 ppi) and points, and the window shows them at this DPI.
    int Dpi() const noexcept { return dpi_; }
    // Place and size of a child in layout pixels, as last set.
    const Rect& LayoutBounds() const noexcept { return layoutBounds_; }
    void SetBounds(int left, int top, int width, int height);
    void SetWidth(int width);
    void SetHeight(int height);
    // Shows the window and everything in it at another DPI: fonts made again, children placed and
    // sized from their layout pixels.
    void ChangeDpi(int dpi);

    std::string Text() const;
    void SetText(std::string_view text);

    bool Visible() const noexcept { return Handle() && IsWindowVisible(Handle()); }

    // The font in use: the window's own, else its parent's.
    const Font& CurrentFont() const;
    void SetFont(FontDescription description);

    // What a child that is not transparent paints behind its text (a label on a coloured panel).
    virtual COLORREF BackgroundColor() const { return GetSysColor(COLOR_BTNFACE); }
    virtual HBRUSH BackgroundBrush() const { return GetSysColorBrush(COLOR_BTNFACE); }

    void RealignChildren();

protected:
    Window(Window* parent, Align align);

    // Takes ownership of a freshly created window and links it back to this object.
    void Attach(HWND handle);
    // Windows has destroyed the window: forget the handle instead of destroying it again.
    void Detach() noexcept;
    // The window's messages stop reaching this object; the window itself stays until destroyed.
    void StopMessages() noexcept;
    // Destroys the window after its messages no longer reach this object. Derived destructors
    // unhook their window procedure first, since by the base destructor they are gone.
    void DestroyHandle() noexcept;

    // Notifications that Windows sends to a control's parent (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*,
    // WM_DRAWITEM), handed to the control they concern. True when handled, with `result` set.
    virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void ApplyFont();
    // What a window does beyond its font and place when its DPI has changed.
    virtual void OnDpiChanged() {}
    // Places the window in pixels, for sizes measured rather than laid out (a label fitting its text).
    void SetPixelBounds(int left, int top, int width, int height);
    void SetDpi(int dpi) noexcept { dpi_ = dpi; }
    int Scaled(int layoutPixels) const;

    Rect layoutBounds_{};

private:
    void MoveWithoutRealign(int left, int top, int width, int height);
    void MoveIfMoved(int left, int top, int width, int height);
    void MakeOwnFont();

    Window* parent_;
    Align align_;
    int dpi_;
    UniqueWindow handle_;
    std::optional<FontDescription> ownFontDescription_;
    std::optional<Font> ownFont_;
    std::vector<Window*> alignedChildren_;
};

}  // namespace ui
