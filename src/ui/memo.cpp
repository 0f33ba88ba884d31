// The text area: its text, the selection, editing, the clipboard and input from the keyboard and
// the mouse. How it lays out, scrolls and paints is in memo_view.cpp.
#include "ui/memo.h"

#include "core/sjis_boundary.h"
#include "ui/clipboard.h"
#include "ui/main_menu.h"
#include "ui/text_conversion.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace ui {
namespace {

constexpr int kWheelRows = 3;
constexpr LRESULT kNoLimit = 0x7FFFFFFE;

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

// The start of the character that holds `offset`, so that a selection never splits a two-byte
// character or a line break.
std::size_t CharacterStart(std::string_view text, const core::TextLayout& layout, std::size_t offset) {
    std::size_t at = layout.Row(layout.RowOf(offset)).start;
    while (at < offset) {
        const std::size_t next = at + core::CharacterLength(text, at);
        if (next > offset) break;
        at = next;
    }
    return at;
}

}  // namespace

Memo::Memo(Window& parent, MemoArgs args)
    : Control(parent, {.className = Registered(kTextAreaClass),
                       .style = WS_VSCROLL | WS_TABSTOP,
                       .exStyle = WS_EX_CLIENTEDGE,
                       .bounds = args.bounds,
                       .align = args.align,
                       .font = std::move(args.font)}),
      colors_{args.background, args.textColor},
      brush_(CreateSolidBrush(args.background)) {
    // The font arrived with WM_SETFONT while the control was created, before the subclass that
    // handles it; take it now.
    font_ = CurrentFont().Handle();
    MeasureFont();
    LayOutAgain();
}

// ---- the text ------------------------------------------------------------------------------------

void Memo::SetText(std::string_view text) {
    text_.assign(text);
    undo_.Forget();
    anchor_ = caret_ = 0;
    topRow_ = 0;
    LayOutAgain();
}

int Memo::TextLength() const noexcept {
    return static_cast<int>(std::min<std::size_t>(text_.size(), INT_MAX));
}

void Memo::AppendText(std::string_view bytes) {
    // The program's own additions are not the user's edits: nothing to undo, and the last edit's
    // bytes all lie before them.
    Replace({text_.size(), text_.size()}, bytes);
}

std::string Memo::TextTail(int n) const {
    const std::size_t count = n < 0 ? 0 : std::min(text_.size(), static_cast<std::size_t>(n));
    return text_.substr(text_.size() - count);
}

void Memo::ScrollToEnd() { ScrollTo(LastTopRow()); }

void Memo::Clear() { SetText({}); }

void Memo::CopyToClipboard() {
    const std::string selected = SelectedText();
    if (!selected.empty()) SetClipboardText(Handle(), selected);
}

void Memo::PasteFromClipboard() {
    if (const std::optional<std::string> text = ClipboardText(Handle())) ReplaceSelection(*text);
}

void Memo::CutToClipboard() {
    CopyToClipboard();
    ReplaceSelection({});
}

void Memo::SetColors(COLORREF background, COLORREF text) {
    UniqueBrush brush(CreateSolidBrush(background));
    if (!brush) return;
    brush_ = std::move(brush);
    colors_ = {background, text};
    InvalidateRect(Handle(), nullptr, FALSE);
}

Memo::Selection Memo::Selected() const noexcept {
    return {std::min(anchor_, caret_), std::max(anchor_, caret_)};
}

std::string Memo::SelectedText() const {
    const Selection s = Selected();
    return text_.substr(s.start, s.end - s.start);
}

void Memo::Select(std::size_t anchor, std::size_t caret) {
    anchor_ = CharacterStart(text_, layout_, std::min(anchor, text_.size()));
    caret_ = CharacterStart(text_, layout_, std::min(caret, text_.size()));
    const std::size_t row = layout_.RowOf(caret_);
    goalCell_ = core::CellInRow(text_, layout_.Row(row), caret_);
    PlaceCaret();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void Memo::ReplaceSelection(std::string_view bytes, core::EditKind kind) {
    const Selection s = Selected();
    undo_.Note(s.start, std::string_view(text_).substr(s.start, s.end - s.start), bytes.size(), kind);
    Replace(s, bytes);
}

void Memo::Replace(Selection s, std::string_view bytes) {
    if (s.start == s.end && bytes.empty()) return;
    text_.replace(s.start, s.end - s.start, bytes);
    // Only the rows from the changed line on are laid out again.
    layout_.Extend(text_, s.start);
    Select(s.start + bytes.size(), s.start + bytes.size());
    UpdateScrollBar();
    ScrollCaretIntoView();
}

void Memo::DeleteSelectionOr(std::size_t from, std::size_t to) {
    if (anchor_ == caret_) Select(from, to);
    ReplaceSelection({}, core::EditKind::Typing);
}

bool Memo::Undo() {
    const std::optional<core::TextEdit> step = undo_.Take();
    if (!step) return false;
    const std::optional<core::TextEdit> redo = core::ReverseOf(text_, *step);
    if (!redo) return false;
    // The reverse edit is the next undo, so a second undo puts the edit back.
    undo_.Note(redo->start, redo->removed, redo->insertedLength, core::EditKind::Other);
    Replace({step->start, step->start + step->insertedLength}, step->removed);
    Select(step->start, step->start + step->removed.size());
    return true;
}

// ---- input ---------------------------------------------------------------------------------------

void Memo::OnKeyDown(WPARAM key) {
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    const Selection s = Selected();
    const std::size_t row = layout_.RowOf(caret_);
    std::size_t to = caret_;
    int goal = goalCell_;
    switch (key) {
    case VK_LEFT:
        if (control) {
            to = core::PreviousWordStart(text_, layout_, caret_);
        } else {
            to = (!shift && s.start != s.end) ? s.start : core::PreviousBoundary(text_, layout_, caret_);
        }
        break;
    case VK_RIGHT:
        if (control) {
            to = core::NextWordStart(text_, layout_, caret_);
        } else {
            to = (!shift && s.start != s.end) ? s.end : core::NextBoundary(text_, caret_);
        }
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        const std::size_t step = (key == VK_UP || key == VK_DOWN) ? 1 : static_cast<std::size_t>(VisibleRows());
        const bool up = key == VK_UP || key == VK_PRIOR;
        const std::size_t target = up ? (row > step ? row - step : 0) : std::min(row + step, layout_.RowCount() - 1);
        to = core::OffsetAtHalfCell(text_, layout_.Row(target), 2 * goalCell_ + 1);
        if (key == VK_PRIOR || key == VK_NEXT) {
            ScrollTo(up ? (topRow_ > step ? topRow_ - step : 0) : topRow_ + step);
        }
        break;
    }
    case VK_HOME:
        to = control ? 0 : layout_.Row(row).start;
        break;
    case VK_END:
        to = control ? text_.size() : layout_.Row(row).end;
        break;
    case VK_DELETE:
        if (shift) {
            CutToClipboard();
        } else {
            DeleteSelectionOr(caret_, core::NextBoundary(text_, caret_));
        }
        return;
    case VK_INSERT:
        if (control) CopyToClipboard();
        if (shift) PasteFromClipboard();
        return;
    default:
        return;
    }
    Select(shift ? anchor_ : to, to);
    if (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT) goalCell_ = goal;
    ScrollCaretIntoView();
}

void Memo::OnChar(unsigned char c) {
    if (typedLeadByte_) {
        const char pair[2] = {*typedLeadByte_, static_cast<char>(c)};
        typedLeadByte_.reset();
        ReplaceSelection(std::string_view(pair, 2), core::EditKind::Typing);
        return;
    }
    switch (c) {
    case 0x01: Select(0, text_.size()); return;  // Ctrl+A
    case 0x03: CopyToClipboard(); return;         // Ctrl+C
    case 0x16: PasteFromClipboard(); return;      // Ctrl+V
    case 0x18: CutToClipboard(); return;          // Ctrl+X
    case 0x1A: Undo(); return;                    // Ctrl+Z
    case '\b': DeleteSelectionOr(core::PreviousBoundary(text_, layout_, caret_), caret_); return;
    case '\r': ReplaceSelection("\r\n", core::EditKind::Typing); return;
    case '\t': ReplaceSelection("\t", core::EditKind::Typing); return;
    default: break;
    }
    if (c < 0x20 || c == 0x7F) return;
    if (core::IsSjisLeadByte(c)) {
        typedLeadByte_ = static_cast<char>(c);
        return;
    }
    const char byte = static_cast<char>(c);
    ReplaceSelection(std::string_view(&byte, 1), core::EditKind::Typing);
}

void Memo::OnVerticalScroll(int request) {
    const std::size_t page = static_cast<std::size_t>(VisibleRows());
    switch (request) {
    case SB_LINEUP: ScrollTo(topRow_ > 0 ? topRow_ - 1 : 0); break;
    case SB_LINEDOWN: ScrollTo(topRow_ + 1); break;
    case SB_PAGEUP: ScrollTo(topRow_ > page ? topRow_ - page : 0); break;
    case SB_PAGEDOWN: ScrollTo(topRow_ + page); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(LastTopRow()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit position, not the 16 bits that the message carries.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), SB_VERT, &info);
        ScrollTo(static_cast<std::size_t>(std::max(0, info.nTrackPos)));
        break;
    }
    default: break;
    }
}

void Memo::ShowContextMenu(LPARAM at) {
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (point.x == -1 && point.y == -1) {  // from the keyboard: at the caret
        GetCaretPos(&point);
        ClientToScreen(Handle(), &point);
    }
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    const bool selected = anchor_ != caret_;
    const UINT whenSelected = selected ? MF_ENABLED : MF_GRAYED;
    AppendMenuText(menu.get(), MF_STRING | (undo_.CanUndo() ? MF_ENABLED : MF_GRAYED), kUndo, "元に戻す(&U)");
    AppendMenuText(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuText(menu.get(), MF_STRING | whenSelected, kCut, "切り取り(&T)");
    AppendMenuText(menu.get(), MF_STRING | whenSelected, kCopy, "コピー(&C)");
    AppendMenuText(menu.get(), MF_STRING | (ClipboardHasText() ? MF_ENABLED : MF_GRAYED), kPaste,
                "貼り付け(&P)");
    AppendMenuText(menu.get(), MF_STRING | whenSelected, kDelete, "削除(&D)");
    AppendMenuText(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuText(menu.get(), MF_STRING | (text_.empty() ? MF_GRAYED : MF_ENABLED), kSelectAll, "すべて選択(&A)");
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, Handle(), nullptr));
    switch (chosen) {
    case kUndo: Undo(); break;
    case kCut: CutToClipboard(); break;
    case kCopy: CopyToClipboard(); break;
    case kPaste: PasteFromClipboard(); break;
    case kDelete: ReplaceSelection({}); break;
    case kSelectAll: Select(0, text_.size()); break;
    default: break;
    }
}

// ---- messages ------------------------------------------------------------------------------------

LRESULT Memo::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_TIMER:
        if (wParam != kScrollBarTimerId) return Control::HandleMessage(message, wParam, lParam);
        KillTimer(Handle(), kScrollBarTimerId);
        scrollBarTimer_ = false;
        DrawStaleScrollBar();
        return 0;
    case WM_SIZE:
        // With no room to show a row, the rows are kept for when there is room again.
        if (LOWORD(lParam) != 0 && HIWORD(lParam) != 0) LayOutAgain();
        return 0;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        MeasureFont();
        if (focused_) {
            CreateCaret(Handle(), nullptr, 2, lineHeight_);
            ShowCaret(Handle());
        }
        LayOutAgain();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    // The window is Unicode: texts come and go in UTF-16, the text stays Shift_JIS.
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(core::SjisCharacterCount(text_));
    case WM_GETTEXT:
        return AnswerWideGetText(std::string_view(text_).substr(0, BytesForWideBuffer(wParam)), wParam, lParam);
    case WM_SETTEXT:
        SetText(ShiftJisFromWideParam(lParam));
        return TRUE;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
        // Every key but Tab, which moves on to the next control.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
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
    case WM_IME_ENDCOMPOSITION:
        composing_ = false;
        return Control::HandleMessage(message, wParam, lParam);
    case WM_KILLFOCUS:
        focused_ = false;
        typedLeadByte_.reset();
        DestroyCaret();
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN: {
        SetFocus(Handle());
        const std::size_t at = OffsetAtPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        Select((wParam & MK_SHIFT) ? anchor_ : at, at);
        selecting_ = true;
        SetCapture(Handle());
        return 0;
    }
    case WM_LBUTTONDBLCLK: {
        const std::size_t at = OffsetAtPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        const core::TextRow word = core::WordAround(text_, layout_, at);
        Select(word.start, word.end);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (selecting_) {
            const int y = GET_Y_LPARAM(lParam);
            RECT client{};
            GetClientRect(Handle(), &client);
            // Dragging past the top or the bottom scrolls on.
            if (y < 0) ScrollTo(topRow_ > 0 ? topRow_ - 1 : 0);
            if (y >= client.bottom) ScrollTo(topRow_ + 1);
            Select(anchor_, OffsetAtPoint(GET_X_LPARAM(lParam), y));
        }
        return 0;
    case WM_LBUTTONUP:
        if (selecting_) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        selecting_ = false;
        return 0;
    case WM_MOUSEWHEEL: {
        wheelDelta_ += GET_WHEEL_DELTA_WPARAM(wParam);
        const int notches = wheelDelta_ / WHEEL_DELTA;
        wheelDelta_ -= notches * WHEEL_DELTA;
        const long long target = static_cast<long long>(topRow_) - static_cast<long long>(notches) * kWheelRows;
        ScrollTo(static_cast<std::size_t>(std::max(0LL, target)));
        return 0;
    }
    case WM_VSCROLL:
        OnVerticalScroll(LOWORD(wParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_CHAR:
        for (const char c : typedCharacters_.Take(wParam)) OnChar(static_cast<unsigned char>(c));
        return 0;
    case WM_CONTEXTMENU:
        ShowContextMenu(lParam);
        return 0;
    case WM_COPY:
        CopyToClipboard();
        return 0;
    case WM_PASTE:
        PasteFromClipboard();
        return 0;
    case WM_CUT:
        CutToClipboard();
        return 0;
    case WM_CLEAR:
        ReplaceSelection({});
        return 0;
    case EM_GETSEL: {
        const Selection s = Selected();
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(s.start);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(s.end);
        return MAKELRESULT(std::min<std::size_t>(s.start, 0xFFFF), std::min<std::size_t>(s.end, 0xFFFF));
    }
    case EM_SETSEL: {
        // As the system's control: a start of -1 removes the selection, an end of -1 means the end.
        const auto start = static_cast<int>(wParam);
        const auto end = static_cast<int>(lParam);
        if (start == -1) {
            Select(caret_, caret_);
        } else {
            const std::size_t last = text_.size();
            Select(static_cast<std::size_t>(std::max(0, start)),
                   end < 0 ? last : static_cast<std::size_t>(end));
        }
        return 0;
    }
    case EM_REPLACESEL: {
        const std::string bytes = ShiftJisFromWideParam(lParam);
        if (wParam) {
            ReplaceSelection(bytes);
        } else {  // a replacement that cannot be undone leaves no earlier edit to undo either
            undo_.Forget();
            Replace(Selected(), bytes);
        }
        return 0;
    }
    case WM_UNDO:
    case EM_UNDO:
        return Undo() ? TRUE : FALSE;
    case EM_CANUNDO:
        return undo_.CanUndo() ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
        undo_.Forget();
        return 0;
    case EM_GETLINECOUNT:
        return static_cast<LRESULT>(layout_.RowCount());
    case EM_GETFIRSTVISIBLELINE:
        return static_cast<LRESULT>(topRow_);
    case EM_LINESCROLL: {
        const long long target = static_cast<long long>(topRow_) + static_cast<int>(lParam);
        ScrollTo(static_cast<std::size_t>(std::max(0LL, target)));
        return TRUE;
    }
    case EM_SCROLLCARET:
        ScrollCaretIntoView();
        return 0;
    case EM_GETLIMITTEXT:
        return kNoLimit;
    case EM_SETLIMITTEXT:
        return 0;
    default:
        return Control::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace ui
