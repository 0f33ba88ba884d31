// The text area's view: rows laid out for its width and font, scrolling, the caret's place, hit
// testing and painting. The text and its editing are in memo.cpp.
#include "ui/memo.h"

#include "ui/device_context.h"

#include <imm.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace ui {
namespace {

constexpr int kLeftMargin = 2;
constexpr int kRightMargin = 2;
constexpr ULONGLONG kScrollBarDrawInterval = 250;

}  // namespace

void Memo::MeasureFont() {
    WindowDC dc(Handle());
    SelectedObject font(dc.get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    SIZE cell{};
    GetTextExtentPoint32A(dc.get(), "0", 1, &cell);
    cellWidth_ = std::max(1, static_cast<int>(cell.cx));
    lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight));
}

void Memo::LayOutAgain() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const int width = client.right - client.left - kLeftMargin - kRightMargin;
    layout_.Reset(text_, width / cellWidth_);
    topRow_ = std::min(topRow_, LastTopRow());
    UpdateScrollBar();
    PlaceCaret();
    InvalidateRect(Handle(), nullptr, FALSE);
}

int Memo::VisibleRows() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return std::max(1, static_cast<int>(client.bottom - client.top) / lineHeight_);
}

std::size_t Memo::LastTopRow() const {
    const std::size_t visible = static_cast<std::size_t>(VisibleRows());
    return layout_.RowCount() > visible ? layout_.RowCount() - visible : 0;
}

void Memo::ScrollTo(std::size_t topRow) {
    topRow = std::min(topRow, LastTopRow());
    if (topRow == topRow_) return;
    topRow_ = topRow;
    UpdateScrollBar();
    PlaceCaret();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void Memo::ScrollCaretIntoView() {
    const std::size_t row = layout_.RowOf(caret_);
    const std::size_t visible = static_cast<std::size_t>(VisibleRows());
    if (row < topRow_) {
        ScrollTo(row);
    } else if (row >= topRow_ + visible) {
        ScrollTo(row - visible + 1);
    }
}

void Memo::UpdateScrollBar() {
    // The scroll bar takes its new range at once but is drawn with the next paint: drawing it takes
    // milliseconds, and reception may change it several times before the window is painted.
    const SCROLLINFO info = ScrollBarInfo();
    SetScrollInfo(Handle(), SB_VERT, &info, FALSE);
    scrollBarStale_ = true;
    InvalidateRect(Handle(), nullptr, FALSE);
}

SCROLLINFO Memo::ScrollBarInfo() const {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = static_cast<int>(std::min<std::size_t>(layout_.RowCount() - 1, INT_MAX));
    info.nPage = static_cast<UINT>(VisibleRows());
    info.nPos = static_cast<int>(std::min<std::size_t>(topRow_, INT_MAX));
    return info;
}

void Memo::PlaceCaret() {
    if (!focused_) return;
    const std::size_t row = layout_.RowOf(caret_);
    const int cell = core::CellInRow(text_, layout_.Row(row), caret_);
    const long long rowOnScreen = static_cast<long long>(row) - static_cast<long long>(topRow_);
    const int y = static_cast<int>(std::clamp<long long>(rowOnScreen, -1, VisibleRows() + 1)) * lineHeight_;
    SetCaretPos(kLeftMargin + cell * cellWidth_, y);
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

std::size_t Memo::OffsetAtPoint(int x, int y) const {
    const long long row = static_cast<long long>(topRow_) + (y < 0 ? -1 : y / lineHeight_);
    const std::size_t clamped =
        static_cast<std::size_t>(std::clamp<long long>(row, 0, static_cast<long long>(layout_.RowCount()) - 1));
    const int halfCells = std::max(0, 2 * (x - kLeftMargin) / cellWidth_);
    return core::OffsetAtHalfCell(text_, layout_.Row(clamped), halfCells);
}

void Memo::DrawStaleScrollBar() {
    if (!scrollBarStale_) return;
    // Drawing the scroll bar costs several milliseconds under Wine, as much as the rows: while text
    // streams in it is drawn a few times a second, not at every paint.
    const ULONGLONG now = GetTickCount64();
    if (now - scrollBarDrawnAt_ < kScrollBarDrawInterval) {
        if (!scrollBarTimer_) {
            SetTimer(Handle(), kScrollBarTimerId, static_cast<UINT>(kScrollBarDrawInterval - (now - scrollBarDrawnAt_)),
                     nullptr);
            scrollBarTimer_ = true;
        }
        return;
    }
    const SCROLLINFO info = ScrollBarInfo();
    SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
    scrollBarStale_ = false;
    scrollBarDrawnAt_ = now;
}

void Memo::Paint() {
    DrawStaleScrollBar();
    PaintDC target(Handle());
    const HDC dc = target.get();
    RECT client{};
    GetClientRect(Handle(), &client);
    SelectedObject fontSelected(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FIXED_FONT));
    // Every pixel is drawn once, each row with its background, so nothing flickers.
    const RECT leftMargin{0, 0, kLeftMargin, client.bottom};
    FillRect(dc, &leftMargin, brush_.get());
    // Like the system's text area, the selection shows while the control has the focus.
    const Selection shown = focused_ ? Selected() : Selection{0, 0};
    const std::size_t rows = static_cast<std::size_t>(VisibleRows()) + 1;
    int y = 0;
    for (std::size_t row = topRow_; row < layout_.RowCount() && row < topRow_ + rows; ++row, y += lineHeight_) {
        const int rowRight = PaintRow(dc, row, y, shown);
        const RECT rest{rowRight, y, client.right, y + lineHeight_};
        FillRect(dc, &rest, brush_.get());
    }
    const RECT below{kLeftMargin, y, client.right, client.bottom};
    if (below.top < below.bottom) FillRect(dc, &below, brush_.get());
}

int Memo::PaintRow(HDC dc, std::size_t row, int y, Selection shown) {
    const core::TextRow r = layout_.Row(row);
    const std::size_t selectedFrom = std::clamp(shown.start, r.start, r.end);
    const std::size_t selectedTo = std::clamp(shown.end, r.start, r.end);
    int cell = DrawRun(dc, r.start, selectedFrom, 0, y, false);
    cell = DrawRun(dc, selectedFrom, selectedTo, cell, y, true);
    cell = DrawRun(dc, selectedTo, r.end, cell, y, false);
    return kLeftMargin + cell * cellWidth_;
}

int Memo::DrawRun(HDC dc, std::size_t from, std::size_t to, int cell, int y, bool selected) {
    if (from >= to) return cell;
    // Every character is placed on its cells, whatever width the font's glyph has; a tab is drawn
    // as a space that reaches to its stop.
    std::string bytes;
    std::vector<INT> advances;
    bytes.reserve(to - from);
    advances.reserve(to - from);
    const int firstCell = cell;
    for (std::size_t at = from; at < to;) {
        const int cells = core::CellsOf(text_, at, cell);
        const std::size_t length = core::CharacterLength(text_, at);
        bytes += text_[at] == '\t' ? ' ' : text_[at];
        advances.push_back(cells * cellWidth_);
        if (length == 2) {
            bytes += text_[at + 1];
            advances.push_back(0);
        }
        cell += cells;
        at += length;
    }
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : colors_.text);
    SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : colors_.background);
    const RECT box{kLeftMargin + firstCell * cellWidth_, y, kLeftMargin + cell * cellWidth_, y + lineHeight_};
    ExtTextOutA(dc, box.left, y, ETO_OPAQUE | ETO_CLIPPED, &box, bytes.data(), static_cast<UINT>(bytes.size()),
                advances.data());
    return cell;
}

}  // namespace ui
