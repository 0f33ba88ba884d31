// The text area: its text and editing (through the document), the clipboard and what it reports
// to its owner. Messages are in memo_messages.cpp, input in memo_input.cpp, the screen in
// memo_view.cpp.
#include "ui/memo.h"

#include "ui/accessibility_libraries.h"
#include "ui/clipboard.h"
#include "ui/memo_accessibility.h"
#include "ui/temp_page_file.h"
#include "ui/text_conversion.h"
#include "ui/window_class.h"

#include <algorithm>
#include <climits>

namespace ui {
namespace {

// The clipboard takes one piece of memory for the whole selection, twice over (Unicode and
// Shift_JIS): beyond this the copy is refused rather than fail on its way.
constexpr std::size_t kMostClipboardBytes = 64u << 20;

}  // namespace

Memo::Memo(Window& parent, MemoArgs args)
    : Control(parent,
              {.className = RegisterWindowClass({.name = kTextAreaClass, .style = CS_DBLCLKS, .cursor = IDC_IBEAM}),
               .style = WS_VSCROLL | WS_TABSTOP,
               .exStyle = WS_EX_CLIENTEDGE,
               .bounds = args.bounds,
               .align = args.align,
               .font = std::move(args.font)}),
      document_(&OpenTempPageFile, args.limits),
      view_(document_),
      colors_{args.background, args.textColor},
      brush_(CreateSolidBrush(args.background)),
      accessibility_(std::make_unique<MemoAccessibility>(*this)) {
    scrollBarTimer_.OnTimer = [this](Object*) {
        scrollBarTimer_.Stop();
        DrawStaleScrollBar();
    };
    refineTimer_.OnTimer = [this](Object*) { RefineSome(); };
    dragTimer_.OnTimer = [this](Object*) { OnDragTimer(); };
    // The font arrived with WM_SETFONT while the control was created, before the subclass that
    // handles it; take it now.
    font_ = CurrentFont().Handle();
    MeasureFont();
    LayOutAgain();
}

Memo::~Memo() = default;

void Memo::SetAccessibleName(std::string_view name) { accessibility_->SetName(ToWide(name)); }

IRawElementProviderSimple* Memo::AutomationElement() {
    return Accessibility().HasUia() ? accessibility_->Element() : nullptr;
}

bool Memo::ScanText(std::size_t from, std::size_t to, const std::function<bool(std::string_view)>& piece) {
    return document_.StoreToSearch().ScanPieces(from, to, piece);
}

void Memo::SetText(std::string_view text) {
    document_.SetText(text);
    TextChanged(false);
}

int Memo::TextLength() const noexcept { return static_cast<int>(std::min<std::size_t>(document_.Size(), INT_MAX)); }

void Memo::AppendText(std::string_view bytes) {
    ViewHeld();
    // The view follows the caret to the end unless it is held.
    view_.Append(bytes);
    TextChanged(false);
    accessibility_->TextChanged(true);
}

void Memo::TakeBackFrom(std::size_t from) {
    document_.TakeBackFrom(from);
    TextChanged(false);
}

std::string Memo::TextTail(int n) {
    const std::size_t size = document_.Size();
    const std::size_t count = n < 0 ? 0 : std::min(size, static_cast<std::size_t>(n));
    return document_.Read(size - count, size);
}

void Memo::ScrollToEnd() {
    if (!ViewHeld() && view_.ScrollToEnd()) ViewMoved();
}

void Memo::Clear() {
    document_.ClearForUndo();
    TextChanged(false);
}

bool Memo::ViewHeld() noexcept {
    // Scroll Lock is read when asked: it may change while another window has the keyboard.
    view_.Hold(core::ViewHold::ScrollLock, (GetKeyState(VK_SCROLL) & 1) != 0);
    return view_.Held();
}

bool Memo::CopySelection() {
    const core::TextSelection s = document_.Selected();
    if (s.end - s.start > kMostClipboardBytes) {
        Report(TextAreaEvent::TooMuchToCopy);
        return false;
    }
    if (!SetClipboardText(Handle(), document_.SelectedText())) {
        Report(TextAreaEvent::CopyFailed);
        return false;
    }
    return true;
}

void Memo::CopyToClipboard() {
    if (document_.HasSelection()) CopySelection();
}

void Memo::PasteFromClipboard() {
    if (const std::optional<std::string> text = ClipboardText(Handle())) ReplaceSelection(*text);
}

void Memo::CutToClipboard() {
    if (document_.HasSelection() && CopySelection()) ReplaceSelection({});
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

void Memo::SelectAndShow(std::size_t from, std::size_t to) {
    Select(from, to);
    view_.Centre(from);
    ViewMoved();
}

void Memo::HoldForSearch(bool held) noexcept {
    view_.Hold(core::ViewHold::Search, held);
    heldForSearch_ = held;
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
    // Only the user's edits show the caret.
    if (showCaret && OnEdit) OnEdit();
    if (showCaret) view_.ScrollCaretIntoView();
    ViewMoved();
    accessibility_->TextChanged(false);
    const core::TextNotices notices = document_.TakeNotices();
    if (!notices.full && !notices.linesDropped) return;
    notices_.full = notices_.full || notices.full;
    notices_.linesDropped = notices_.linesDropped || notices.linesDropped;
    // Reported from the message loop, not from within the receive tick that made the change, so
    // that a box does not hold up the tick: reception goes on behind it.
    PostMessageW(Handle(), kShowNoticeMessage, 0, 0);
}

void Memo::ShowNotices() {
    const core::TextNotices due = std::exchange(notices_, {});
    if (due.full) Report(TextAreaEvent::Full);
    if (due.linesDropped) Report(TextAreaEvent::LinesDropped);
}

void Memo::Report(TextAreaEvent event) {
    if (OnEvent) OnEvent(event);
}

}  // namespace ui
