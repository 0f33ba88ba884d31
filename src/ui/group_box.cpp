#include "ui/group_box.h"

namespace ui {

GroupBox::GroupBox(Window& parent, GroupBoxArgs args)
    : Control(parent, {.className = "BUTTON",
                       .text = std::move(args.caption),
                       .style = BS_GROUPBOX | WS_CLIPCHILDREN,
                       // Lets Tab move into the buttons inside.
                       .exStyle = WS_EX_CONTROLPARENT,
                       .bounds = args.bounds,
                       .font = std::move(args.font)}) {}

LRESULT GroupBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A group box leaves its inside to whatever lies beneath, but its parent clips its children
    // and so never paints there: the box fills it with the parent's background itself.
    if (message == WM_ERASEBKGND) {
        RECT rect;
        GetClientRect(Handle(), &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, Parent()->BackgroundBrush());
        return 1;
    }
    return Control::HandleMessage(message, wParam, lParam);
}

}  // namespace ui
