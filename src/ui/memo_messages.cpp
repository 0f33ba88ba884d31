// The text area's window procedure, by kind of message: the window's own (painting, size, font,
// timers), the focus, the mouse, the keyboard, and the edit messages that other programs and tests
// send to a text control.
#include "ui/memo.h"

#include "ui/memo_accessibility.h"
#include "ui/message_params.h"

#include <algorithm>
#include <climits>

namespace ui {
namespace {

constexpr LRESULT kNoLimit = 0x7FFFFFFE;

}  // namespace

LRESULT Memo::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    using Group = std::optional<LRESULT> (Memo::*)(UINT, WPARAM, LPARAM);
    static constexpr Group kGroups[] = {&Memo::WindowMessage, &Memo::FocusMessage, &Memo::MouseMessage,
                                        &Memo::KeyboardMessage, &Memo::EditMessage};
    for (const Group group : kGroups) {
        if (const std::optional<LRESULT> result = (this->*group)(message, wParam, lParam)) return *result;
    }
    return Control::HandleMessage(message, wParam, lParam);
}

std::optional<LRESULT> Memo::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const MessageParams params{wParam, lParam};
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;  // the paint covers every pixel
    case kShowNoticeMessage: ShowNotices(); return 0;
    case WM_NCPAINT: PrepareFrame(); return std::nullopt;
    case WM_SIZE:
        // With no room to show a row, the rows are kept for when there is room again; a frame drawn
        // at the new size has laid them out already.
        if (!params.SizeIsEmpty() && !params.SizeIs(laidOutClient_)) LayOutAgain();
        return 0;
    case WM_SETFONT:
        font_ = params.Font();
        fontKeeper_.Keep(font_);
        MeasureFont();
        if (focused_) {
            CreateCaret(Handle(), nullptr, 2, lineHeight_);
            ShowCaret(Handle());
        }
        LayOutAgain();
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_GETOBJECT: return accessibility_->AnswerGetObject(wParam, lParam);
    case WM_DESTROY: accessibility_->Disconnect(); return std::nullopt;
    default: return std::nullopt;
    }
}

std::optional<LRESULT> Memo::FocusMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const MessageParams params{wParam, lParam};
    switch (message) {
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
        // Every key but Tab, which moves on to the next control.
        const MSG* key = params.DialogKey();
        if (!(key && key->message == WM_KEYDOWN && key->wParam == VK_TAB)) code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETFOCUS:
        focused_ = true;
        CreateCaret(Handle(), nullptr, 2, lineHeight_);
        PlaceCaret();
        ShowCaret(Handle());
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        focused_ = false;
        document_.ForgetTypedLeadByte();
        DestroyCaret();
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_IME_STARTCOMPOSITION:
        composing_ = true;
        PlaceInputMethodWindow();
        return std::nullopt;
    case WM_IME_ENDCOMPOSITION: composing_ = false; return std::nullopt;
    default: return std::nullopt;
    }
}

std::optional<LRESULT> Memo::MouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const MessageParams params{wParam, lParam};
    switch (message) {
    case WM_LBUTTONDOWN: OnMouseDown(params.Mouse(), params.ShiftHeld()); return 0;
    case WM_LBUTTONDBLCLK:
        document_.SelectWordAt(OffsetAtPoint(params.Mouse()));
        PlaceCaret();
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE: OnMouseDrag(params.Mouse()); return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == Handle()) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        view_.Hold(core::ViewHold::MouseButton, false);
        dragTimer_.Stop();
        return 0;
    case WM_NCLBUTTONDOWN: {
        // Dragging the thumb or holding an arrow of the scroll bar runs a loop of the system's
        // until the button is released; arriving text must not take the view away meanwhile.
        view_.Hold(core::ViewHold::ScrollBar, params.OnScrollBar());
        const LRESULT result = Control::HandleMessage(message, wParam, lParam);
        view_.Hold(core::ViewHold::ScrollBar, false);
        return result;
    }
    case WM_MOUSEWHEEL: {
        constexpr int kWheelRows = 3;
        wheelDelta_ += params.WheelDelta();
        const int notches = wheelDelta_ / WHEEL_DELTA;
        wheelDelta_ -= notches * WHEEL_DELTA;
        if (view_.ScrollRows(-static_cast<long long>(notches) * kWheelRows)) ViewMoved();
        return 0;
    }
    case WM_VSCROLL: OnVerticalScroll(params.ScrollCode()); return 0;
    case WM_CONTEXTMENU: ShowContextMenu(params.Mouse()); return 0;
    default: return std::nullopt;
    }
}

std::optional<LRESULT> Memo::KeyboardMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const MessageParams params{wParam, lParam};
    switch (message) {
    case WM_KEYDOWN: OnKeyDown(params.Key()); return 0;
    case WM_CHAR:
        for (const char c : typedCharacters_.Take(params.Character())) OnChar(static_cast<unsigned char>(c));
        return 0;
    case WM_COPY: CopyToClipboard(); return 0;
    case WM_PASTE: PasteFromClipboard(); return 0;
    case WM_CUT: CutToClipboard(); return 0;
    case WM_CLEAR: ReplaceSelection({}); return 0;
    case WM_UNDO:
    case EM_UNDO: return Undo() ? TRUE : FALSE;
    default: return std::nullopt;
    }
}

std::optional<LRESULT> Memo::EditMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const MessageParams params{wParam, lParam};
    switch (message) {
    // The window is Unicode: texts come and go in UTF-16, the text stays Shift_JIS. A text of a
    // character or two bytes takes one unit, so the byte count is the most the text needs.
    case WM_GETTEXTLENGTH: return TextLength();
    case WM_GETTEXT: return AnswerWideGetText(document_.Read(0, BytesForWideBuffer(wParam)), wParam, lParam);
    case WM_SETTEXT: SetText(ShiftJisFromWideParam(lParam)); return TRUE;
    case EM_GETSEL: {
        const core::TextSelection s = document_.Selected();
        if (DWORD* start = params.StartOut()) *start = static_cast<DWORD>(s.start);
        if (DWORD* end = params.EndOut()) *end = static_cast<DWORD>(s.end);
        return MAKELRESULT(std::min<std::size_t>(s.start, 0xFFFF), std::min<std::size_t>(s.end, 0xFFFF));
    }
    case EM_SETSEL: {
        // As the system's control: a start of -1 removes the selection, an end of -1 means the end.
        const int start = params.SignedW();
        const int end = params.SignedL();
        if (start == -1) {
            Select(document_.Caret(), document_.Caret());
        } else {
            Select(static_cast<std::size_t>(std::max(0, start)),
                   end < 0 ? document_.Size() : static_cast<std::size_t>(end));
        }
        return 0;
    }
    case EM_REPLACESEL: {
        const std::string bytes = ShiftJisFromWideParam(lParam);
        if (params.Undoable()) {
            ReplaceSelection(bytes);
        } else {  // a replacement that cannot be undone leaves no earlier edit to undo either
            document_.ReplaceSelectionForGood(bytes);
            TextChanged(true);
        }
        return 0;
    }
    case EM_CANUNDO: return document_.CanUndo() ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER: document_.ForgetUndo(); return 0;
    case EM_GETLINECOUNT: return static_cast<LRESULT>(std::min<std::size_t>(view_.RowCount(), INT_MAX));
    case EM_GETFIRSTVISIBLELINE: return static_cast<LRESULT>(std::min<std::size_t>(view_.Figures().top, INT_MAX));
    case EM_LINESCROLL:
        if (view_.ScrollRows(params.SignedL())) ViewMoved();
        return TRUE;
    case EM_SCROLLCARET:
        if (view_.ScrollCaretIntoView()) ViewMoved();
        return 0;
    case EM_GETLIMITTEXT: return kNoLimit;
    case EM_SETLIMITTEXT: return 0;
    default: return std::nullopt;
    }
}

}  // namespace ui
