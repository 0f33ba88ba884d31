// Painting the rows the view shows: every character on its own cells, whatever width the font's
// glyph has, and every pixel drawn once, each row with its background, so nothing flickers.
#include "ui/memo.h"

#include "ui/device_context.h"

#include "core/shown_glyph.h"

#include <algorithm>
#include <string>
#include <vector>

namespace ui {
namespace {

constexpr int kLeftMargin = 2;

struct RowPainter {
    HDC dc;
    int cellWidth;
    int lineHeight;
    MemoColors colors;

    // Draws [from, to) of `bytes` from `cell` on; returns the cell after it.
    int DrawRun(std::string_view bytes, std::size_t from, std::size_t to, int cell, int y, bool selected) const {
        if (from >= to) return cell;
        std::string run;
        std::vector<INT> advances;
        run.reserve(to - from);
        advances.reserve(to - from);
        const int firstCell = cell;
        for (std::size_t at = from; at < to;) {
            const int cells = core::CellsOf(bytes, at, cell);
            const std::size_t length = core::CharacterLength(bytes, at);
            const std::string glyph = core::ShownGlyph(bytes, at, length);
            run += glyph;
            // A two-byte character takes its cells at its first byte; marks take a cell each.
            const bool pair = glyph.size() == 2 && glyph[0] != core::kNoGlyphMark;
            advances.push_back((pair || glyph.size() == 1 ? cells : 1) * cellWidth);
            if (glyph.size() == 2) advances.push_back(pair ? 0 : cellWidth);
            cell += cells;
            at += length;
        }
        SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : colors.text);
        SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : colors.background);
        const RECT box{kLeftMargin + firstCell * cellWidth, y, kLeftMargin + cell * cellWidth, y + lineHeight};
        // The text's Shift_JIS bytes go to the font's Shift_JIS character set whatever the code page.
        ExtTextOutA(dc, box.left, y, ETO_OPAQUE | ETO_CLIPPED, &box, run.data(), static_cast<UINT>(run.size()),
                    advances.data());
        return cell;
    }

    // Returns the right edge of what it drew.
    int PaintRow(std::string_view bytes, std::size_t base, core::TextRow row, int y, core::TextSelection shown) const {
        const std::size_t start = row.start - base;
        const std::size_t selectedFrom = std::clamp(shown.start, row.start, row.end) - base;
        const std::size_t selectedTo = std::clamp(shown.end, row.start, row.end) - base;
        int cell = DrawRun(bytes, start, selectedFrom, 0, y, false);
        cell = DrawRun(bytes, selectedFrom, selectedTo, cell, y, true);
        cell = DrawRun(bytes, selectedTo, row.end - base, cell, y, false);
        return kLeftMargin + cell * cellWidth;
    }
};

}  // namespace

void Memo::Paint() {
    DrawStaleScrollBar();
    PaintDC target(Handle());
    const HDC dc = target.get();
    RECT client{};
    GetClientRect(Handle(), &client);
    SelectedObject fontSelected(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FIXED_FONT));
    const RECT leftMargin{0, 0, kLeftMargin, client.bottom};
    FillRect(dc, &leftMargin, brush_.get());
    // Like the system's text area, the selection shows while the control has the focus, and while
    // the user reads back matches from the Find dialog.
    const core::TextSelection shown = focused_ || heldForSearch_ ? document_.Selected() : core::TextSelection{};
    const std::vector<core::TextRow> rows = view_.ShownRows();
    const std::size_t base = rows.front().start;
    const std::string bytes = document_.Read(base, rows.back().end + 2);
    const RowPainter painter{dc, cellWidth_, lineHeight_, colors_};
    int y = 0;
    for (const core::TextRow& row : rows) {
        const RECT rest{painter.PaintRow(bytes, base, row, y, shown), y, client.right, y + lineHeight_};
        FillRect(dc, &rest, brush_.get());
        y += lineHeight_;
    }
    const RECT below{kLeftMargin, y, client.right, client.bottom};
    if (below.top < below.bottom) FillRect(dc, &below, brush_.get());
}

}  // namespace ui
