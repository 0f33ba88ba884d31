#include "ui/button.h"

namespace ui {

Button::Button(Window& parent, ButtonArgs args)
    : Control(parent, {.className = "BUTTON",
                       .text = std::move(args.caption),
                       .style = BS_PUSHBUTTON | WS_TABSTOP,
                       .bounds = args.bounds,
                       .font = std::move(args.font)}) {}

bool Button::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    if (OnClick) OnClick(this);
    result = 0;
    return true;
}

}  // namespace ui
