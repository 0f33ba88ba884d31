// The resolution windows are shown at. Windows before 10 have neither per-window DPI nor the
// functions that take one; there every window has the system's.
#pragma once

#include <windows.h>

namespace ui {

int SystemDpi();
int WindowDpi(HWND window);
// The outer rectangle of a client rectangle for a frame of this style at a DPI.
void AdjustOuterRect(RECT& rect, DWORD style, DWORD exStyle, int dpi);
// The system's status-bar font as a window at this DPI shows it.
LOGFONTW StatusFontAt(int dpi);

}  // namespace ui
