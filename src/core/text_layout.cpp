#include "core/text_layout.h"

#include "core/sjis_boundary.h"

#include <algorithm>

namespace core {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

int CellInRow(std::string_view text, TextRow row, std::size_t offset) {
    int cell = 0;
    for (std::size_t at = row.start; at < std::min(offset, row.end); at += CharacterLength(text, at)) {
        cell += CellsOf(text, at, cell);
    }
    return cell;
}

std::size_t OffsetAtHalfCell(std::string_view text, TextRow row, int halfCells) {
    int cell = 0;
    for (std::size_t at = row.start; at < row.end; at += CharacterLength(text, at)) {
        const int cells = CellsOf(text, at, cell);
        if (halfCells < 2 * cell + cells) return at;
        cell += cells;
    }
    return row.end;
}

Boundaries::Boundaries(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at)) starts_.push_back(at);
    starts_.push_back(text.size());
}

std::size_t Boundaries::Before(std::size_t offset) const {
    const auto at = std::lower_bound(starts_.begin(), starts_.end(), offset);
    return at == starts_.begin() ? 0 : *(at - 1);
}

std::size_t NextBoundary(std::string_view text, std::size_t offset) {
    return offset >= text.size() ? text.size() : offset + CharacterLength(text, offset);
}

TextRow WordAround(std::string_view text, const Boundaries& boundaries, std::size_t offset) {
    const auto kindAt = [&](std::size_t at) {
        if (at >= text.size() || text[at] == '\r' || text[at] == '\n') return 0;  // no word
        return IsBlank(text[at]) ? 1 : 2;
    };
    const int kind = kindAt(offset);
    if (kind == 0) return {offset, offset};
    std::size_t start = offset;
    while (start > 0) {
        const std::size_t before = boundaries.Before(start);
        if (kindAt(before) != kind) break;
        start = before;
    }
    std::size_t end = offset;
    while (end < text.size() && kindAt(end) == kind) end = NextBoundary(text, end);
    return {start, end};
}

std::size_t NextWordStart(std::string_view text, const Boundaries& boundaries, std::size_t offset) {
    if (offset >= text.size()) return text.size();
    if (text[offset] == '\r' || text[offset] == '\n') return NextBoundary(text, offset);
    std::size_t at = IsBlank(text[offset]) ? offset : WordAround(text, boundaries, offset).end;
    while (at < text.size() && IsBlank(text[at])) at = NextBoundary(text, at);
    return at;
}

std::size_t PreviousWordStart(std::string_view text, const Boundaries& boundaries, std::size_t offset) {
    std::size_t at = offset;
    while (at > 0) {
        const std::size_t before = boundaries.Before(at);
        if (!IsBlank(text[before])) break;
        at = before;
    }
    if (at == 0) return 0;
    const std::size_t before = boundaries.Before(at);
    // Spaces at a line's start stop at the line's start; otherwise the step goes over the break.
    if (text[before] == '\r' || text[before] == '\n') return at != offset ? at : before;
    return WordAround(text, boundaries, before).start;
}

}  // namespace core
