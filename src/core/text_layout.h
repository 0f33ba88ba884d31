// Where the text area's rows begin and end. The text area draws in a fixed-pitch font, so a row's
// width is arithmetic on its bytes: a one-byte character takes one cell, a two-byte character two,
// a tab reaches to the next multiple of eight cells (counted from the row's start). Lines end with
// CR LF; a line longer than the row wraps after its last space that fits, or, with no such space,
// before the character that no longer fits. A row's place depends only on where it starts and on
// the bytes up to a little past its end, which lets the text be laid out a block at a time.
#pragma once

#include "core/sjis_boundary.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace core {

struct TextRow {
    std::size_t start = 0;
    std::size_t end = 0;  // where the row's characters end: before its CR LF, or where it wraps
};

inline bool IsLineBreakAt(std::string_view text, std::size_t offset) {
    return offset + 1 < text.size() && text[offset] == '\r' && text[offset + 1] == '\n';
}

inline constexpr std::size_t kTextEnd = static_cast<std::size_t>(-1);

inline constexpr int kTabCells = 8;

// The length in bytes of the character at `offset`: 2 for a two-byte character or a CR LF, else 1.
// A first byte without a second that may close it (a line break, any other byte that cannot be a
// second byte) stands alone, so that breaks stay breaks and the byte after it shows. Inline: every
// walk over the rows steps by it, a character at a time.
inline std::size_t CharacterLength(std::string_view text, std::size_t offset) {
    if (IsLineBreakAt(text, offset)) return 2;
    const std::size_t length = SjisCharacterLength(text, offset);
    return length == 2 && IsSjisTrailByte(static_cast<unsigned char>(text[offset + 1])) ? 2 : 1;
}

// How many cells a character starting at `offset` takes when it starts at `cell`.
inline int CellsOf(std::string_view text, std::size_t offset, int cell) {
    if (text[offset] == '\t') return kTabCells - cell % kTabCells;
    return static_cast<int>(CharacterLength(text, offset));
}

// The widest row laid out, in cells.
inline constexpr int kMostColumns = 4096;
// How many bytes past the widest row's end ScanRows may look: a row takes at most columns + 2
// bytes and its end looks two bytes further; the rest is room to spare.
inline constexpr std::size_t kRowLookPast = 8;
// How far a change of the bytes reaches back: rows laid out from bytes that end more than this
// before the first changed byte stay as they were.
inline constexpr std::size_t kRowReach = kMostColumns + kRowLookPast;

// Lays out rows of `text` from `at`, which starts a row, and hands each row's start and end to
// `emit`, until a row would start at or after `stopAt`: returns where it starts. Returns kTextEnd
// after the text's last row. With `textEnds` false the bytes after `text` are unknown: the caller
// gives enough bytes after `stopAt` for the row that holds it (a row takes at most columns + 2
// bytes, and its end looks two bytes further).
template <class Emit>
std::size_t ScanRows(std::string_view text, bool textEnds, std::size_t at, std::size_t stopAt, int columns,
                     Emit&& emit) {
    for (;;) {
        if (at >= stopAt) return at;
        const std::size_t rowStart = at;
        std::size_t afterLastSpace = rowStart;
        int cell = 0;
        for (;;) {
            if (at == text.size()) {
                if (!textEnds) return rowStart;
                emit(rowStart, at);
                return kTextEnd;
            }
            if (IsLineBreakAt(text, at)) {
                emit(rowStart, at);
                at += 2;
                break;
            }
            const std::size_t length = CharacterLength(text, at);
            const int cells = text[at] == '\t' ? kTabCells - cell % kTabCells : static_cast<int>(length);
            if (cell + cells > columns && at > rowStart) {
                if (text[at] == ' ') {
                    // A space that no longer fits hangs at the row's end instead of opening the next.
                    ++at;
                    // Where the line ends right after it, the row ends with the line: no empty row.
                    if ((at == text.size() && textEnds) || IsLineBreakAt(text, at)) continue;
                } else if (afterLastSpace > rowStart) {
                    at = afterLastSpace;
                }
                emit(rowStart, at);
                break;
            }
            if (text[at] == ' ' || text[at] == '\t') afterLastSpace = at + 1;
            cell += cells;
            at += length;
        }
    }
}

// The cell at which `offset` stands in its row.
int CellInRow(std::string_view text, TextRow row, std::size_t offset);
// The character boundary in the row nearest to a point `halfCells` half cells from the row's left
// edge (a click on the right half of a character lands after it); the row's end beyond it.
std::size_t OffsetAtHalfCell(std::string_view text, TextRow row, int halfCells);

// The character starts of a text that begins on one, found in one pass, so that stepping back
// over characters costs a search, not a walk from the start.
class Boundaries {
public:
    explicit Boundaries(std::string_view text);
    // The boundary before `offset` (itself a boundary), stepping over a CR LF and a two-byte
    // character whole; 0 at the start.
    std::size_t Before(std::size_t offset) const;

private:
    std::vector<std::size_t> starts_;
};

// The character boundary after `offset` (itself a boundary), stepping over a CR LF and a two-byte
// character whole.
std::size_t NextBoundary(std::string_view text, std::size_t offset);

// The word around `offset` for a double click: a run of characters other than spaces, tabs and
// line breaks, or the run of spaces there.
TextRow WordAround(std::string_view text, const Boundaries& boundaries, std::size_t offset);

// Where Ctrl+Right and Ctrl+Left take the caret: the start of the next word (past the rest of this
// one and the spaces after it), and the start of this word or the one before; a line break is a
// stop of its own.
std::size_t NextWordStart(std::string_view text, const Boundaries& boundaries, std::size_t offset);
std::size_t PreviousWordStart(std::string_view text, const Boundaries& boundaries, std::size_t offset);

}  // namespace core
