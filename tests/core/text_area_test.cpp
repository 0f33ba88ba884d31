#include "core/text_area.h"
#include "core/text_mode.h"
#include "text_for_added_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using core::EndsWithLineBreak;
using testing_support::TextForAddedLines;

// Only CR LF counts as a line break at the end of the text.
TEST(EndsWithLineBreak, IsTrueOnlyForCrLf) {
    EXPECT_TRUE(EndsWithLineBreak("abc\r\n"));
    EXPECT_TRUE(EndsWithLineBreak("\r\n"));
    EXPECT_FALSE(EndsWithLineBreak(""));
    EXPECT_FALSE(EndsWithLineBreak("abc\n"));
    EXPECT_FALSE(EndsWithLineBreak("abc\r"));
    EXPECT_FALSE(EndsWithLineBreak("\n\r"));
}

struct AddLinesCase {
    const char* behaviour;
    std::string tail;
    std::vector<std::string> lines;
    std::string appended;
};

// A line after an empty text or a line break gets its break after it; after text, before it, and
// the last line added after text ends with a break as well.
const AddLinesCase kAddLinesCases[] = {
    {"empty area: line then break", "", {"abc"}, "abc\r\n"},
    {"after a break: line then break", "\r\n", {"abc"}, "abc\r\n"},
    {"after text: break, line, break", "yz", {"abc"}, "\r\nabc\r\n"},
    {"after a lone LF (a character of its line): break, line, break", "z\n", {"abc"}, "\r\nabc\r\n"},
    {"a one-byte text is its own tail", "z", {"abc"}, "\r\nabc\r\n"},
    {"an empty line after text leaves the text at a line start", "z", {"", "abc"}, "\r\nabc\r\n"},
    {"lines in a row after a break", "\r\n", {"a", "b"}, "a\r\nb\r\n"},
    {"lines in a row after text end with a break of their own", "z", {"a", "b"}, "\r\na\r\nb\r\n"},
    {"a line ending in CR LF after text puts the next at a line start", "z", {"a\r\n", "b"}, "\r\na\r\nb\r\n"},
    {"a line's own LF is kept and does not break it", "", {"a\n", "b\n"}, "a\n\r\nb\n\r\n"},
    {"no lines add nothing", "z", {}, ""},
};

TEST(TextForAddedLines, PlacesEachLineBreakByWhatTheTextEndsWith) {
    for (const AddLinesCase& c : kAddLinesCases) {
        SCOPED_TRACE(c.behaviour);
        EXPECT_EQ(TextForAddedLines(c.tail, c.lines), c.appended);
    }
}

}  // namespace

TEST(AddedLines, AFileInChunksGivesTheTextOfItsLinesAddedWhole) {
    // Random files, cut into random chunks, with lines longer than what is held: the text equals
    // the one for the whole file's lines, and saving it in pieces equals saving it whole.
    std::mt19937 random(11);
    const std::string bytes[] = {"a",    "\x82\xA0",           "\n", "\n", "\r",
                                 "\r\n", std::string(1, '\0'), " ",  "\t", "abcdefghij"};
    for (int round = 0; round < 300; ++round) {
        std::string file;
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            file += bytes[random() % std::size(bytes)];
        }
        if (random() % 8 == 0) file.insert(random() % (file.size() + 1), "\x1A");
        const std::string tail = std::vector<std::string>{"", "x", "\r\n", "a\n"}[random() % 4];

        core::LineReader reader;
        reader.Feed(file);
        reader.Finish();
        const std::string expected = TextForAddedLines(tail, reader.TakeLines());

        core::AddedLines added(tail, 1 + random() % 6);
        std::string got;
        for (std::size_t at = 0; at < file.size();) {
            // Small pieces, or the rest at once, where whole lines lie within a piece.
            const std::size_t piece = random() % 4 == 0 ? file.size() : 1 + random() % 7;
            if (!added.Feed(std::string_view(file).substr(at, piece))) break;
            added.MoveTo(got);
            at += piece;
        }
        added.Finish();
        added.MoveTo(got);
        ASSERT_EQ(got, expected) << "round " << round;

        std::string savedInPieces;
        for (std::size_t at = 0; at < got.size(); at += 5) {
            savedInPieces += core::EncodeForSave(std::string_view(got).substr(at, 5), at > 0 && got[at - 1] == '\r');
        }
        ASSERT_EQ(savedInPieces, core::EncodeForSave(got)) << "round " << round;
    }
}
