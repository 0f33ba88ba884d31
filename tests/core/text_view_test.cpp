// What the text area shows: the top, the rows on the screen, scrolling and the caret against the
// whole text laid out at once, and when arriving text takes the view to the end.

#include "core/text_layout.h"
#include "core/text_view.h"
#include "memory_page_file.h"
#include "whole_layout.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

namespace {

using core::TextRow;

std::string RandomText(std::mt19937& random, std::size_t pieces) {
    static const char* const kPieces[] = {"ab", "c", " ", "\r\n", "\x83\x41", "\x88\x9F", "\t", "xyz "};
    std::string text;
    for (std::size_t i = 0; i < pieces; ++i) text += kPieces[random() % std::size(kPieces)];
    return text;
}

struct Screen {
    Screen(int columns, int rows)
        : document([] { return std::make_unique<testing_support::MemoryPageFile>(); },
                   testing_support::SmallPagedBlocks()),
          view(document),
          columns(columns),
          rows(rows) {
        view.SetSize(columns, rows);
    }
    testing_support::WholeLayout Whole() {
        testing_support::WholeLayout whole;
        whole.Reset(document.Text(), columns);
        return whole;
    }
    // The view shows the rows of the whole layout from its top, and never starts past the top that
    // shows the last row at the bottom.
    void ExpectSound(const std::string& when) {
        const testing_support::WholeLayout whole = Whole();
        const std::size_t top = whole.RowOf(view.Top());
        ASSERT_EQ(whole.Row(top).start, view.Top()) << when << ": the top starts a row";
        const std::size_t lastTop = whole.RowCount() > static_cast<std::size_t>(rows) ? whole.RowCount() - rows : 0;
        ASSERT_LE(top, lastTop) << when;
        const std::vector<TextRow>& shown = view.ShownRows();
        ASSERT_EQ(shown.size(), std::min<std::size_t>(rows + 1, whole.RowCount() - top)) << when;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            ASSERT_EQ(shown[i].start, whole.Row(top + i).start) << when << " row " << i;
            ASSERT_EQ(shown[i].end, whole.Row(top + i).end) << when << " row " << i;
        }
    }
    bool CaretShown() {
        const core::CaretPlace caret = view.Caret();
        return caret.row >= 0 && caret.row < rows;
    }

    core::TextDocument document;
    core::TextView view;
    int columns;
    int rows;
};

// Random scrolling, resizing, caret steps and arriving text, in tiny blocks of which some are
// paged out, keep the view on the rows of the whole layout; the caret is brought on the screen.
TEST(TextView, ScrollsOverTheRowsOfTheWholeLayout) {
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        Screen screen(1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 6));
        screen.document.SetText(RandomText(random, random() % 80));
        for (int step = 0; step < 30; ++step) {
            std::string when = "round " + std::to_string(round) + " step " + std::to_string(step);
            const unsigned action = random() % 7;
            when += " action " + std::to_string(action);
            switch (action) {
            case 0: screen.view.ScrollRows(static_cast<long long>(random() % 9) - 4); break;
            case 1: screen.view.ScrollToRowIndex(random() % 40); break;
            case 2: screen.view.ScrollTo(random() % (screen.document.Size() + 2)); break;
            case 3: screen.view.Append(RandomText(random, random() % 6)); break;
            case 4:
                screen.columns = 1 + static_cast<int>(random() % 12);
                screen.rows = 1 + static_cast<int>(random() % 6);
                screen.view.SetSize(screen.columns, screen.rows);
                break;
            case 5:
                screen.document.Select(0, random() % (screen.document.Size() + 1));
                screen.view.ScrollCaretIntoView();
                ASSERT_TRUE(screen.CaretShown()) << when;
                break;
            default: screen.view.Centre(random() % (screen.document.Size() + 1)); break;
            }
            screen.ExpectSound(when);
        }
    }
}

// Arriving text takes the caret and the view to the end; held by any reason, the view and the
// selection stay on the text they showed, and the end is followed again once every hold is gone.
TEST(TextView, ArrivingTextFollowsTheEndUnlessHeld) {
    Screen screen(10, 3);
    std::string lines;
    for (int i = 0; i < 20; ++i) lines += "line " + std::to_string(i) + "\r\n";
    screen.view.Append(lines);
    EXPECT_TRUE(screen.view.AtEnd());
    EXPECT_EQ(screen.document.Caret(), screen.document.Size());
    screen.view.ScrollToRowIndex(2);
    screen.document.Select(2, 4);
    const std::size_t top = screen.view.Top();
    screen.view.Hold(core::ViewHold::ScrollLock, true);
    screen.view.Hold(core::ViewHold::Search, true);
    screen.view.Append("more\r\n");
    screen.view.Hold(core::ViewHold::ScrollLock, false);
    screen.view.Append("more\r\n");
    EXPECT_EQ(top, screen.view.Top());
    EXPECT_EQ(2u, screen.document.Selected().start);
    EXPECT_EQ(4u, screen.document.Selected().end);
    screen.view.Hold(core::ViewHold::Search, false);
    screen.view.Append("last");
    EXPECT_TRUE(screen.view.AtEnd());
    EXPECT_EQ(screen.document.Caret(), screen.document.Size());
}

// A view at the end keeps the last line at the bottom when it grows, narrows or widens, as long as
// there is text above to fill it; a view elsewhere keeps its top row's text.
TEST(TextView, AViewAtTheEndStaysThereAcrossResizes) {
    Screen screen(12, 3);
    for (int i = 0; i < 30; ++i) screen.view.Append("row " + std::to_string(i) + " of text\r\n");
    const int sizes[][2] = {{12, 10}, {5, 10}, {40, 25}, {40, 200}, {12, 4}};
    for (const auto& size : sizes) {
        screen.columns = size[0];
        screen.rows = size[1];
        screen.view.SetSize(size[0], size[1]);
        EXPECT_TRUE(screen.view.AtEnd());
        const testing_support::WholeLayout whole = screen.Whole();
        const std::size_t expectedTop =
            whole.RowCount() > static_cast<std::size_t>(size[1]) ? whole.RowCount() - size[1] : 0;
        EXPECT_EQ(whole.Row(expectedTop).start, screen.view.Top()) << size[0] << "x" << size[1];
    }
    screen.view.ScrollToRowIndex(3);
    const std::size_t top = screen.view.Top();
    screen.view.SetSize(12, 8);
    EXPECT_EQ(top, screen.view.Top());
}

// The top stays on its text when bytes before it are edited and moves back with dropped lines.
TEST(TextView, TheTopFollowsEditsBeforeIt) {
    Screen screen(20, 2);
    screen.view.Append("first\r\nsecond\r\nthird\r\nfourth\r\n");
    screen.view.ScrollTo(15);  // "third"
    screen.document.Select(0, 5);
    screen.document.ReplaceSelection("1st line");
    EXPECT_EQ("third", screen.document.Read(screen.view.Top(), screen.view.Top() + 5));
    screen.document.Select(0, 0);
    screen.document.ReplaceSelection("\r\n\r\n");
    EXPECT_EQ("third", screen.document.Read(screen.view.Top(), screen.view.Top() + 5));
}

}  // namespace
