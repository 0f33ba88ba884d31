#include "ui/radio_group.h"

#include "ui/device_context.h"
#include "ui/exception.h"
#include "ui/text_conversion.h"

#include <algorithm>

namespace ui {

RadioGroup::RadioGroup(Window& parent, RadioGroupArgs args)
    : GroupBox(parent, {.bounds = args.bounds, .caption = std::move(args.caption), .font = std::move(args.font)}) {
    for (std::size_t i = 0; i < args.items.size(); ++i) {
        // Plain (not automatic) radio buttons: the group alone decides what is checked and when
        // that is a change worth reporting.
        const DWORD style = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        // Unicode like every other window of the program, and never subclassed.
        HWND button = CreateWindowExW(0, L"BUTTON", ToWide(args.items[i]).c_str(), style, 0, 0, 0, 0, Handle(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)),
                                      GetModuleHandleW(nullptr), nullptr);
        if (!button) throw Exception("A radio button cannot be created");
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont().Handle()), FALSE);
        buttons_.push_back(button);
    }
    ArrangeButtons(std::max(1, args.columns));
}

void RadioGroup::ArrangeButtons(int columns) {
    // The caption's line is taken off the top; the rest is shared out in equal rows, columns
    // filled top to bottom, with 8 px left of each column.
    if (buttons_.empty()) return;
    TEXTMETRICA metrics{};
    {
        WindowDC dc(Handle());
        SelectedObject font(dc.get(), CurrentFont().Handle());
        GetTextMetricsA(dc.get(), &metrics);
    }
    const int count = ItemCount();
    const int perColumn = (count + columns - 1) / columns;
    const int buttonWidth = (Width() - 10) / columns;
    const int rowsSpace = Height() - metrics.tmHeight - 5;
    const int buttonHeight = rowsSpace / perColumn;
    const int topMargin = metrics.tmHeight + 1 + (rowsSpace % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        SetWindowPos(buttons_[static_cast<std::size_t>(i)], nullptr, (i / perColumn) * buttonWidth + 8,
                     (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void RadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= ItemCount()) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    for (int i = 0; i < ItemCount(); ++i) {
        SendMessageA(buttons_[static_cast<std::size_t>(i)], BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (index >= 0 && OnClick) OnClick(this);
}

LRESULT RadioGroup::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        const auto clicked = std::find(buttons_.begin(), buttons_.end(), reinterpret_cast<HWND>(lParam));
        if (clicked != buttons_.end()) {
            SetItemIndex(static_cast<int>(clicked - buttons_.begin()));
            return 0;
        }
    }
    return GroupBox::HandleMessage(message, wParam, lParam);
}

}  // namespace ui
