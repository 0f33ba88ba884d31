// Text for the text area cut where a line would run too long for one addition.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/line_runs.h"

namespace {

std::vector<std::string> Pieces(const std::string& text, std::size_t maxRun) {
    std::vector<std::string> pieces;
    for (const std::string_view piece : core::SplitLongLineRuns(text, maxRun)) pieces.emplace_back(piece);
    return pieces;
}

struct RunCase {
    const char* behaviour;
    std::string text;
    std::size_t maxRun;
    std::vector<std::string> pieces;
};

// Short lines stay together however long the text; a run longer than the limit is cut where it
// reaches the limit, the next piece going on with the same line; a two-byte character is never cut.
TEST(SplitLongLineRuns, CutsOnlyRunsLongerThanTheLimit) {
    const RunCase cases[] = {
        {"nothing", "", 4, {}},
        {"short lines stay one piece", "abc\r\ndef\r\nghi\r\n", 4, {"abc\r\ndef\r\nghi\r\n"}},
        {"a run of exactly the limit", "abcd\nefgh", 4, {"abcd\nefgh"}},
        {"a longer run is cut at the limit", "abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"CR counts, LF ends the run", "abc\r\nabcdef", 4, {"abc\r\nabcd", "ef"}},
        {"a two-byte character goes whole into the next piece", "abc\x82\xA0" "d", 4, {"abc", "\x82\xA0" "d"}},
        {"a character longer than the limit stands alone", "\x82\xA0\x82\xA2", 1, {"\x82\xA0", "\x82\xA2"}},
        {"a first byte at the end counts as one", "abcd\x82", 4, {"abcd", "\x82"}},
    };
    for (const RunCase& c : cases) {
        EXPECT_EQ(Pieces(c.text, c.maxRun), c.pieces) << c.behaviour;
    }
}

// A megabyte of one line becomes pieces of the limit that join to the text again.
TEST(SplitLongLineRuns, PiecesJoinToTheText) {
    std::string text(1'000'000, 'x');
    text += "\r\nend\r\n";
    const std::vector<std::string> pieces = Pieces(text, 4096);
    ASSERT_EQ(pieces.size(), 245u);
    std::string joined;
    for (const std::string& piece : pieces) {
        EXPECT_LE(piece.size(), 4096u + 7u);
        joined += piece;
    }
    EXPECT_EQ(joined, text);
}

}  // namespace
