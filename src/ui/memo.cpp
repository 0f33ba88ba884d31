#include "ui/memo.h"

#include <algorithm>
#include <climits>

namespace ui {

Memo::Memo(Window& parent, MemoArgs args)
    : Control(parent, {.className = "EDIT",
                       // No ES_AUTOHSCROLL and no WS_HSCROLL: lines wrap at the area's width.
                       .style = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP,
                       .exStyle = WS_EX_CLIENTEDGE,
                       .bounds = args.bounds,
                       .align = args.align,
                       .font = std::move(args.font)}),
      colors_{args.background, args.textColor},
      brush_(CreateSolidBrush(args.background)) {
    SendMessageA(Handle(), EM_SETLIMITTEXT, 0, 0);
}

std::string Memo::Text() const {
    return Window::Text();
}

void Memo::SetText(std::string_view text) {
    Window::SetText(text);
}

int Memo::TextLength() const {
    return GetWindowTextLengthA(Handle());
}

void Memo::AppendText(std::string_view bytes) {
    // A position past the end puts the caret at the end. Asking for the length instead would
    // convert the whole text on every addition, which grows costly as the text grows.
    constexpr int kPastTheEnd = INT_MAX;
    SendMessageA(Handle(), EM_SETSEL, kPastTheEnd, kPastTheEnd);
    SendMessageA(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(std::string(bytes).c_str()));
}

std::string Memo::TextTail(int n) const {
    const std::string text = Text();
    const std::size_t count = n < 0 ? 0 : std::min(text.size(), static_cast<std::size_t>(n));
    return text.substr(text.size() - count);
}

void Memo::ScrollToEnd() {
    const LRESULT lines = SendMessageA(Handle(), EM_GETLINECOUNT, 0, 0);
    SendMessageA(Handle(), EM_LINESCROLL, 0, lines);
}

void Memo::Clear() {
    Window::SetText("");
}

void Memo::CopyToClipboard() {
    SendMessageA(Handle(), WM_COPY, 0, 0);
}

void Memo::PasteFromClipboard() {
    SendMessageA(Handle(), WM_PASTE, 0, 0);
}

void Memo::SetColors(COLORREF background, COLORREF text) {
    UniqueBrush brush(CreateSolidBrush(background));
    if (!brush) return;
    brush_ = std::move(brush);
    colors_ = {background, text};
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool Memo::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    // A read-only or disabled edit asks with WM_CTLCOLORSTATIC instead.
    if (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC) return false;
    auto dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, colors_.text);
    SetBkColor(dc, colors_.background);
    result = reinterpret_cast<LRESULT>(brush_.get());
    return true;
}

LRESULT Memo::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = Control::HandleMessage(message, wParam, lParam);
    // Tab moves to the next control instead of typing a tab character.
    if (message == WM_GETDLGCODE && lParam) {
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key->message == WM_KEYDOWN && key->wParam == VK_TAB) result &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
    return result;
}

}  // namespace ui
