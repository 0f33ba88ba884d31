// The text area: its text and editing (through the document), the clipboard, and input from the
// keyboard and the mouse. How it lays out, scrolls and paints is in memo_view.cpp.
#include "ui/memo.h"

#include "ui/application.h"
#include "ui/clipboard.h"
#include "ui/main_menu.h"
#include "ui/temp_page_file.h"
#include "ui/text_conversion.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>

namespace ui {
namespace {

constexpr int kWheelRows = 3;
constexpr LRESULT kNoLimit = 0x7FFFFFFE;
// The clipboard takes one piece of memory for the whole selection, twice over (Unicode and
// Shift_JIS): beyond this the copy is refused with a message rather than fail on its way.
constexpr std::size_t kMostClipboardBytes = 64u << 20;

constexpr const char* kTooMuchToCopy =
    "選択された文字が多すぎるため、クリップボードにコピーできません。少ない範囲を選択してください";
constexpr const char* kTextAreaFull =
    "受信テキストが多くなりました。一時ファイルが使えないため、これ以上はメモリに残せません。"
    "ファイルに保存してからクリアしてください";
constexpr const char* kOldestLinesDropped =
    "受信テキストがいっぱいになったため、古い行から削除しました。残したい受信テキストはファイルに保存してください";

constexpr const char* kCopyFailed = "クリップボードにコピーできませんでした";

enum ContextCommand : UINT { kUndo = 1, kCut, kCopy, kPaste, kDelete, kSelectAll };

void RegisterTextAreaClass() {
    static const bool registered = [] {
        // A Unicode window: other programs read its text in UTF-16 whatever the code page.
        static const std::wstring className = ToWide(kTextAreaClass);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
        windowClass.lpszClassName = className.c_str();
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

const char* Registered(const char* className) {
    RegisterTextAreaClass();
    return className;
}

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// The parameters of the messages the text area answers, read in one place: each accessor names
// what the message carries, so the handlers never cast a parameter themselves.
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

}  // namespace

Memo::Memo(Window& parent, MemoArgs args)
    : Control(parent, {.className = Registered(kTextAreaClass),
                       .style = WS_VSCROLL | WS_TABSTOP,
                       .exStyle = WS_EX_CLIENTEDGE,
                       .bounds = args.bounds,
                       .align = args.align,
                       .font = std::move(args.font)}),
      document_(&OpenTempPageFile, args.limits),
      colors_{args.background, args.textColor},
      brush_(CreateSolidBrush(args.background)) {
    // The font arrived with WM_SETFONT while the control was created, before the subclass that
    // handles it; take it now.
    font_ = CurrentFont().Handle();
    MeasureFont();
    LayOutAgain();
}

// ---- the text ------------------------------------------------------------------------------------

bool Memo::ForEachPiece(const std::function<bool(std::string_view)>& piece) {
    return document_.Store().ForEachPiece(0, document_.Size(), piece);
}

void Memo::SetText(std::string_view text) {
    document_.SetText(text);
    topOffset_ = 0;
    droppedSeen_ = document_.DroppedBytes();
    droppedNoticeShown_ = false;
    TextChanged(false);
}

int Memo::TextLength() const noexcept { return static_cast<int>(std::min<std::size_t>(document_.Size(), INT_MAX)); }

void Memo::AppendText(std::string_view bytes) {
    // The program's own additions are not the user's edits: nothing to undo, and the last edit's
    // bytes all lie before them. A user reading back keeps the selection where it is.
    document_.Append(bytes, ViewHeld());
    TextChanged(!ViewHeld());
}

std::string Memo::TextTail(int n) {
    const std::size_t size = document_.Size();
    const std::size_t count = n < 0 ? 0 : std::min(size, static_cast<std::size_t>(n));
    return document_.Read(size - count, size);
}

void Memo::ScrollToEnd() {
    if (!ViewHeld()) ScrollTo(LastTopOffset());
}

void Memo::Clear() { SetText({}); }

bool Memo::ViewHeld() const noexcept { return selecting_ || trackingScrollBar_ || (GetKeyState(VK_SCROLL) & 1) != 0; }

void Memo::CopyToClipboard() {
    const core::TextSelection s = document_.Selected();
    if (s.start == s.end) return;
    if (s.end - s.start > kMostClipboardBytes) {
        App().ShowMessage(kTooMuchToCopy);
    } else if (!SetClipboardText(Handle(), document_.SelectedText())) {
        App().ShowMessage(kCopyFailed);
    }
}

void Memo::PasteFromClipboard() {
    if (const std::optional<std::string> text = ClipboardText(Handle())) ReplaceSelection(*text);
}

void Memo::CutToClipboard() {
    const core::TextSelection s = document_.Selected();
    if (s.start == s.end) return;
    const bool tooMuch = s.end - s.start > kMostClipboardBytes;
    if (tooMuch || !SetClipboardText(Handle(), document_.SelectedText())) {
        App().ShowMessage(tooMuch ? kTooMuchToCopy : kCopyFailed);
        return;
    }
    ReplaceSelection({});
}

void Memo::SetColors(COLORREF background, COLORREF text) {
    UniqueBrush brush(CreateSolidBrush(background));
    if (!brush) return;
    brush_ = std::move(brush);
    colors_ = {background, text};
    InvalidateRect(Handle(), nullptr, FALSE);
}

void Memo::Select(std::size_t anchor, std::size_t caret) {
    document_.Select(anchor, caret);
    PlaceCaret();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void Memo::ReplaceSelection(std::string_view bytes, core::EditKind kind) {
    document_.ReplaceSelection(bytes, kind);
    TextChanged(true);
}

bool Memo::Undo() {
    if (!document_.Undo()) return false;
    TextChanged(true);
    return true;
}

void Memo::TextChanged(bool showCaret) {
    // The oldest lines may have left a full text area: the view moves back with them.
    const std::size_t dropped = document_.DroppedBytes() - droppedSeen_;
    if (dropped != 0) {
        droppedSeen_ = document_.DroppedBytes();
        topOffset_ = topOffset_ > dropped ? topOffset_ - dropped : 0;
    }
    topOffset_ = document_.Rows().RowAt(std::min(topOffset_, document_.Size())).start;
    shownRowsStale_ = true;
    UpdateScrollBar();
    if (showCaret) ScrollCaretIntoView();
    PlaceCaret();
    InvalidateRect(Handle(), nullptr, FALSE);
    const core::StoreNotices notices = document_.Store().TakeNotices();
    fullNoticeDue_ = fullNoticeDue_ || notices.full;
    droppedNoticeDue_ = droppedNoticeDue_ || (notices.linesDropped && !droppedNoticeShown_);
    // Shown from the message loop, not from within the receive tick that made the change, so the
    // box does not hold up the tick: reception goes on behind it.
    if (notices.full || notices.linesDropped) PostMessageW(Handle(), kShowNoticeMessage, 0, 0);
}

void Memo::ShowNotices() {
    if (fullNoticeDue_) {
        fullNoticeDue_ = false;
        App().ShowMessage(kTextAreaFull);
    }
    if (droppedNoticeDue_ && !droppedNoticeShown_) {
        droppedNoticeDue_ = false;
        droppedNoticeShown_ = true;
        App().ShowMessage(kOldestLinesDropped);
    }
}

// ---- input ---------------------------------------------------------------------------------------

void Memo::OnKeyDown(WPARAM key) {
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    const std::size_t page = static_cast<std::size_t>(VisibleRows());
    std::optional<core::CaretStep> step;
    switch (key) {
    case VK_LEFT: step = control ? core::CaretStep::WordLeft : core::CaretStep::Left; break;
    case VK_RIGHT: step = control ? core::CaretStep::WordRight : core::CaretStep::Right; break;
    case VK_UP: step = core::CaretStep::Up; break;
    case VK_DOWN: step = core::CaretStep::Down; break;
    case VK_PRIOR:
        ScrollRows(-static_cast<long long>(page));
        step = core::CaretStep::PageUp;
        break;
    case VK_NEXT:
        ScrollRows(static_cast<long long>(page));
        step = core::CaretStep::PageDown;
        break;
    case VK_HOME: step = control ? core::CaretStep::TextStart : core::CaretStep::RowStart; break;
    case VK_END: step = control ? core::CaretStep::TextEnd : core::CaretStep::RowEnd; break;
    case VK_DELETE:
        if (shift) {
            CutToClipboard();
        } else {
            document_.DeleteForward();
            TextChanged(true);
        }
        return;
    case VK_INSERT:
        if (control) CopyToClipboard();
        if (shift) PasteFromClipboard();
        return;
    default: return;
    }
    document_.Move(*step, shift, page);
    PlaceCaret();
    InvalidateRect(Handle(), nullptr, FALSE);
    ScrollCaretIntoView();
}

void Memo::OnChar(unsigned char c) {
    switch (c) {
    case 0x01: Select(0, document_.Size()); return;  // Ctrl+A
    case 0x03: CopyToClipboard(); return;            // Ctrl+C
    case 0x16: PasteFromClipboard(); return;         // Ctrl+V
    case 0x18: CutToClipboard(); return;             // Ctrl+X
    case 0x1A: Undo(); return;                       // Ctrl+Z
    default: break;
    }
    const std::size_t size = document_.Size();
    document_.Type(c);
    // A first byte waits for its partner without changing the text.
    if (document_.Size() != size || c == '\b') TextChanged(true);
}

void Memo::OnVerticalScroll(int request) {
    const long long page = VisibleRows();
    switch (request) {
    case SB_LINEUP: ScrollRows(-1); break;
    case SB_LINEDOWN: ScrollRows(1); break;
    case SB_PAGEUP: ScrollRows(-page); break;
    case SB_PAGEDOWN: ScrollRows(page); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(LastTopOffset()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit position, not the 16 bits that the message carries.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), SB_VERT, &info);
        ScrollTo(document_.Rows().RowAtIndex(static_cast<std::size_t>(std::max(0, info.nTrackPos))).start);
        break;
    }
    default: break;
    }
}

void Memo::ShowContextMenu(POINT point) {
    if (point.x == -1 && point.y == -1) {  // from the keyboard: at the caret
        GetCaretPos(&point);
        ClientToScreen(Handle(), &point);
    }
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    const UINT whenSelected = document_.HasSelection() ? MF_ENABLED : MF_GRAYED;
    AppendMenuText(menu.get(), MF_STRING | (document_.CanUndo() ? MF_ENABLED : MF_GRAYED), kUndo, "元に戻す(&U)");
    AppendMenuText(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuText(menu.get(), MF_STRING | whenSelected, kCut, "切り取り(&T)");
    AppendMenuText(menu.get(), MF_STRING | whenSelected, kCopy, "コピー(&C)");
    AppendMenuText(menu.get(), MF_STRING | (ClipboardHasText() ? MF_ENABLED : MF_GRAYED), kPaste, "貼り付け(&P)");
    AppendMenuText(menu.get(), MF_STRING | whenSelected, kDelete, "削除(&D)");
    AppendMenuText(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuText(menu.get(), MF_STRING | (document_.Size() == 0 ? MF_GRAYED : MF_ENABLED), kSelectAll,
                   "すべて選択(&A)");
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, Handle(), nullptr));
    switch (chosen) {
    case kUndo: Undo(); break;
    case kCut: CutToClipboard(); break;
    case kCopy: CopyToClipboard(); break;
    case kPaste: PasteFromClipboard(); break;
    case kDelete: ReplaceSelection({}); break;
    case kSelectAll: Select(0, document_.Size()); break;
    default: break;
    }
}

// ---- messages ------------------------------------------------------------------------------------

LRESULT Memo::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const MessageParams params{wParam, lParam};
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;  // the paint covers every pixel
    case WM_TIMER:
        if (params.TimerId() == kScrollBarTimerId) {
            KillTimer(Handle(), kScrollBarTimerId);
            scrollBarTimer_ = false;
            DrawStaleScrollBar();
            return 0;
        }
        if (params.TimerId() == kRefineTimerId) {
            RefineSome();
            return 0;
        }
        return Control::HandleMessage(message, wParam, lParam);
    case kShowNoticeMessage: ShowNotices(); return 0;
    case WM_NCPAINT: PrepareFrame(); return Control::HandleMessage(message, wParam, lParam);
    case WM_SIZE:
        // With no room to show a row, the rows are kept for when there is room again; a frame drawn
        // at the new size has laid them out already.
        if (!params.SizeIsEmpty() && !params.SizeIs(laidOutClient_)) LayOutAgain();
        return 0;
    case WM_SETFONT:
        font_ = params.Font();
        MeasureFont();
        if (focused_) {
            CreateCaret(Handle(), nullptr, 2, lineHeight_);
            ShowCaret(Handle());
        }
        LayOutAgain();
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    // The window is Unicode: texts come and go in UTF-16, the text stays Shift_JIS. A text of a
    // character or two bytes takes one unit, so the byte count is the most the text needs.
    case WM_GETTEXTLENGTH: return TextLength();
    case WM_GETTEXT: return AnswerWideGetText(document_.Read(0, BytesForWideBuffer(wParam)), wParam, lParam);
    case WM_SETTEXT: SetText(ShiftJisFromWideParam(lParam)); return TRUE;
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
    case WM_IME_STARTCOMPOSITION:
        composing_ = true;
        PlaceInputMethodWindow();
        return Control::HandleMessage(message, wParam, lParam);
    case WM_IME_ENDCOMPOSITION: composing_ = false; return Control::HandleMessage(message, wParam, lParam);
    case WM_KILLFOCUS:
        focused_ = false;
        document_.ForgetTypedLeadByte();
        DestroyCaret();
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN: {
        SetFocus(Handle());
        const POINT mouse = params.Mouse();
        const std::size_t at = OffsetAtPoint(mouse.x, mouse.y);
        Select(params.ShiftHeld() ? document_.Anchor() : at, at);
        selecting_ = true;
        SetCapture(Handle());
        return 0;
    }
    case WM_LBUTTONDBLCLK: {
        const POINT mouse = params.Mouse();
        document_.SelectWordAt(OffsetAtPoint(mouse.x, mouse.y));
        PlaceCaret();
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (selecting_) {
            const POINT mouse = params.Mouse();
            RECT client{};
            GetClientRect(Handle(), &client);
            // Dragging past the top or the bottom scrolls on.
            if (mouse.y < 0) ScrollRows(-1);
            if (mouse.y >= client.bottom) ScrollRows(1);
            Select(document_.Anchor(), OffsetAtPoint(mouse.x, mouse.y));
        }
        return 0;
    case WM_LBUTTONUP:
        if (selecting_) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED: selecting_ = false; return 0;
    case WM_NCLBUTTONDOWN: {
        // Dragging the thumb or holding an arrow of the scroll bar runs a loop of the system's
        // until the button is released; arriving text must not take the view away meanwhile.
        trackingScrollBar_ = params.OnScrollBar();
        const LRESULT result = Control::HandleMessage(message, wParam, lParam);
        trackingScrollBar_ = false;
        return result;
    }
    case WM_MOUSEWHEEL: {
        wheelDelta_ += params.WheelDelta();
        const int notches = wheelDelta_ / WHEEL_DELTA;
        wheelDelta_ -= notches * WHEEL_DELTA;
        ScrollRows(-static_cast<long long>(notches) * kWheelRows);
        return 0;
    }
    case WM_VSCROLL: OnVerticalScroll(params.ScrollCode()); return 0;
    case WM_KEYDOWN: OnKeyDown(params.Key()); return 0;
    case WM_CHAR:
        for (const char c : typedCharacters_.Take(params.Character())) OnChar(static_cast<unsigned char>(c));
        return 0;
    case WM_CONTEXTMENU: ShowContextMenu(params.Mouse()); return 0;
    case WM_COPY: CopyToClipboard(); return 0;
    case WM_PASTE: PasteFromClipboard(); return 0;
    case WM_CUT: CutToClipboard(); return 0;
    case WM_CLEAR: ReplaceSelection({}); return 0;
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
    case WM_UNDO:
    case EM_UNDO: return Undo() ? TRUE : FALSE;
    case EM_CANUNDO: return document_.CanUndo() ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER: document_.ForgetUndo(); return 0;
    case EM_GETLINECOUNT: return static_cast<LRESULT>(std::min<std::size_t>(document_.Rows().RowCount(), INT_MAX));
    case EM_GETFIRSTVISIBLELINE:
        return static_cast<LRESULT>(std::min<std::size_t>(document_.Rows().RowIndexOf(topOffset_), INT_MAX));
    case EM_LINESCROLL: ScrollRows(params.SignedL()); return TRUE;
    case EM_SCROLLCARET: ScrollCaretIntoView(); return 0;
    case EM_GETLIMITTEXT: return kNoLimit;
    case EM_SETLIMITTEXT: return 0;
    default: return Control::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace ui
