#include "ui/status_bar.h"

#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/text_conversion.h"

#include <utility>

namespace ui {
namespace {

const char* RegisteredStatusClass() {
    App().Initialize();
    return STATUSCLASSNAMEA;
}

}  // namespace

StatusBar::StatusBar(Window& parent, StatusBarArgs args)
    : Control(parent, {.className = RegisteredStatusClass(), .style = SBARS_SIZEGRIP, .align = Align::Bottom}) {
    if (args.height > 0) {
        // The bar would take its height from its font again at every resize; from here on it keeps
        // the one given and is placed by the parent's alignment like any other control.
        SetWindowLongA(Handle(), GWL_STYLE, GetWindowLongA(Handle(), GWL_STYLE) | CCS_NORESIZE | CCS_NOPARENTALIGN);
        SetHeight(args.height);
    }
    UseStatusFont();
    Parent()->RealignChildren();
}

void StatusBar::UseStatusFont() {
    statusFont_.emplace(StatusFontAt(Dpi()));
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(statusFont_->Handle()), TRUE);
}

void StatusBar::OnDpiChanged() { UseStatusFont(); }

void StatusBar::SetSimple(bool simple) { SendMessageA(Handle(), SB_SIMPLE, simple ? TRUE : FALSE, 0); }

bool StatusBar::Simple() const { return SendMessageA(Handle(), SB_ISSIMPLE, 0, 0) != FALSE; }

void StatusBar::SetSimpleText(const std::string& text) {
    std::wstring wide = ToWide(text);
    if (wide == simpleText_) return;
    // The bar paints itself at once for every text it is given, hidden panel included, and a paint
    // takes several milliseconds under Wine: it is held here, and the bar is drawn once with the
    // window's next paint instead of within the receive tick that sets the clock.
    const bool shown = (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(wide.c_str()));
    // WM_GETTEXT, the one query that works from another process, reads the first panel; it is
    // hidden in simple mode and carries the same text for programs that watch the status line.
    SendMessageW(Handle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (shown) {
        SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(Handle(), nullptr, FALSE);
    }
    simpleText_ = std::move(wide);
}

std::string StatusBar::SimpleText() const {
    // Read from the first panel, which holds the same text (Wine answers no query for SB_SIMPLEID).
    const LRESULT length = LOWORD(SendMessageW(Handle(), SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(text.find(L'\0'));
    return ToShiftJis(text);
}

}  // namespace ui
