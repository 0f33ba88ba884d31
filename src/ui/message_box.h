// The system's message box with Shift_JIS texts, shown in its Unicode form so that it reads right
// whatever the system's code page.
#pragma once

#include <windows.h>

#include <string_view>

namespace ui {

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT style);
// For a text that holds what the user typed, which may hold characters Shift_JIS lacks.
int ShowMessageBox(HWND owner, std::wstring_view text, std::string_view caption, UINT style);

}  // namespace ui
