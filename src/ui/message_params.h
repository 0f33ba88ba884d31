// The parameters of window messages, read in one place: each accessor names what the message
// carries, so that handlers never cast a parameter themselves.
#pragma once

#include <windows.h>
#include <windowsx.h>

namespace ui {

struct MessageParams {
    WPARAM wParam;
    LPARAM lParam;

    // Client coordinates of a mouse message; screen coordinates for WM_CONTEXTMENU. Signed: a
    // drag past the top or the left edge gives negative values.
    POINT Mouse() const { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }
    bool ShiftHeld() const { return (wParam & MK_SHIFT) != 0; }
    UINT_PTR TimerId() const { return wParam; }
    bool SizeIsEmpty() const { return LOWORD(lParam) == 0 || HIWORD(lParam) == 0; }
    bool SizeIs(SIZE size) const { return LOWORD(lParam) == size.cx && HIWORD(lParam) == size.cy; }
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
