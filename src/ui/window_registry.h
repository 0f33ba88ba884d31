// The way from a window handle to its toolkit object, and to the procedure that a control's
// subclass hands messages on to. Kept in the process, not as window properties: under Wine each
// property read is a round trip to the server, and a message to a control took four of them.
#pragma once

#include <windows.h>

namespace ui {

class Window;

struct RegisteredWindow {
    Window* object = nullptr;        // nullptr once the window's messages no longer reach its object
    WNDPROC previousProc = nullptr;  // the window's own procedure, for a subclassed control
};

namespace window_registry {

void Link(HWND handle, Window* object);
void SetPreviousProc(HWND handle, WNDPROC procedure);
// Messages stop reaching the object; a subclass still hands them on until the window is gone.
void Unlink(HWND handle) noexcept;
// The window is gone (WM_NCDESTROY) or no longer subclassed: its handle may be used again.
void Forget(HWND handle) noexcept;
RegisteredWindow Find(HWND handle) noexcept;

}  // namespace window_registry
}  // namespace ui
