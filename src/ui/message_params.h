// The parameters of window messages, read in one place: each accessor names what the message
// carries, so that handlers of forms and controls never cast a parameter themselves.
#pragma once

#include <windows.h>
#include <windowsx.h>

namespace ui {

struct MessageParams {
    WPARAM wParam;
    LPARAM lParam;

    // WM_NCCREATE and WM_CREATE: the object passed to CreateWindowExW.
    template <typename Object>
    Object* CreatedFor() const {
        return static_cast<Object*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    }

    // WM_COMMAND: menu items and accelerators come without a control.
    bool FromControl() const { return lParam != 0; }
    UINT CommandId() const { return LOWORD(wParam); }
    // 0 for a menu item, 1 for an accelerator, else the control's notification code.
    UINT CommandCode() const { return HIWORD(wParam); }

    // The control a WM_COMMAND or WM_CTLCOLOR* message comes from; what WM_NOTIFY and WM_DRAWITEM
    // carry, the control named inside.
    HWND ControlHandle() const { return reinterpret_cast<HWND>(lParam); }
    const NMHDR& Notification() const { return *reinterpret_cast<const NMHDR*>(lParam); }
    const DRAWITEMSTRUCT& DrawItem() const { return *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam); }

    // WM_ACTIVATE: the window loses the activation; or it gains it while minimised.
    bool Deactivated() const { return LOWORD(wParam) == WA_INACTIVE; }
    bool ActivatedMinimised() const { return HIWORD(wParam) != 0; }

    // WM_DPICHANGED: the new DPI and the place and size the system proposes at it.
    int NewDpi() const { return LOWORD(wParam); }
    const RECT& ProposedRect() const { return *reinterpret_cast<const RECT*>(lParam); }

    // WM_SIZE.
    bool SizeMinimised() const { return wParam == SIZE_MINIMIZED; }
    bool SizeIsEmpty() const { return LOWORD(lParam) == 0 || HIWORD(lParam) == 0; }
    bool SizeIs(SIZE size) const { return LOWORD(lParam) == size.cx && HIWORD(lParam) == size.cy; }

    // Client coordinates of a mouse message; screen coordinates for WM_CONTEXTMENU. Signed: a
    // drag past the top or the left edge gives negative values.
    POINT Mouse() const { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }
    bool ShiftHeld() const { return (wParam & MK_SHIFT) != 0; }
    UINT_PTR TimerId() const { return wParam; }
    HFONT Font() const { return reinterpret_cast<HFONT>(wParam); }
    // The key a dialog asks about in WM_GETDLGCODE; nullptr when it asks in general.
    const MSG* DialogKey() const { return reinterpret_cast<const MSG*>(lParam); }
    bool OnScrollBar() const { return wParam == HTVSCROLL; }
    int WheelDelta() const { return GET_WHEEL_DELTA_WPARAM(wParam); }
    int ScrollCode() const { return LOWORD(wParam); }
    WPARAM Key() const { return wParam; }
    WPARAM Character() const { return wParam; }
    // EM_GETSEL's optional places for the selection's start and end.
    DWORD* StartOut() const { return reinterpret_cast<DWORD*>(wParam); }
    DWORD* EndOut() const { return reinterpret_cast<DWORD*>(lParam); }
    // EM_SETSEL's and EM_LINESCROLL's signed numbers.
    int SignedW() const { return static_cast<int>(wParam); }
    int SignedL() const { return static_cast<int>(lParam); }
    // EM_REPLACESEL: whether the replacement can be undone.
    bool Undoable() const { return wParam != 0; }
};

}  // namespace ui
