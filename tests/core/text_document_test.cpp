// The document's editing rules that no other test reaches: the caret's column over rows of
// two-byte characters.

#include "core/text_view.h"

#include <gtest/gtest.h>

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
