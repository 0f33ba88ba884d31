// The one way the toolkit registers its window classes: Unicode classes, so that the windows'
// texts hold any character whatever the system's code page.
#pragma once

#include <windows.h>

namespace ui {

struct WindowClassArgs {
    const char* name = nullptr;
    WNDPROC procedure = DefWindowProcW;
    UINT style = 0;               // CS_DBLCLKS, CS_HREDRAW, ...
    LPCSTR cursor = IDC_ARROW;    // a system cursor: IDC_ARROW, IDC_IBEAM, ...
    HBRUSH background = nullptr;  // none: the window paints all of it
};

// Registers the class the first time its name is asked for; later calls return the name at once.
// Returns the name, for creating a window of the class in the same expression.
const char* RegisterWindowClass(const WindowClassArgs& args);

}  // namespace ui
