// How a screen reader walks the text: unit starts over two-byte characters, words of one class,
// rows and paragraphs across blocks (paged ones among them) against the whole text laid out at
// once, ranges moved by units, text cut at a character, and held spans that follow the text.

#include "core/text_units.h"
#include "memory_page_file.h"
#include "whole_layout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using core::TextUnit;

struct Reader {
    explicit Reader(core::StoreLimits limits = {}, int columns = 40, int rows = 10)
        : document([] { return std::make_unique<testing_support::MemoryPageFile>(); }, limits),
          view(document),
          units(document, view) {
        view.SetSize(columns, rows);
    }
    std::vector<std::size_t> StartsForward(TextUnit unit) {
        std::vector<std::size_t> starts{0};
        while (auto next = units.NextStart(unit, starts.back())) starts.push_back(*next);
        return starts;
    }
    std::vector<std::size_t> StartsBackward(TextUnit unit) {
        std::vector<std::size_t> starts{document.Size()};
        while (auto previous = units.PreviousStart(unit, starts.front())) starts.insert(starts.begin(), *previous);
        return starts;
    }
    core::TextDocument document;
    core::TextView view;
    core::TextUnits units;
};

// A two-byte character and a CR LF are one character each; words are runs of one class (letters,
// blanks, hiragana, katakana, kanji, symbols, a line break), walked the same both ways.
TEST(TextUnits, CharactersAndWordsStepOverWholeCharacters) {
    Reader reader;
    // "ab" "  " "あい" "ア" "漢" "!" CRLF "x"
    reader.document.SetText("ab  \x82\xA0\x82\xA2\x83\x41\x8A\xBF!\r\nx");
    const std::vector<std::size_t> characters{0, 1, 2, 3, 4, 6, 8, 10, 12, 13, 15, 16};
    EXPECT_EQ(characters, reader.StartsForward(TextUnit::Character));
    EXPECT_EQ(characters, reader.StartsBackward(TextUnit::Character));
    const std::vector<std::size_t> words{0, 2, 4, 8, 10, 12, 13, 15, 16};
    EXPECT_EQ(words, reader.StartsForward(TextUnit::Word));
    EXPECT_EQ(words, reader.StartsBackward(TextUnit::Word));
    EXPECT_EQ(4u, reader.units.UnitStart(TextUnit::Character, 5)) << "the second byte belongs to its character";
    EXPECT_EQ(4u, reader.units.UnitStart(TextUnit::Word, 6));
    EXPECT_EQ(15u, reader.units.UnitStart(TextUnit::Word, 16)) << "the end belongs to the last word";
}

// Lines are the rows as shown, across blocks that were paged out; paragraphs end after a line
// break; a page is a screen of rows.
TEST(TextUnits, LinesParagraphsAndPagesFollowTheRows) {
    Reader reader(testing_support::SmallPagedBlocks(), 7, 3);
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "line " + std::to_string(i) + (i % 3 == 0 ? " is long and wraps" : "") + "\r\n";
    reader.document.SetText(text + "end");
    testing_support::WholeLayout whole;
    whole.Reset(reader.document.Text(), 7);
    std::vector<std::size_t> rows, paragraphs{0}, pages;
    for (std::size_t i = 0; i < whole.RowCount(); ++i) {
        rows.push_back(whole.Row(i).start);
        if (i % 3 == 0) pages.push_back(whole.Row(i).start);
    }
    rows.push_back(text.size() + 3);
    pages.push_back(text.size() + 3);
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
        paragraphs.push_back(at + 2);
    }
    paragraphs.push_back(text.size() + 3);
    EXPECT_EQ(rows, reader.StartsForward(TextUnit::Line));
    EXPECT_EQ(rows, reader.StartsBackward(TextUnit::Line));
    EXPECT_EQ(paragraphs, reader.StartsForward(TextUnit::Paragraph));
    EXPECT_EQ(paragraphs, reader.StartsBackward(TextUnit::Paragraph));
    EXPECT_EQ(pages, reader.StartsForward(TextUnit::Page));
    const core::TextSpan paragraph = reader.units.Enclosing(TextUnit::Paragraph, paragraphs[3] + 9);
    EXPECT_EQ(paragraphs[3], paragraph.start);
    EXPECT_EQ(paragraphs[4], paragraph.end);
    const core::TextSpan all = reader.units.Enclosing(TextUnit::Document, 40);
    EXPECT_EQ(0u, all.start);
    EXPECT_EQ(text.size() + 3, all.end);
}

// A range that holds text moves as a whole unit and stops at the last one; an empty range moves as
// a point and may reach the end; a moved end takes the other end with it when it passes it.
TEST(TextUnits, RangesMoveByUnitsAndSayHowFar) {
    Reader reader;
    reader.document.SetText("one\r\ntwo\r\nthree");
    core::TextSpan span{1, 2};
    EXPECT_EQ(1, reader.units.Move(span, TextUnit::Line, 1));
    EXPECT_EQ(5u, span.start);
    EXPECT_EQ(10u, span.end);
    EXPECT_EQ(1, reader.units.Move(span, TextUnit::Line, 5)) << "the last line is as far as it goes";
    EXPECT_EQ(10u, span.start);
    EXPECT_EQ(15u, span.end);
    core::TextSpan point{7, 7};
    EXPECT_EQ(-2, reader.units.Move(point, TextUnit::Line, -4)) << "to its line's start, then the one before";
    EXPECT_EQ(0u, point.end);
    EXPECT_EQ(2, reader.units.Move(point, TextUnit::Paragraph, 2));
    EXPECT_EQ(10u, point.start);
    EXPECT_EQ(1, reader.units.Move(point, TextUnit::Word, 3)) << "an empty range reaches the end";
    EXPECT_EQ(15u, point.start);
    core::TextSpan both{5, 8};
    EXPECT_EQ(-2, reader.units.MoveEnd(both, core::SpanEnd::End, TextUnit::Line, -2));
    EXPECT_EQ(0u, both.start) << "the start followed the end back";
    EXPECT_EQ(0u, both.end);
    EXPECT_EQ(2, reader.units.MoveEnd(both, core::SpanEnd::Start, TextUnit::Character, 2));
    EXPECT_EQ(2u, both.end);
}

// Text handed out is cut at a character's start, never inside a two-byte character.
TEST(TextUnits, ReadingIsCutAtACharacter) {
    Reader reader;
    reader.document.SetText("a\x82\xA0\x82\xA2z");
    EXPECT_EQ("a", reader.units.Read(0, 6, 2));
    EXPECT_EQ("a\x82\xA0", reader.units.Read(0, 6, 3));
    EXPECT_EQ("\x82\xA2z", reader.units.Read(3, 99, 10));
}

// New text is announced as its newest complete lines: an unfinished line waits, and of many lines
// only those that fit are told, from a line's start, or from a character's start for one long line.
TEST(TextUnits, NewestLinesAreWholeLinesThatFit) {
    Reader reader;
    reader.document.SetText("old\r\nfirst\r\nsecond\r\nthi");
    const std::size_t from = 5;
    const core::TextSpan both = reader.units.NewestLines(from, 100);
    EXPECT_EQ("first\r\nsecond\r\n", reader.document.Read(both.start, both.end));
    const core::TextSpan last = reader.units.NewestLines(from, 10);
    EXPECT_EQ("second\r\n", reader.document.Read(last.start, last.end));
    const core::TextSpan none = reader.units.NewestLines(last.end, 10);
    EXPECT_EQ(none.start, none.end) << "the unfinished line waits";
    reader.document.SetText("\x82\xA0\x82\xA0\x82\xA0\x82\xA0\r\n");
    const core::TextSpan cut = reader.units.NewestLines(0, 5);
    EXPECT_EQ("\x82\xA0\r\n", reader.document.Read(cut.start, cut.end)) << "cut at a character";
}

// Held spans follow an edit before them, move back when the oldest lines leave, go to the start
// when the text is cleared, and stay put once detached from a text that goes away.
TEST(TextUnits, HeldSpansFollowTheText) {
    core::StoreLimits limits = testing_support::SmallPagedBlocks();
    limits.memoryBytes = 200;  // and no page file: the oldest lines leave
    core::TextDocument document({}, limits);
    core::HeldSpans held(document.Anchors());
    document.SetText("head\r\nbody\r\n");
    core::TextSpan* span = held.Hold({6, 10});
    document.Select(0, 4);
    document.ReplaceSelection("hi");
    EXPECT_EQ(4u, span->start);
    EXPECT_EQ(8u, span->end);
    core::TextSpan* last = held.Hold({document.Size(), document.Size()});
    const std::size_t lastAt = last->start;
    for (int i = 0; i < 100; ++i) document.Append("line of text " + std::to_string(i) + "\r\n", true);
    document.Select(0, 0);  // dropped bytes are taken into account at the next look
    ASSERT_GT(document.DroppedBytes(), lastAt);
    EXPECT_EQ(0u, span->start) << "its text left: the span went to the front";
    held.LetGo(last);
    document.Clear();
    EXPECT_EQ(0u, span->end);
    document.SetText("again");
    *span = {2, 3};
    held.Detach();
    document.Select(0, 1);
    document.ReplaceSelection("xyz");
    EXPECT_EQ(2u, span->start) << "a detached span no longer follows";
}

}  // namespace
