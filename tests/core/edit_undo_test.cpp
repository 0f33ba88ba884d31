// The text area's undo: runs of typing, Backspace and Delete taken back as one, the second undo
// putting the edit back, and the program's own additions at the end left alone.

#include "core/edit_undo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using core::EditKind;

// A text with the text area's edit operations over it.
struct Editor {
    explicit Editor(std::string start) : text(std::move(start)) {}

    std::string text;
    core::EditUndo undo;

    void Edit(std::size_t start, std::size_t end, const std::string& bytes, EditKind kind) {
        undo.Note(start, std::string_view(text).substr(start, end - start), bytes.size(), kind);
        text.replace(start, end - start, bytes);
    }
    void Type(std::size_t at, const std::string& bytes) { Edit(at, at, bytes, EditKind::Typing); }
    void Backspace(std::size_t caret) { Edit(caret - 1, caret, "", EditKind::Typing); }
    void Delete(std::size_t caret) { Edit(caret, caret + 1, "", EditKind::Typing); }
    void Append(const std::string& bytes) { text += bytes; }
    bool Undo() {
        const std::optional<core::TextEdit> step = undo.Take();
        if (!step) return false;
        const std::optional<core::TextEdit> redo = core::ReverseOf(text, *step);
        if (!redo) return false;
        text.replace(step->start, step->insertedLength, step->removed);
        undo.Note(redo->start, redo->removed, redo->insertedLength, EditKind::Other);
        return true;
    }
};

TEST(EditUndo, TakesBackARunOfTypingAndPutsItBackOnTheSecondUndo) {
    Editor e{"line\r\n"};
    for (std::size_t i = 0; i < 3; ++i) e.Type(4 + i, std::string(1, "abc"[i]));
    e.Type(7, "\x82\xa0");  // a two-byte character typed on
    ASSERT_EQ(e.text, "lineabc\x82\xa0\r\n");
    ASSERT_TRUE(e.Undo());
    EXPECT_EQ(e.text, "line\r\n");
    ASSERT_TRUE(e.Undo());
    EXPECT_EQ(e.text, "lineabc\x82\xa0\r\n");
}

TEST(EditUndo, TypingOverASelectionBringsTheSelectedTextBack) {
    Editor e{"one two three"};
    e.Edit(4, 7, "T", EditKind::Typing);  // "two" selected, a key typed
    e.Type(5, "W");
    e.Type(6, "O");
    ASSERT_EQ(e.text, "one TWO three");
    e.Undo();
    EXPECT_EQ(e.text, "one two three");
}

TEST(EditUndo, RunsOfBackspaceAndDeleteAreOneEditEach) {
    Editor back{"abcdef"};
    for (std::size_t caret = 5; caret > 2; --caret) back.Backspace(caret);
    ASSERT_EQ(back.text, "abf");
    back.Undo();
    EXPECT_EQ(back.text, "abcdef");

    Editor forward{"abcdef"};
    for (int i = 0; i < 3; ++i) forward.Delete(1);
    ASSERT_EQ(forward.text, "aef");
    forward.Undo();
    EXPECT_EQ(forward.text, "abcdef");

    // Backspace over what was just typed shortens the run; past it, a new run begins.
    Editor mixed{"xy"};
    mixed.Type(1, "1");
    mixed.Type(2, "2");
    mixed.Backspace(3);
    ASSERT_EQ(mixed.text, "x1y");
    mixed.Undo();
    EXPECT_EQ(mixed.text, "xy");
    mixed.Type(1, "1");
    mixed.Backspace(2);
    EXPECT_FALSE(mixed.undo.CanUndo()) << "typing taken back key by key leaves nothing to undo";
    mixed.Backspace(1);
    mixed.Undo();
    EXPECT_EQ(mixed.text, "xy");
}

TEST(EditUndo, AnEditElsewhereOrAPasteEndsTheRun) {
    Editor moved{"0123456789"};
    moved.Type(2, "a");
    moved.Type(3, "b");
    moved.Type(8, "c");  // the caret moved before this key
    moved.Undo();
    EXPECT_EQ(moved.text, "01ab23456789");

    Editor pasted{"0123"};
    pasted.Type(4, "a");
    pasted.Edit(5, 5, "PASTE", EditKind::Other);
    pasted.Type(10, "b");  // typing after a paste is an edit of its own too
    pasted.Undo();
    EXPECT_EQ(pasted.text, "0123aPASTE");
    pasted.Undo();
    EXPECT_EQ(pasted.text, "0123aPASTEb");
}

TEST(EditUndo, TheProgramsAdditionsAtTheEndStay) {
    Editor e{"received\r\n"};
    e.Type(0, ">");
    e.Append("more from the line\r\n");
    e.Type(e.text.size(), "!");  // the caret followed the addition: a new run
    e.Append("and more");
    e.Undo();
    EXPECT_EQ(e.text, ">received\r\nmore from the line\r\nand more");
}

TEST(EditUndo, AStepThatNoLongerFitsTheTextIsRefused) {
    const std::string text = "short";
    EXPECT_FALSE(core::ReverseOf(text, {4, "x", 2}));
    EXPECT_FALSE(core::ReverseOf(text, {6, "", 0}));
    const auto atEnd = core::ReverseOf(text, {5, "", 0});
    EXPECT_TRUE(atEnd && atEnd->removed.empty() && atEnd->insertedLength == 0);
    const auto inside = core::ReverseOf(text, {1, "X", 2});  // "X" became "ho"
    ASSERT_TRUE(inside);
    EXPECT_EQ(1u, inside->start);
    EXPECT_EQ("ho", inside->removed);
    EXPECT_EQ(1u, inside->insertedLength);
}

// Whatever the user does, one undo gives a text the user had before (the one before the last run),
// and a second undo the text as it was.
TEST(EditUndo, UndoAfterRandomEditsGivesAnEarlierTextAndRedoTheLatest) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        Editor e{"start text"};
        std::vector<std::string> history{e.text};
        std::size_t caret = e.text.size();
        const int edits = 1 + static_cast<int>(random() % 25);
        for (int i = 0; i < edits; ++i) {
            const unsigned what = random() % 10;
            if (what < 5) {
                e.Type(caret, std::string(1, static_cast<char>('a' + random() % 26)));
                ++caret;
            } else if (what < 7 && caret > 0) {
                e.Backspace(caret--);
            } else if (what < 8 && caret < e.text.size()) {
                e.Delete(caret);
            } else if (what < 9) {
                const std::size_t from = random() % (e.text.size() + 1);
                const std::size_t to = from + random() % (e.text.size() - from + 1);
                e.Edit(from, to, std::string(random() % 4, 'P'), EditKind::Other);
                caret = from;
            } else {
                caret = random() % (e.text.size() + 1);
            }
            caret = std::min(caret, e.text.size());
            history.push_back(e.text);
        }
        const std::string latest = e.text;
        if (!e.Undo()) continue;
        ASSERT_NE(std::find(history.begin(), history.end(), e.text), history.end())
            << "round " << round << ": undo gave a text never seen: " << e.text;
        ASSERT_TRUE(e.Undo());
        ASSERT_EQ(e.text, latest) << "round " << round;
    }
}

}  // namespace
