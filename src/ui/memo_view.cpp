// The text area's screen: the font's cell, the size of the view in cells and rows, the scroll bar,
// the caret and hit testing. What the view shows is the core's; this is only where it meets Win32.
#include "ui/memo.h"

#include "ui/device_context.h"
#include "ui/memo_accessibility.h"
#include "ui/work_progress.h"

#include <imm.h>

#include <algorithm>
#include <climits>

namespace ui {
namespace {

constexpr int kLeftMargin = 2;
constexpr int kRightMargin = 2;
constexpr ULONGLONG kScrollBarDrawInterval = 250;
// Rows not yet laid out at the width are laid out in slices of a few milliseconds, many times a
// second while the program is otherwise idle, so that a resize of a text of gigabytes stays instant.
// A slice is bounded in time, not in bytes: a receive tick that falls due while it runs waits for
// it, and on a slow or busy machine a megabyte took tens of milliseconds (text beyond what is kept
// in memory is read back from the page file first).
constexpr UINT kRefineInterval = 15;
constexpr double kRefineSliceMs = 4;
constexpr std::size_t kRefineStepBytes = 128u << 10;
// While the user drags the window's border or steps the text size, each step lays out only the view;
// the background layout waits until the steps have paused this long. Slices run between the steps
// made the next one take about twice as long under Wine.
constexpr ULONGLONG kRefinePauseAfterLayout = 250;

}  // namespace

void Memo::MeasureFont() {
    WindowDC dc(Handle());
    SelectedObject font(dc.get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    SIZE cell{};
    GetTextExtentPoint32W(dc.get(), L"0", 1, &cell);
    cellWidth_ = std::max(1, static_cast<int>(cell.cx));
    lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight));
}

void Memo::LayOutAgain() {
    RECT client{};
    GetClientRect(Handle(), &client);
    laidOutClient_ = {client.right - client.left, client.bottom - client.top};
    const int width = client.right - client.left - kLeftMargin - kRightMargin;
    view_.SetSize(width / cellWidth_, VisibleRows());
    refineAfter_ = GetTickCount64() + kRefinePauseAfterLayout;
    ViewMoved();
}

int Memo::VisibleRows() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return std::max(1, static_cast<int>(client.bottom - client.top) / lineHeight_);
}

void Memo::ViewMoved() {
    UpdateScrollBar();
    PlaceCaret();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void Memo::UpdateScrollBar() {
    // The scroll bar takes its new range at once but is drawn with the next paint: drawing it takes
    // milliseconds, and reception may change it several times before the window is painted.
    SetScrollBar(false);
    scrollBarStale_ = true;
    if (!refineTimer_.Running() && !view_.Exact()) refineTimer_.Start(kRefineInterval);
}

void Memo::SetScrollBar(bool redraw) {
    const core::ScrollFigures figures = view_.Figures();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = static_cast<int>(std::min<std::size_t>(figures.rows - 1, INT_MAX));
    info.nPage = static_cast<UINT>(figures.page);
    info.nPos = static_cast<int>(std::min<std::size_t>(figures.top, INT_MAX));
    SetScrollInfo(Handle(), SB_VERT, &info, redraw ? TRUE : FALSE);
}

void Memo::RefineSome() {
    if (backgroundLayoutHeld_ || GetTickCount64() < refineAfter_) return;
    const double started = MillisecondsNow();
    bool more = true;
    while (more && MillisecondsNow() - started < kRefineSliceMs) more = view_.Refine(kRefineStepBytes);
    if (!more) refineTimer_.Stop();
    SetScrollBar(false);
    scrollBarStale_ = true;
    DrawStaleScrollBar();
}

void Memo::DrawStaleScrollBar() {
    if (!scrollBarStale_) return;
    // Drawing the scroll bar costs several milliseconds under Wine, as much as the rows: while text
    // streams in it is drawn a few times a second, not at every paint.
    const ULONGLONG now = GetTickCount64();
    if (now - scrollBarDrawnAt_ < kScrollBarDrawInterval) {
        if (!scrollBarTimer_.Running()) {
            scrollBarTimer_.Start(static_cast<UINT>(kScrollBarDrawInterval - (now - scrollBarDrawnAt_)));
        }
        return;
    }
    SetScrollBar(true);
    scrollBarStale_ = false;
    scrollBarDrawnAt_ = now;
}

void Memo::PrepareFrame() {
    // A resize draws the frame, scroll bar and all, before the text area hears of its new size: the
    // rows are laid out for it first, so that the bar is drawn once, with its new range, instead of
    // once with the old one and again with the next paint.
    RECT client{};
    GetClientRect(Handle(), &client);
    const SIZE size{client.right - client.left, client.bottom - client.top};
    if (size.cx > 0 && size.cy > 0 && (size.cx != laidOutClient_.cx || size.cy != laidOutClient_.cy)) LayOutAgain();
    if (!scrollBarStale_) return;
    SetScrollBar(false);
    scrollBarStale_ = false;
    scrollBarDrawnAt_ = GetTickCount64();
}

void Memo::PlaceCaret() {
    // Built before the accessibility parts while the control is made.
    if (accessibility_) accessibility_->SelectionChanged();
    if (!focused_) return;
    const core::CaretPlace caret = view_.Caret();
    SetCaretPos(kLeftMargin + caret.cell * cellWidth_, caret.row * lineHeight_);
    if (accessibility_) accessibility_->CaretPlaced();
    if (composing_) PlaceInputMethodWindow();
}

void Memo::PlaceInputMethodWindow() {
    // Text being composed with an input method shows at the caret, in the text area's font.
    HIMC context = ImmGetContext(Handle());
    if (!context) return;
    POINT caret{};
    GetCaretPos(&caret);
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = caret;
    ImmSetCompositionWindow(context, &form);
    // In the wide form, so that the face name does not pass through the system's code page.
    LOGFONTW font{};
    if (font_ && GetObjectW(font_, sizeof font, &font) == sizeof font) ImmSetCompositionFontW(context, &font);
    ImmReleaseContext(Handle(), context);
}

POINT Memo::CellPoint(int row, int cell) const { return {kLeftMargin + cell * cellWidth_, row * lineHeight_}; }

std::size_t Memo::OffsetAtPoint(POINT point) {
    // Above the top: the row above it; the half cell says which side of a character was hit.
    const int row = point.y < 0 ? -1 : point.y / lineHeight_;
    return view_.OffsetAt(row, 2 * (point.x - kLeftMargin) / cellWidth_);
}

}  // namespace ui
