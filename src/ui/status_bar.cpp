#include "ui/status_bar.h"

#include "ui/application.h"
#include "ui/dpi.h"

namespace ui {
namespace {

const char* RegisteredStatusClass() {
    App().Initialize();
    return STATUSCLASSNAMEA;
}

}  // namespace

StatusBar::StatusBar(Window& parent, StatusBarArgs args)
    : Control(parent, {.className = RegisteredStatusClass(),
                       .style = SBARS_SIZEGRIP,
                       .align = Align::Bottom}) {
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

void StatusBar::OnDpiChanged() {
    UseStatusFont();
}

void StatusBar::SetSimple(bool simple) {
    SendMessageA(Handle(), SB_SIMPLE, simple ? TRUE : FALSE, 0);
}

bool StatusBar::Simple() const {
    return SendMessageA(Handle(), SB_ISSIMPLE, 0, 0) != FALSE;
}

void StatusBar::SetSimpleText(const std::string& text) {
    SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
    // WM_GETTEXT, the one query that works from another process, reads the first panel; it is
    // hidden in simple mode and carries the same text for programs that watch the status line.
    SendMessageA(Handle(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StatusBar::SimpleText() const {
    // Read from the first panel, which holds the same text (Wine answers no query for SB_SIMPLEID).
    // The length may count characters, not bytes; a Shift_JIS character takes at most two.
    const LRESULT length = LOWORD(SendMessageA(Handle(), SB_GETTEXTLENGTHA, 0, 0));
    std::string text(2 * static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(text.find('\0'));
    return text;
}

}  // namespace ui
