#include "ui/radio_group.h"

#include "ui/device_context.h"
#include "ui/exception.h"
#include "ui/text_conversion.h"

#include <algorithm>
#include <utility>

namespace ui {

RadioGroup::RadioGroup(Window& parent, RadioGroupArgs args)
    : GroupBox(parent, {.bounds = args.bounds, .caption = std::move(args.caption), .font = std::move(args.font)}) {
    for (std::size_t i = 0; i < args.items.size(); ++i) {
        // Plain (not automatic) radio buttons: the group alone decides what is checked and when
        // that is a change worth reporting. They tell the group when they gain and lose the focus,
        // which is how it learns of the arrow keys.
        const DWORD style = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON | BS_NOTIFY | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        // Unicode like every other window of the program, and never subclassed.
        HWND button =
            CreateWindowExW(0, L"BUTTON", ToWide(args.items[i]).c_str(), style, 0, 0, 0, 0, Handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)), GetModuleHandleW(nullptr), nullptr);
        if (!button) throw Exception("A radio button cannot be created");
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont().Handle()), FALSE);
        buttons_.push_back(button);
    }
    columns_ = std::max(1, args.columns);
    ArrangeButtons();
}

void RadioGroup::OnDpiChanged() {
    for (HWND button : buttons_) {
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont().Handle()), TRUE);
    }
    ArrangeButtons();
}

void RadioGroup::ArrangeButtons() {
    const int columns = columns_;
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
    const int buttonWidth = (Width() - Scaled(10)) / columns;
    const int rowsSpace = Height() - metrics.tmHeight - Scaled(5);
    const int buttonHeight = rowsSpace / perColumn;
    const int topMargin = metrics.tmHeight + Scaled(1) + (rowsSpace % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        SetWindowPos(buttons_[static_cast<std::size_t>(i)], nullptr, (i / perColumn) * buttonWidth + Scaled(8),
                     (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void RadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= ItemCount()) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    for (int i = 0; i < ItemCount(); ++i) {
        HWND button = buttons_[static_cast<std::size_t>(i)];
        SendMessageA(button, BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
        // Tab lands on the selected item, or on the first while none is selected.
        const bool tabStop = i == std::max(index, 0);
        const LONG style = GetWindowLongA(button, GWL_STYLE);
        SetWindowLongA(button, GWL_STYLE, tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
    if (index >= 0 && OnClick) OnClick(this);
}

int RadioGroup::IndexOf(HWND button) const {
    const auto found = std::find(buttons_.begin(), buttons_.end(), button);
    return found == buttons_.end() ? -1 : static_cast<int>(found - buttons_.begin());
}

LRESULT RadioGroup::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = message == WM_COMMAND ? IndexOf(reinterpret_cast<HWND>(lParam)) : -1;
    if (index < 0) return GroupBox::HandleMessage(message, wParam, lParam);
    switch (HIWORD(wParam)) {
    case BN_CLICKED: SetItemIndex(index); break;
    case BN_KILLFOCUS:
        // The focus is already where it goes: another item of this group means an arrow key (or
        // the mouse) moved it, while Tab and Shift+Tab leave the group.
        focusMovesWithinGroup_ = IndexOf(GetFocus()) >= 0;
        break;
    case BN_SETFOCUS:
        // As in any dialog, the arrow keys select the item they move to; Tab only lands there.
        if (std::exchange(focusMovesWithinGroup_, false)) SetItemIndex(index);
        break;
    default: break;
    }
    return 0;
}

}  // namespace ui
