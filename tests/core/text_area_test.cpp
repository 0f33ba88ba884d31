#include "core/text_area.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using core::EndsWithLineBreak;
using core::TextForAddedLines;

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

// A line after an empty text or a line break gets its break after it; after text, before it.
const AddLinesCase kAddLinesCases[] = {
    {"empty area: line then break", "", {"abc"}, "abc\r\n"},
    {"after a break: line then break", "\r\n", {"abc"}, "abc\r\n"},
    {"after text: break then line", "yz", {"abc"}, "\r\nabc"},
    {"after a lone LF (a character of its line): break then line", "z\n", {"abc"}, "\r\nabc"},
    {"a one-byte text is its own tail", "z", {"abc"}, "\r\nabc"},
    {"an empty line after text leaves the text at a line start", "z", {"", "abc"}, "\r\nabc\r\n"},
    {"lines in a row after a break", "\r\n", {"a", "b"}, "a\r\nb\r\n"},
    {"lines in a row after text", "z", {"a", "b"}, "\r\na\r\nb"},
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
