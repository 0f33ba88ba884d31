// Rows of the word-wrapping text area: where they begin and end, how appends re-lay them out, and
// the caret arithmetic over cells and character boundaries that goes with them.

#include "core/text_layout.h"
#include "whole_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::pair<std::size_t, std::size_t>>;

Rows RowsOf(const testing_support::WholeLayout& layout) {
    Rows rows;
    for (std::size_t i = 0; i < layout.RowCount(); ++i) rows.emplace_back(layout.Row(i).start, layout.Row(i).end);
    return rows;
}

bool IsLead(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool CrLfAt(const std::string& text, std::size_t at) { return text.compare(at, 2, "\r\n") == 0; }

// The character boundaries, walked from the start: CR LF and a first byte with a partner other
// than CR or LF take two bytes, everything else one. Ends with the text's size.
std::vector<std::size_t> Boundaries(const std::string& text) {
    std::vector<std::size_t> out;
    for (std::size_t at = 0; at < text.size();) {
        out.push_back(at);
        // A first byte pairs only with a byte that can close it.
        const auto next = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
        const bool pair = CrLfAt(text, at) || (IsLead(text[at]) && next >= 0x40 && next <= 0xFC && next != 0x7F);
        at += pair ? 2 : 1;
    }
    out.push_back(text.size());
    return out;
}

TEST(TextLayout, LaysOutRows) {
    const struct {
        const char* behaviour;
        std::string text;
        int columns;
        Rows rows;
    } cases[] = {
        {"empty text has one empty row", "", 5, {{0, 0}}},
        {"short line", "abc", 5, {{0, 3}}},
        {"CR LF at the end leaves an empty row", "abc\r\n", 5, {{0, 3}, {5, 5}}},
        {"empty lines", "\r\n\r\n", 5, {{0, 0}, {2, 2}, {4, 4}}},
        {"line exactly as wide as the row", "abc\r\nd", 3, {{0, 3}, {5, 6}}},
        {"wraps after the last space that fits", "aaa bbb ccc", 8, {{0, 8}, {8, 11}}},
        {"long word breaks hard", "abcdefghij", 4, {{0, 4}, {4, 8}, {8, 10}}},
        {"long word first wraps, then breaks", "ab cdefghij", 4, {{0, 3}, {3, 7}, {7, 11}}},
        {"two-byte char moves whole to the next row", "abc\x82\xA0", 4, {{0, 3}, {3, 5}}},
        {"two-byte char wraps at the space", "ab \x82\xA0\x82\xA0", 4, {{0, 3}, {3, 7}}},
        {"one column still takes a two-byte char",
         "\x82\xA0"
         "a\x82\xA0",
         1,
         {{0, 2}, {2, 3}, {3, 5}}},
        {"tab from cell 6 takes 2 cells", "abcdef\tx", 9, {{0, 8}}},
        {"tab filling the row fits", "abcdef\tx", 8, {{0, 7}, {7, 8}}},
        {"wraps after the last tab that fits", "ab\tcd", 9, {{0, 3}, {3, 5}}},
        {"tab that does not fit moves down", "ab\tc", 4, {{0, 2}, {2, 3}, {3, 4}}},
        {"lone CR and LF are characters", "a\rb\nc", 10, {{0, 5}}},
        {"CR before CR LF is a character", "\r\r\n", 10, {{0, 1}, {3, 3}}},
        {"first byte before CR LF stays alone", "a\x88\r\nb", 10, {{0, 2}, {4, 5}}},
        {"first byte before lone LF stays alone", "a\x88\nb", 2, {{0, 2}, {2, 4}}},
        {"overflowing space hangs", "abc d", 3, {{0, 4}, {4, 5}}},
        {"space hangs after the second word", "aaa bbb ccc", 7, {{0, 8}, {8, 11}}},
        {"hanging space at the end adds no row", "abc ", 3, {{0, 4}}},
        {"hanging space before CR LF adds no row", "abc \r\nd", 3, {{0, 4}, {6, 7}}},
    };
    for (const auto& c : cases) {
        testing_support::WholeLayout layout;
        layout.Reset(c.text, c.columns);
        EXPECT_EQ(RowsOf(layout), c.rows) << c.behaviour;
    }
}

// Any character, including the lone first bytes and first-byte-valued second bytes that make
// boundaries hard to find, in random runs.
std::string RandomText(std::mt19937& rng) {
    const auto lead = [&] {
        const int n = static_cast<int>(rng() % 60);
        return char(n < 31 ? 0x81 + n : 0xE0 + n - 31);
    };
    const auto trail = [&] {
        const int n = static_cast<int>(rng() % 188);
        return char(n < 63 ? 0x40 + n : 0x80 + n - 63);
    };
    std::string text;
    for (int n = static_cast<int>(rng() % 80); n > 0; --n) {
        switch (rng() % 10) {
        case 0:
        case 1:
        case 2: text += char('a' + rng() % 26); break;
        case 3:
        case 4: text += ' '; break;
        case 5: text += '\t'; break;
        case 6: text += "\r\n"; break;
        case 7:
            text += lead();
            text += trail();
            break;
        case 8: text += lead(); break;
        default: text += rng() % 2 ? '\r' : '\n'; break;
        }
    }
    return text;
}

// Width in cells of text[from, to) laid out from the row's first cell.
int Cells(const std::string& text, std::size_t from, std::size_t to) {
    const auto bounds = Boundaries(text);
    int cell = 0;
    for (std::size_t k = 0; k + 1 < bounds.size() && bounds[k] < to; ++k) {
        if (bounds[k] >= from)
            cell += text[bounds[k]] == '\t' ? 8 - cell % 8 : static_cast<int>(bounds[k + 1] - bounds[k]);
    }
    return cell;
}

void ExpectSoundRows(const std::string& text, const testing_support::WholeLayout& layout, int columns) {
    const auto bounds = Boundaries(text);
    const auto isBoundary = [&](std::size_t at) { return std::binary_search(bounds.begin(), bounds.end(), at); };
    ASSERT_GE(layout.RowCount(), 1u);
    EXPECT_EQ(layout.Row(0).start, 0u);
    EXPECT_EQ(layout.Row(layout.RowCount() - 1).end, text.size());
    for (std::size_t i = 0; i < layout.RowCount(); ++i) {
        const core::TextRow row = layout.Row(i);
        ASSERT_TRUE(isBoundary(row.start) && isBoundary(row.end) && row.start <= row.end) << "row " << i;
        EXPECT_EQ(layout.RowOf(row.start), i);
        if (i + 1 < layout.RowCount()) {
            EXPECT_EQ(layout.Row(i + 1).start, row.end + (CrLfAt(text, row.end) ? 2 : 0)) << "row " << i;
        }
        // An empty row is a whole empty line.
        if (row.start == row.end) {
            EXPECT_TRUE(row.start == 0 || CrLfAt(text, row.start - 2)) << "row " << i;
            EXPECT_TRUE(row.end == text.size() || CrLfAt(text, row.end)) << "row " << i;
        }
        // Too wide only for a single character or a space hanging at the end.
        std::size_t end = row.end;
        if (Cells(text, row.start, end) > columns && end > row.start && text[end - 1] == ' ' && isBoundary(end - 1))
            --end;
        if (Cells(text, row.start, end) > columns) {
            EXPECT_TRUE(*std::upper_bound(bounds.begin(), bounds.end(), row.start) == end) << "row " << i;
        }
        // Every boundary in the row survives the trip to a cell and back.
        for (auto b = std::lower_bound(bounds.begin(), bounds.end(), row.start); b != bounds.end() && *b <= row.end;
             ++b) {
            EXPECT_EQ(core::OffsetAtHalfCell(text, row, 2 * core::CellInRow(text, row, *b)), *b);
        }
    }
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
        EXPECT_EQ(core::NextBoundary(text, bounds[k]), bounds[k + 1]);
        EXPECT_EQ(core::Boundaries(text).Before(bounds[k + 1]), bounds[k]);
    }
}

// Appending in runs of any length, even between the two bytes of a character or of a CR LF,
// gives the same rows as laying out the whole text.
TEST(TextLayout, ExtendMatchesResetOnRandomAppends) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 rng(seed);
        const std::string text = RandomText(rng);
        const int columns = 1 + static_cast<int>(rng() % 20);
        testing_support::WholeLayout grown;
        grown.Reset("", columns);
        for (std::size_t size = 0; size < text.size();) {
            const std::size_t old = size;
            size = std::min(text.size(), size + 1 + rng() % 9);
            grown.Extend(std::string_view(text).substr(0, size), old);
            testing_support::WholeLayout whole;
            whole.Reset(std::string_view(text).substr(0, size), columns);
            ASSERT_EQ(RowsOf(grown), RowsOf(whole)) << "seed " << seed << " size " << size;
        }
        SCOPED_TRACE(testing::Message() << "seed " << seed << " columns " << columns);
        ExpectSoundRows(text, grown, columns);
        if (HasFatalFailure()) return;
    }
}

// Edits anywhere (typing, deleting, pasting in the middle), laid out again from the first changed
// byte on, give the same rows as laying out the whole text.
TEST(TextLayout, ExtendMatchesResetAfterEditsAnywhere) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 rng(seed);
        std::string text = RandomText(rng);
        const int columns = 1 + static_cast<int>(rng() % 20);
        testing_support::WholeLayout edited;
        edited.Reset(text, columns);
        for (int edit = 0; edit < 20; ++edit) {
            const std::size_t at = text.empty() ? 0 : rng() % (text.size() + 1);
            const std::size_t removed = std::min<std::size_t>(text.size() - at, rng() % 6);
            const std::string inserted = RandomText(rng).substr(0, rng() % 8);
            text.replace(at, removed, inserted);
            edited.Extend(text, at);
            testing_support::WholeLayout whole;
            whole.Reset(text, columns);
            ASSERT_EQ(RowsOf(edited), RowsOf(whole)) << "seed " << seed << " edit " << edit << " at " << at;
        }
    }
}

// A wrap point belongs to the row it starts; the bytes of a CR LF to the row it ends.
TEST(TextLayout, RowOfFindsTheRowShowingAnOffset) {
    const std::string text = "abcdef\r\nxy\r\n";  // rows at 3 columns: abc | def | xy | (empty)
    testing_support::WholeLayout layout;
    layout.Reset(text, 3);
    ASSERT_EQ(RowsOf(layout), (Rows{{0, 3}, {3, 6}, {8, 10}, {12, 12}}));
    const std::pair<std::size_t, std::size_t> cases[] = {{0, 0}, {2, 0}, {3, 1},  {5, 1},  {6, 1},
                                                         {7, 1}, {8, 2}, {10, 2}, {11, 2}, {12, 3}};
    for (const auto& [offset, row] : cases) EXPECT_EQ(layout.RowOf(offset), row) << "offset " << offset;
}

// A wrapped row: its tab is measured from the row's own first cell.
TEST(TextLayout, CellsAndHalfCellClicksOnARow) {
    const std::string text =
        "abcdefghij"
        "a\x82\xA0\tb";  // second row: a あ <tab> b
    testing_support::WholeLayout layout;
    layout.Reset(text, 10);
    ASSERT_EQ(RowsOf(layout), (Rows{{0, 10}, {10, 15}}));
    const core::TextRow row = layout.Row(1);
    const std::pair<std::size_t, int> cells[] = {{10, 0}, {11, 1}, {13, 3}, {14, 8}, {15, 9}};
    for (const auto& [offset, cell] : cells) {
        EXPECT_EQ(core::CellInRow(text, row, offset), cell) << "offset " << offset;
        EXPECT_EQ(core::OffsetAtHalfCell(text, row, 2 * cell), offset) << "offset " << offset;
    }
    // Half cells: a 0-1, あ 2-5, tab 6-15, b 16-17; the right half of a character lands after it.
    const std::pair<int, std::size_t> clicks[] = {{-3, 10}, {1, 11},  {3, 11},  {4, 13}, {5, 13},
                                                  {10, 13}, {11, 14}, {17, 15}, {99, 15}};
    for (const auto& [half, offset] : clicks)
        EXPECT_EQ(core::OffsetAtHalfCell(text, row, half), offset) << "half " << half;
}

// Second bytes that look like first bytes (0x88 0x88, 0xE0 0x9F) must not throw the walk off.
TEST(TextLayout, BoundariesStepOverWholeCharacters) {
    const std::string text =
        "a\r\n\x88\x88\x88\x88"
        "b\x82\x40\xE0\x9F\x81\r\n";
    const std::vector<std::size_t> expected = {0, 1, 3, 5, 7, 8, 10, 12, 13, 15};
    ASSERT_EQ(Boundaries(text), expected);
    for (const int columns : {80, 3, 1}) {
        testing_support::WholeLayout layout;
        layout.Reset(text, columns);
        for (std::size_t k = 0; k + 1 < expected.size(); ++k) {
            EXPECT_EQ(core::NextBoundary(text, expected[k]), expected[k + 1]) << columns;
            EXPECT_EQ(core::Boundaries(text).Before(expected[k + 1]), expected[k]) << columns;
        }
        EXPECT_EQ(core::Boundaries(text).Before(0), 0u);
        EXPECT_EQ(core::NextBoundary(text, text.size()), text.size());
    }
}

TEST(TextLayout, WordAroundTakesWordsOrSpaces) {
    const std::string text =
        "ab\x82\xA0"
        "c \t de\r\nfg";  // ab あ c | ' ' TAB ' ' | de | CR LF | fg
    const struct {
        std::size_t offset;
        std::pair<std::size_t, std::size_t> word;
    } cases[] = {{0, {0, 5}},  {2, {0, 5}},    {4, {0, 5}},    {5, {5, 8}},    {7, {5, 8}},   {8, {8, 10}},
                 {9, {8, 10}}, {10, {10, 10}}, {12, {12, 14}}, {13, {12, 14}}, {14, {14, 14}}};
    for (const int columns : {80, 3}) {
        testing_support::WholeLayout layout;
        layout.Reset(text, columns);
        for (const auto& c : cases) {
            const core::TextRow word = core::WordAround(text, core::Boundaries(text), c.offset);
            EXPECT_EQ(std::make_pair(word.start, word.end), c.word) << "offset " << c.offset << " columns " << columns;
        }
    }
}

// Ctrl+Right goes to the start of the next word, Ctrl+Left to the start of this word or the one
// before; two-byte characters belong to words, and a line break is a stop of its own.
TEST(TextLayout, WordStepsStopAtWordStartsAndLineBreaks) {
    const std::string text = "ab \x8A\xBF\x8E\x9A  cd\r\n  ef";  // ab 漢字  cd / ef
    testing_support::WholeLayout layout;
    layout.Reset(text, 80);
    std::vector<std::size_t> forward{0};
    while (forward.back() < text.size())
        forward.push_back(core::NextWordStart(text, core::Boundaries(text), forward.back()));
    EXPECT_EQ((std::vector<std::size_t>{0, 3, 9, 11, 13, 15, 17}), forward);
    std::vector<std::size_t> back{text.size()};
    while (back.back() > 0) back.push_back(core::PreviousWordStart(text, core::Boundaries(text), back.back()));
    EXPECT_EQ((std::vector<std::size_t>{17, 15, 13, 11, 9, 3, 0}), back);
}

}  // namespace
