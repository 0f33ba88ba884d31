#include "ui/list_box.h"

#include "ui/text_conversion.h"

namespace ui {

ListBox::ListBox(Window& parent, ListBoxArgs args)
    : Control(parent, {.className = "LISTBOX",
                       .style = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                       .exStyle = WS_EX_CLIENTEDGE,
                       .bounds = args.bounds,
                       .font = std::move(args.font)}),
      itemHeight_(args.itemHeight) {
    SetItemHeight();
}

void ListBox::SetItemHeight() {
    if (itemHeight_ > 0) SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, Scaled(itemHeight_));
}

void ListBox::OnDpiChanged() { SetItemHeight(); }

void ListBox::AddItem(std::string_view text) {
    SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
}

void ListBox::Clear() { SendMessageA(Handle(), LB_RESETCONTENT, 0, 0); }

int ListBox::Count() const { return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0)); }

std::string ListBox::ItemText(int index) const {
    const LRESULT length = SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return ToShiftJis(text);
}

int ListBox::ItemHeight() const { return static_cast<int>(SendMessageA(Handle(), LB_GETITEMHEIGHT, 0, 0)); }

}  // namespace ui
