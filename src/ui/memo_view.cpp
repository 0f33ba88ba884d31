// The text area's view: rows laid out for its width and font, scrolling, the caret's place, hit
// testing and painting. Everything here looks at the rows on the screen and a few around them.
// The text and its editing are in memo.cpp.
#include "ui/memo.h"

#include "ui/device_context.h"

#include <imm.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace ui {
namespace {

constexpr int kLeftMargin = 2;
constexpr int kRightMargin = 2;
constexpr ULONGLONG kScrollBarDrawInterval = 250;
// Rows not yet laid out at the width are laid out this many bytes at a time, a few times a second
// while the program is otherwise idle, so that a resize of a text of gigabytes stays instant.
constexpr UINT kRefineInterval = 15;
constexpr std::size_t kRefineBytes = 1u << 20;
// While the user drags the window's border or steps the text size, each step lays out only the view;
// the background layout waits until the steps have paused this long. Slices run between the steps
// made the next one take about twice as long under Wine.
constexpr ULONGLONG kRefinePauseAfterLayout = 250;
// Scrolling further than this many rows goes by the row counts, not row by row.
constexpr long long kRowStepsAtMost = 4096;

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
    document_.Rows().SetColumns(width / cellWidth_);
    refineAfter_ = GetTickCount64() + kRefinePauseAfterLayout;
    // The view keeps the text it showed: its top is the row that now holds the old top.
    topOffset_ = document_.Rows().RowAt(topOffset_).start;
    shownRowsStale_ = true;
    UpdateScrollBar();
    PlaceCaret();
    InvalidateRect(Handle(), nullptr, FALSE);
}

int Memo::VisibleRows() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return std::max(1, static_cast<int>(client.bottom - client.top) / lineHeight_);
}

const std::vector<core::TextRow>& Memo::ShownRows() {
    if (!shownRowsStale_) return shownRows_;
    shownRows_.clear();
    core::RowMap& rows = document_.Rows();
    std::optional<core::TextRow> row = rows.RowAt(topOffset_);
    for (int i = 0; row && i <= VisibleRows(); ++i) {
        shownRows_.push_back(*row);
        row = rows.NextRow(*row);
    }
    shownRowsStale_ = false;
    return shownRows_;
}

std::size_t Memo::LastTopOffset() {
    core::RowMap& rows = document_.Rows();
    core::TextRow row = rows.RowAt(document_.Size());
    for (int i = 1; i < VisibleRows(); ++i) {
        const std::optional<core::TextRow> previous = rows.PreviousRow(row);
        if (!previous) break;
        row = *previous;
    }
    return row.start;
}

void Memo::ScrollTo(std::size_t topOffset) {
    topOffset = document_.Rows().RowAt(std::min(topOffset, LastTopOffset())).start;
    if (topOffset == topOffset_) return;
    topOffset_ = topOffset;
    shownRowsStale_ = true;
    UpdateScrollBar();
    PlaceCaret();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void Memo::ScrollRows(long long rows) {
    core::RowMap& map = document_.Rows();
    if (std::llabs(rows) > kRowStepsAtMost) {
        const long long index = static_cast<long long>(map.RowIndexOf(topOffset_)) + rows;
        ScrollTo(map.RowAtIndex(static_cast<std::size_t>(std::max(0LL, index))).start);
        return;
    }
    core::TextRow row = map.RowAt(topOffset_);
    for (long long i = 0; i < std::llabs(rows); ++i) {
        const std::optional<core::TextRow> next = rows > 0 ? map.NextRow(row) : map.PreviousRow(row);
        if (!next) break;
        row = *next;
    }
    ScrollTo(row.start);
}

void Memo::ScrollCaretIntoView() {
    core::RowMap& rows = document_.Rows();
    const core::TextRow caretRow = rows.RowAt(document_.Caret());
    if (caretRow.start < topOffset_) {
        ScrollTo(caretRow.start);
        return;
    }
    const std::vector<core::TextRow>& shown = ShownRows();
    const std::size_t visible = std::min(shown.size(), static_cast<std::size_t>(VisibleRows()));
    for (std::size_t i = 0; i < visible; ++i) {
        if (shown[i].start == caretRow.start) return;
    }
    core::TextRow top = caretRow;
    for (int i = 1; i < VisibleRows(); ++i) {
        const std::optional<core::TextRow> previous = rows.PreviousRow(top);
        if (!previous) break;
        top = *previous;
    }
    ScrollTo(top.start);
}

void Memo::UpdateScrollBar() {
    // The scroll bar takes its new range at once but is drawn with the next paint: drawing it takes
    // milliseconds, and reception may change it several times before the window is painted.
    const SCROLLINFO info = ScrollBarInfo();
    SetScrollInfo(Handle(), SB_VERT, &info, FALSE);
    scrollBarStale_ = true;
    InvalidateRect(Handle(), nullptr, FALSE);
    if (!refineTimer_ && !document_.Rows().Exact()) {
        refineTimer_ = SetTimer(Handle(), kRefineTimerId, kRefineInterval, nullptr) != 0;
    }
}

SCROLLINFO Memo::ScrollBarInfo() {
    core::RowMap& rows = document_.Rows();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = static_cast<int>(std::min<std::size_t>(rows.RowCount() - 1, INT_MAX));
    info.nPage = static_cast<UINT>(VisibleRows());
    info.nPos = static_cast<int>(std::min<std::size_t>(rows.RowIndexOf(topOffset_), INT_MAX));
    return info;
}

void Memo::RefineSome() {
    if (GetTickCount64() < refineAfter_) return;
    // Counts become exact; the rows on the screen are anchored by their offsets and stay.
    const bool more = document_.Rows().Refine(kRefineBytes);
    if (!more) {
        KillTimer(Handle(), kRefineTimerId);
        refineTimer_ = false;
    }
    const SCROLLINFO info = ScrollBarInfo();
    SetScrollInfo(Handle(), SB_VERT, &info, FALSE);
    scrollBarStale_ = true;
    DrawStaleScrollBar();
}

void Memo::PlaceCaret() {
    if (!focused_) return;
    const std::size_t caret = document_.Caret();
    const std::size_t caretRow = document_.Rows().RowAt(caret).start;
    const std::vector<core::TextRow>& shown = ShownRows();
    int rowOnScreen = caretRow < topOffset_ ? -1 : VisibleRows() + 1;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].start == caretRow) rowOnScreen = static_cast<int>(i);
    }
    SetCaretPos(kLeftMargin + document_.CellOf(caret) * cellWidth_, rowOnScreen * lineHeight_);
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

std::size_t Memo::OffsetAtPoint(int x, int y) {
    const std::vector<core::TextRow>& shown = ShownRows();
    core::TextRow row = shown.front();
    if (y < 0) {
        if (const std::optional<core::TextRow> previous = document_.Rows().PreviousRow(row)) row = *previous;
    } else {
        row = shown[std::min(shown.size() - 1, static_cast<std::size_t>(y / lineHeight_))];
    }
    const int halfCells = std::max(0, 2 * (x - kLeftMargin) / cellWidth_);
    return document_.OffsetInRow(row, halfCells);
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

void Memo::PrepareFrame() {
    // A resize draws the frame, scroll bar and all, before the text area hears of its new size: the
    // rows are laid out for it first, so that the bar is drawn once, with its new range, instead of
    // once with the old one and again with the next paint.
    RECT client{};
    GetClientRect(Handle(), &client);
    const SIZE size{client.right - client.left, client.bottom - client.top};
    if (size.cx > 0 && size.cy > 0 && (size.cx != laidOutClient_.cx || size.cy != laidOutClient_.cy)) LayOutAgain();
    if (!scrollBarStale_) return;
    const SCROLLINFO info = ScrollBarInfo();
    SetScrollInfo(Handle(), SB_VERT, &info, FALSE);
    scrollBarStale_ = false;
    scrollBarDrawnAt_ = GetTickCount64();
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
    const core::TextSelection shown = focused_ ? document_.Selected() : core::TextSelection{};
    const std::vector<core::TextRow> rows = ShownRows();
    const std::size_t base = rows.front().start;
    const std::string bytes = document_.Read(base, rows.back().end + 2);
    int y = 0;
    for (const core::TextRow& row : rows) {
        const int rowRight = PaintRow(dc, bytes, base, row, y, shown);
        const RECT rest{rowRight, y, client.right, y + lineHeight_};
        FillRect(dc, &rest, brush_.get());
        y += lineHeight_;
    }
    const RECT below{kLeftMargin, y, client.right, client.bottom};
    if (below.top < below.bottom) FillRect(dc, &below, brush_.get());
}

int Memo::PaintRow(HDC dc, std::string_view bytes, std::size_t base, core::TextRow row, int y,
                   core::TextSelection shown) {
    const core::TextRow r{row.start - base, row.end - base};
    const std::size_t selectedFrom = std::clamp(shown.start, row.start, row.end) - base;
    const std::size_t selectedTo = std::clamp(shown.end, row.start, row.end) - base;
    int cell = DrawRun(dc, bytes, r.start, selectedFrom, 0, y, false);
    cell = DrawRun(dc, bytes, selectedFrom, selectedTo, cell, y, true);
    cell = DrawRun(dc, bytes, selectedTo, r.end, cell, y, false);
    return kLeftMargin + cell * cellWidth_;
}

int Memo::DrawRun(HDC dc, std::string_view bytes, std::size_t from, std::size_t to, int cell, int y, bool selected) {
    if (from >= to) return cell;
    // Every character is placed on its cells, whatever width the font's glyph has; a tab is drawn
    // as a space that reaches to its stop.
    std::string run;
    std::vector<INT> advances;
    run.reserve(to - from);
    advances.reserve(to - from);
    const int firstCell = cell;
    for (std::size_t at = from; at < to;) {
        const int cells = core::CellsOf(bytes, at, cell);
        const std::size_t length = core::CharacterLength(bytes, at);
        run += bytes[at] == '\t' ? ' ' : bytes[at];
        advances.push_back(cells * cellWidth_);
        if (length == 2) {
            run += bytes[at + 1];
            advances.push_back(0);
        }
        cell += cells;
        at += length;
    }
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : colors_.text);
    SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : colors_.background);
    const RECT box{kLeftMargin + firstCell * cellWidth_, y, kLeftMargin + cell * cellWidth_, y + lineHeight_};
    // The text's Shift_JIS bytes go to the font's Shift_JIS character set whatever the code page.
    ExtTextOutA(dc, box.left, y, ETO_OPAQUE | ETO_CLIPPED, &box, run.data(), static_cast<UINT>(run.size()),
                advances.data());
    return cell;
}

}  // namespace ui
