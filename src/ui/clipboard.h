// The clipboard's text for the text area. Other programs read Unicode, so the text goes on it both
// as UTF-16 and as Shift_JIS (marked Japanese); what comes back is taken from the Unicode text when
// there is one, since only it survives a program of another language.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// False when the clipboard could not take it (no memory for it, or held by another program).
bool SetClipboardText(HWND owner, std::string_view shiftJis);
// The clipboard's text as Shift_JIS, up to its terminating zero; nothing when it holds no text.
std::optional<std::string> ClipboardText(HWND owner);
bool ClipboardHasText();

}  // namespace ui
