#include "ui/combo_box.h"

#include "ui/text_conversion.h"

#include <algorithm>

namespace ui {

ComboBox::ComboBox(Window& parent, ComboBoxArgs args)
    : Control(parent, {.className = "COMBOBOX",
                       .style = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                       // The window's height includes the dropped-down list.
                       .bounds = {args.bounds.left, args.bounds.top, args.bounds.width,
                                  args.bounds.height + args.dropDownCount * std::max(args.itemHeight, 16) + 2},
                       .font = std::move(args.font)}),
      itemHeight_(args.itemHeight),
      closedHeight_(args.bounds.height) {
    for (const std::string& item : args.items) AddItem(item);
    SetHeights();
}

void ComboBox::SetHeights() {
    if (itemHeight_ > 0) SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, Scaled(itemHeight_));
    FitClosedHeight(Scaled(closedHeight_));
}

void ComboBox::OnDpiChanged() { SetHeights(); }

void ComboBox::FitClosedHeight(int height) {
    // The closed box is its selection field plus a frame, and what the field becomes for a
    // requested height is the control's business; measure and correct the request.
    int requested = static_cast<int>(SendMessageA(Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3 && Height() != height; ++attempt) {
        requested += height - Height();
        if (requested <= 0) return;
        SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), requested);
    }
}

int ComboBox::ItemIndex() const { return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)); }

void ComboBox::SetItemIndex(int index) {
    // CB_SETCURSEL sends no CBN_SELCHANGE, which is what keeps OnChange for the user's picks.
    SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ComboBox::ItemCount() const { return static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0)); }

std::string ComboBox::ItemText(int index) const {
    const LRESULT length = SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return ToShiftJis(text);
}

void ComboBox::AddItem(std::string_view text) {
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
}

bool ComboBox::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != CBN_SELCHANGE) return false;
    if (OnChange) OnChange(this);
    result = 0;
    return true;
}

}  // namespace ui
