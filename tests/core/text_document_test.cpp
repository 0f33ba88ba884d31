// The document's editing rules that no other test reaches: the caret's column over rows of
// two-byte characters.

#include "core/text_view.h"
#include "memory_page_file.h"
#include "whole_layout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Up and Down keep to the column the caret came from: a row whose character would be split at
// that column lands after it, and the next row returns to the column.
TEST(TextDocument, UpAndDownKeepTheColumnTheCaretCameFrom) {
    core::TextDocument document;
    core::TextView view(document);
    view.SetSize(40, 10);
    const std::string ascii = "abcdefghij\r\n";
    const std::string wide = "\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\r\n";  // あああああ
    document.SetText(ascii + wide + ascii + ascii);
    document.Select(5, 5);
    const std::size_t expected[] = {ascii.size() + 6, ascii.size() + wide.size() + 5,
                                    2 * ascii.size() + wide.size() + 5};
    for (std::size_t offset : expected) {
        document.Move(core::CaretStep::Down, false, 10);
        EXPECT_EQ(offset, document.Caret());
    }
    document.Move(core::CaretStep::Up, false, 10);
    document.Move(core::CaretStep::Up, false, 10);
    EXPECT_EQ(ascii.size() + 6, document.Caret());
    document.Move(core::CaretStep::Left, false, 10);
    document.Move(core::CaretStep::Up, false, 10);
    EXPECT_EQ(4u, document.Caret()) << "a step sideways sets the column anew";
}

// The user hears once that the text area is full and once that old lines left it, however often
// they leave; a text set anew may be told again.
TEST(TextDocument, EachNoticeIsGivenOnceForAText) {
    core::StoreLimits limits;
    limits.blockTargetBytes = 64;
    limits.blockMostBytes = 80;
    limits.residentBytes = 100;
    limits.memoryBytes = 1000;
    core::TextDocument document({}, limits);  // no page file: the text stays in memory
    core::TextNotices heard;
    int dropped = 0;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 200; ++i) {
            document.Append("line of text " + std::to_string(i) + "\r\n");
            const core::TextNotices notices = document.TakeNotices();
            heard.full = heard.full || notices.full;
            dropped += notices.linesDropped ? 1 : 0;
        }
        EXPECT_TRUE(heard.full);
        EXPECT_EQ(round + 1, dropped) << "round " << round;
        document.SetText("again\r\n");
    }
    EXPECT_GT(document.Store().DroppedBytes(), 2000u) << "lines left many times";
}

// A Clear is taken back by Undo, the cleared text before what arrived since, the rows as if it had
// never gone; an edit after the Clear, and lines leaving a full text, end the chance.
TEST(TextDocument, UndoTakesBackAClearUntilTheNextEdit) {
    for (const bool paging : {false, true}) {
        core::StoreLimits limits;
        limits.blockTargetBytes = 8;
        limits.blockMostBytes = 12;
        limits.residentBytes = 16;
        core::TextDocument document(
            paging ? core::TextStore::PageFileOpener([] { return std::make_unique<testing_support::MemoryPageFile>(); })
                   : core::TextStore::PageFileOpener(),
            limits);
        core::TextView view(document);
        view.SetSize(6, 3);
        const std::string cleared = "first line\r\nsecond line without end";
        view.Append(cleared);
        document.ClearForUndo();
        EXPECT_EQ("", document.Text());
        view.Append("\r\nnew");
        ASSERT_TRUE(document.CanUndo());
        ASSERT_TRUE(document.Undo());
        EXPECT_EQ(cleared + "\r\nnew", document.Text());
        EXPECT_EQ(document.Size(), document.Caret()) << "the caret stays with the newest text";
        EXPECT_FALSE(document.CanUndo());
        while (view.Refine(64)) {
        }
        testing_support::WholeLayout whole;
        whole.Reset(document.Text(), 6);
        ASSERT_EQ(whole.RowCount(), view.RowCount());
        for (std::size_t i = 0; i < whole.RowCount(); ++i) EXPECT_EQ(whole.Row(i).start, view.RowAtIndex(i).start);

        document.ClearForUndo();
        document.Type('x');
        EXPECT_TRUE(document.Undo()) << "undoes the typing";
        EXPECT_EQ("", document.Text()) << "the cleared text is gone for good";
    }
}

// A load taken back leaves the text as it was: the added bytes go, the caret that followed them
// comes back to the end, and an earlier edit can still be undone.
TEST(TextDocument, TakingBackAnAdditionLeavesTheTextAsItWas) {
    core::TextDocument document;
    document.SetText("kept\r\n");
    document.Select(4, 4);
    document.ReplaceSelection("!");
    const std::size_t before = document.Size();
    document.Append("loaded line\r\n");
    document.TakeBackFrom(before);
    EXPECT_EQ("kept!\r\n", document.Text());
    EXPECT_EQ(before, document.Caret());
    document.TakeBackFrom(before + 10);
    EXPECT_EQ(before, document.Size()) << "nothing beyond the end to take";
    EXPECT_TRUE(document.Undo());
    EXPECT_EQ("kept\r\n", document.Text());
}

}  // namespace
