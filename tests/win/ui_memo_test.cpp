// The text area against a real window: adding, selecting, typing, the clipboard, scrolling, the
// mouse, and what it paints on the screen. The row arithmetic itself is tested on Linux
// (tests/core/text_layout_test.cpp).
#include <gtest/gtest.h>

#include "ui/font.h"
#include "ui/form.h"
#include "ui/memo.h"
#include "ui_test_support.h"

#include <imm.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kSilver = 0x00C0C0C0;
constexpr COLORREF kLime = 0x0000FF00;

struct MemoForm : ui::Form {
    MemoForm() : ui::Form({.caption = "MemoForm", .width = 600, .height = 400}) { Show(); }

    ui::Memo memo{*this,
                  {.bounds = {0, 0, 500, 200},
                   .font = ui::FontDescription{.face = ui::kFixedGothic, .points = 14},
                   .background = kSilver,
                   .textColor = kLime}};
};

class TextArea : public ::testing::Test {
protected:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(form.memo.Handle(), message, wParam, lParam);
    }
    void Type(std::string_view bytes) {
        for (char c : bytes) Send(WM_CHAR, static_cast<unsigned char>(c));
    }
    std::pair<DWORD, DWORD> Selection() {
        DWORD start = 0, end = 0;
        Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    // Where the text area shows the character at `offset` (its left edge, mid-height), learnt from
    // the caret, which the control places there.
    POINT PointOf(DWORD offset) {
        SetFocus(form.memo.Handle());
        Send(EM_SETSEL, offset, offset);
        POINT caret{};
        GetCaretPos(&caret);
        return {caret.x + 1, caret.y + 5};
    }
    int RowHeight() {
        form.memo.SetText("a\r\nb");
        return PointOf(3).y - PointOf(0).y;
    }
    // How many pixels of each colour the text area shows on the screen.
    std::map<COLORREF, int> ColoursOnScreen() {
        UpdateWindow(form.memo.Handle());
        uitest::PumpMessages(50);
        RECT client{};
        GetClientRect(form.memo.Handle(), &client);
        HDC dc = GetDC(form.memo.Handle());
        std::map<COLORREF, int> counts;
        for (int y = 0; y < client.bottom; y += 2) {
            for (int x = 0; x < client.right; x += 2) ++counts[GetPixel(dc, x, y)];
        }
        ReleaseDC(form.memo.Handle(), dc);
        return counts;
    }

    MemoForm form;
};

// Adding puts the bytes at the end whatever is selected, and the text has no 32 KB or 64 KB limit;
// the text reads back the same through the control's messages as through the object.
TEST_F(TextArea, AppendsAtTheEndWithoutLimit) {
    form.memo.SetText("abc\r\ndef");
    Send(EM_SETSEL, 1, 2);
    form.memo.AppendText("\x82\xA0xyz");  // あxyz
    EXPECT_EQ("abc\r\ndef\x82\xA0xyz", form.memo.Text());
    EXPECT_EQ("f\x82\xA0xyz", form.memo.TextTail(6));
    EXPECT_EQ(form.memo.Text(), form.memo.TextTail(1000));
    EXPECT_EQ(std::make_pair(DWORD{13}, DWORD{13}), Selection()) << "the caret stands after the addition";

    std::string big;
    while (big.size() < 100000) big += std::string(78, 'a') + "\r\n";  // 1282 lines, 100 KB
    form.memo.SetText(big);
    form.memo.AppendText("end");
    EXPECT_EQ(static_cast<int>(big.size()) + 3, form.memo.TextLength());
    EXPECT_EQ(static_cast<LRESULT>(big.size() + 3), Send(WM_GETTEXTLENGTH));
    std::string read(big.size() + 4, '\0');
    EXPECT_EQ(static_cast<LRESULT>(big.size() + 3),
              Send(WM_GETTEXT, read.size(), reinterpret_cast<LPARAM>(read.data())));
    read.resize(big.size() + 3);
    EXPECT_TRUE(read == form.memo.Text());
    char small[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(4, Send(WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small))) << "a short buffer gets what fits";
    EXPECT_EQ(std::string("aaaa"), std::string(small));
    EXPECT_GE(static_cast<DWORD>(Send(EM_GETLIMITTEXT)), 0x7FFFFFFEu);
}

// Clear empties the whole text, not only the selection.
TEST_F(TextArea, ClearEmptiesTheWholeText) {
    form.memo.SetText("first line\r\nsecond");
    Send(EM_SETSEL, 0, 3);
    form.memo.Clear();
    EXPECT_EQ("", form.memo.Text());
    EXPECT_EQ(0, form.memo.TextLength());
    EXPECT_EQ(1, Send(EM_GETLINECOUNT));
}

// Lines wrap at the area's width, at a space where there is one and never inside a two-byte
// character; only CR LF ends a line.
TEST_F(TextArea, LinesWrapAtTheWidth) {
    const LONG style = GetWindowLongA(form.memo.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);

    form.memo.SetText("short\r\nline");
    EXPECT_EQ(2, Send(EM_GETLINECOUNT));
    std::string words;
    for (int i = 0; i < 40; ++i) words += "word" + std::to_string(i) + " ";
    form.memo.SetText(words);
    const LRESULT rows = Send(EM_GETLINECOUNT);
    EXPECT_GE(rows, 3) << "a line of " << words.size() << " characters in a 500 px area";
    // Every row after a wrap begins with a whole word.
    const int rowHeight = RowHeight();
    form.memo.SetText(words);
    const int firstRowY = PointOf(0).y;
    for (int row = 1; row < rows; ++row) {
        const int y = firstRowY + row * rowHeight;
        SendMessageA(form.memo.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, y));
        SendMessageA(form.memo.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(0, y));
        const DWORD rowStart = Selection().first;
        ASSERT_GT(rowStart, 0u) << "row " << row;
        EXPECT_EQ(' ', words[rowStart - 1]) << "row " << row << " begins inside a word";
    }
    std::string kana;
    for (int i = 0; i < 200; ++i) kana += "\x82\xA0";  // あ
    form.memo.SetText(kana);
    const LRESULT kanaRows = Send(EM_GETLINECOUNT);
    EXPECT_GE(kanaRows, 2);
    // The first character of the second row starts on a character boundary: its caret position is
    // at the row's left edge, and the offset there is even.
    const POINT secondRow = {0, PointOf(0).y + rowHeight};
    SendMessageA(form.memo.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(secondRow.x, secondRow.y));
    SendMessageA(form.memo.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(secondRow.x, secondRow.y));
    const DWORD wrapAt = Selection().first;
    EXPECT_GT(wrapAt, 0u);
    EXPECT_EQ(0u, wrapAt % 2) << "a row began inside a two-byte character";

    // Narrower, the rows grow in number; with no room at all they are kept as they were.
    SetWindowPos(form.memo.Handle(), nullptr, 0, 0, 250, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GT(Send(EM_GETLINECOUNT), kanaRows);
    SetWindowPos(form.memo.Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GT(Send(EM_GETLINECOUNT), kanaRows);
    EXPECT_LT(Send(EM_GETLINECOUNT), 100) << "laid out at no width";
    SetWindowPos(form.memo.Handle(), nullptr, 0, 0, 500, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(kanaRows, Send(EM_GETLINECOUNT));
}

// Typed characters go in at the caret, replacing the selection; a two-byte character arrives as two
// WM_CHAR messages; Backspace and Delete remove whole characters and whole line breaks.
TEST_F(TextArea, TypingEditsAtTheCaret) {
    form.memo.SetText("abcdef");
    SetFocus(form.memo.Handle());
    Send(EM_SETSEL, 2, 4);
    Type("X\x8A\xBFY");  // X漢Y
    EXPECT_EQ("abX\x8A\xBFYef", form.memo.Text());
    Send(WM_CHAR, '\r');
    EXPECT_EQ("abX\x8A\xBFY\r\nef", form.memo.Text());
    Send(WM_CHAR, '\b');  // the whole line break
    EXPECT_EQ("abX\x8A\xBFYef", form.memo.Text());
    Send(EM_SETSEL, 5, 5);  // after 漢
    Send(WM_CHAR, '\b');
    EXPECT_EQ("abXYef", form.memo.Text());
    Send(EM_SETSEL, 0, 0);
    Send(WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ("bXYef", form.memo.Text());
    Type("\x01");  // Ctrl+A
    EXPECT_EQ(std::make_pair(DWORD{0}, DWORD{5}), Selection());
    Type("z");
    EXPECT_EQ("z", form.memo.Text());
}

// Ctrl+Z takes back the last run of typing and a second one puts it back; text the program adds
// at the end stays; a paste is an edit of its own; setting the text leaves nothing to undo.
TEST_F(TextArea, UndoTakesBackTheLastEdit) {
    form.memo.SetText("abc");
    SetFocus(form.memo.Handle());
    EXPECT_FALSE(Send(EM_CANUNDO));
    Send(EM_SETSEL, 1, 1);
    Type("X\x8A\xBF");  // X漢
    form.memo.AppendText("\r\nreceived");
    EXPECT_TRUE(Send(EM_CANUNDO));
    Type("\x1A");  // Ctrl+Z
    EXPECT_EQ("abc\r\nreceived", form.memo.Text());
    Type("\x1A");
    EXPECT_EQ(
        "aX\x8A\xBF"
        "bc\r\nreceived",
        form.memo.Text());

    const std::string clipboardText = "pasted";
    Send(EM_SETSEL, 0, 1);
    Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(clipboardText.c_str()));
    EXPECT_TRUE(Send(WM_UNDO));
    EXPECT_EQ(
        "aX\x8A\xBF"
        "bc\r\nreceived",
        form.memo.Text());
    EXPECT_EQ(std::make_pair(DWORD{0}, DWORD{1}), Selection()) << "the restored text is selected";

    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("-"));
    EXPECT_FALSE(Send(EM_CANUNDO)) << "a replacement that cannot be undone";
    Type("q");
    form.memo.SetText("new");
    EXPECT_FALSE(Send(EM_UNDO));
    EXPECT_EQ("new", form.memo.Text());
}

// The selection follows the system's control: -1 as the start removes it, -1 as the end means the
// end of the text; arrow keys step over two-byte characters and line breaks whole.
TEST_F(TextArea, SelectionAndCaretSteps) {
    form.memo.SetText("a\x82\xA0\r\nb");
    Send(EM_SETSEL, 1, -1);
    EXPECT_EQ(std::make_pair(DWORD{1}, DWORD{6}), Selection());
    Send(EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(std::make_pair(DWORD{6}, DWORD{6}), Selection());
    Send(EM_SETSEL, 0, 100);
    EXPECT_EQ(std::make_pair(DWORD{0}, DWORD{6}), Selection()) << "clamped to the text";

    Send(EM_SETSEL, 0, 0);
    const DWORD rightSteps[] = {1, 3, 5, 6, 6};
    for (DWORD expected : rightSteps) {
        Send(WM_KEYDOWN, VK_RIGHT);
        EXPECT_EQ(expected, Selection().second);
    }
    const DWORD leftSteps[] = {5, 3, 1, 0, 0};
    for (DWORD expected : leftSteps) {
        Send(WM_KEYDOWN, VK_LEFT);
        EXPECT_EQ(expected, Selection().second);
    }
}

// Copy puts the selection on the clipboard (nothing selected leaves the clipboard alone); Paste
// puts the clipboard's text in place of the selection; Cut does both.
TEST_F(TextArea, ClipboardCopyCutAndPaste) {
    form.memo.SetText("one \x93\xF1 three");  // one 二 three
    Send(EM_SETSEL, 4, 6);
    Send(WM_COPY);
    Send(EM_SETSEL, 0, 0);
    Send(WM_COPY);  // nothing selected
    Send(EM_SETSEL, 0, 3);
    Send(WM_PASTE);
    EXPECT_EQ("\x93\xF1 \x93\xF1 three", form.memo.Text());
    Send(EM_SETSEL, 3, 6);
    Send(WM_CUT);
    EXPECT_EQ("\x93\xF1 three", form.memo.Text());
    Send(EM_SETSEL, 100, 100);
    form.memo.PasteFromClipboard();
    EXPECT_EQ("\x93\xF1 three\x93\xF1 ", form.memo.Text());
    // A selection that would begin or end inside a two-byte character takes the whole character.
    Send(EM_SETSEL, 1, 1);
    EXPECT_EQ(std::make_pair(DWORD{0}, DWORD{0}), Selection());
}

// A pasted Unicode text that holds characters Shift_JIS lacks gets one "?" for each, nothing more.
TEST_F(TextArea, PastedCharactersShiftJisLacksBecomeOneQuestionMarkEach) {
    const std::wstring pasted = L"Temp: 25\u00B0C \u2013 OK \u00FC\u20AC";
    ASSERT_TRUE(OpenClipboard(form.Handle()));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    wcscpy(static_cast<wchar_t*>(GlobalLock(memory)), pasted.c_str());
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    form.memo.SetText("<>");
    Send(EM_SETSEL, 1, 1);
    Send(WM_PASTE);
    EXPECT_EQ(
        "<Temp: 25\x81\x8B"
        "C ? OK ?"
        "?>",
        form.memo.Text());
}

// Scrolling to the end shows the last row at the bottom; the scroll bar and the line-scroll message
// move the view by rows, within the text.
TEST_F(TextArea, ScrollsByRowsAndToTheEnd) {
    const int rowHeight = RowHeight();
    std::string lines;
    for (int i = 0; i < 100; ++i) lines += "line " + std::to_string(i) + "\r\n";
    form.memo.SetText(lines);
    EXPECT_EQ(101, Send(EM_GETLINECOUNT)) << "the empty row after the last line break counts";
    EXPECT_EQ(0, Send(EM_GETFIRSTVISIBLELINE));
    form.memo.ScrollToEnd();
    RECT client{};
    GetClientRect(form.memo.Handle(), &client);
    const int visible = client.bottom / rowHeight;
    EXPECT_EQ(101 - visible, Send(EM_GETFIRSTVISIBLELINE));
    Send(EM_LINESCROLL, 0, -10);
    EXPECT_EQ(101 - visible - 10, Send(EM_GETFIRSTVISIBLELINE));
    Send(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(0, Send(EM_GETFIRSTVISIBLELINE));
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(form.memo.Handle(), SB_VERT, &info);
    EXPECT_EQ(100, info.nMax);
    EXPECT_EQ(static_cast<UINT>(visible), info.nPage);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)));
    EXPECT_EQ(3, Send(EM_GETFIRSTVISIBLELINE));
    // At the end, a text area that grows keeps the last line at the bottom.
    form.memo.ScrollToEnd();
    MoveWindow(form.memo.Handle(), 0, 0, 500, 360, TRUE);
    GetClientRect(form.memo.Handle(), &client);
    const LRESULT top = Send(EM_GETFIRSTVISIBLELINE);
    EXPECT_EQ(101 - client.bottom / rowHeight, top);
    EXPECT_GT(client.bottom / rowHeight, visible);
}

// A click places the caret at the nearest character boundary, a drag selects, a double click
// selects the word.
// While the user holds the mouse button in the text area, or while Scroll Lock is on, arriving
// text is added without taking the view or the selection away; afterwards the end is followed again.
TEST_F(TextArea, ArrivingTextLeavesAHeldViewAlone) {
    std::string lines;
    for (int i = 0; i < 60; ++i) lines += "line " + std::to_string(i) + "\r\n";
    const auto arrive = [&] {
        form.memo.AppendText("new\r\n");
        form.memo.ScrollToEnd();
    };
    const auto setScrollLock = [](bool on) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SCROLL] = on ? 1 : 0;
        SetKeyboardState(keys);
    };
    struct Hold {
        const char* behaviour;
        std::function<void()> take;
        std::function<void()> release;
    } holds[] = {
        {"mouse button held", [&] { Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5)); },
         [&] { Send(WM_LBUTTONUP, 0, MAKELPARAM(10, 5)); }},
        {"Scroll Lock on", [&] { setScrollLock(true); }, [&] { setScrollLock(false); }},
    };
    for (const Hold& hold : holds) {
        form.memo.SetText(lines);
        Send(EM_LINESCROLL, 0, -1000);
        Send(EM_SETSEL, 0, 4);
        hold.take();
        const auto selected = Selection();
        arrive();
        EXPECT_EQ(0, Send(EM_GETFIRSTVISIBLELINE)) << hold.behaviour;
        EXPECT_EQ(selected, Selection()) << hold.behaviour;
        hold.release();
        arrive();
        EXPECT_GT(Send(EM_GETFIRSTVISIBLELINE), 50) << hold.behaviour;
        EXPECT_EQ(form.memo.TextSize(), Selection().second) << hold.behaviour;
    }
}

TEST_F(TextArea, MouseSelects) {
    form.memo.SetText("alpha beta\r\ngamma");
    const POINT b = PointOf(6);
    const POINT m = PointOf(14);
    SendMessageA(form.memo.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(b.x, b.y));
    EXPECT_EQ(std::make_pair(DWORD{6}, DWORD{6}), Selection());
    SendMessageA(form.memo.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(m.x, m.y));
    SendMessageA(form.memo.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(m.x, m.y));
    EXPECT_EQ(std::make_pair(DWORD{6}, DWORD{14}), Selection());
    SendMessageA(form.memo.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(b.x, b.y));
    SendMessageA(form.memo.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
    EXPECT_EQ(std::make_pair(DWORD{6}, DWORD{10}), Selection());
}

// Holding the button with the pointer below or above the text area scrolls on by itself and
// extends the selection, without the mouse moving; it stops once the button is released.
TEST_F(TextArea, ADragPastTheEdgeScrollsOnWhileHeld) {
    std::string lines;
    for (int i = 0; i < 300; ++i) lines += "line " + std::to_string(i) + "\r\n";
    form.memo.SetText(lines);
    Send(WM_VSCROLL, SB_TOP);
    RECT client{};
    GetClientRect(form.memo.Handle(), &client);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, client.bottom + 30));
    uitest::PumpMessages(400);
    const LRESULT scrolled = Send(EM_GETFIRSTVISIBLELINE);
    EXPECT_GT(scrolled, 3) << "it goes on by itself";
    EXPECT_GT(Selection().second, static_cast<DWORD>(7 * (scrolled + 1))) << "the selection follows";
    Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, -30));
    uitest::PumpMessages(300);
    EXPECT_LT(Send(EM_GETFIRSTVISIBLELINE), scrolled) << "and back up above the top";
    Send(WM_LBUTTONUP, 0, MAKELPARAM(10, -30));
    const LRESULT released = Send(EM_GETFIRSTVISIBLELINE);
    uitest::PumpMessages(200);
    EXPECT_EQ(released, Send(EM_GETFIRSTVISIBLELINE)) << "released, it stops";
}

// Text composed with an input method shows at the caret, and follows it while composing.
TEST_F(TextArea, InputMethodComposesAtTheCaret) {
    form.memo.SetText("abc\r\ndef");
    SetFocus(form.memo.Handle());
    const auto compositionAt = [&] {
        HIMC context = ImmGetContext(form.memo.Handle());
        COMPOSITIONFORM composition{};
        const bool got = context && ImmGetCompositionWindow(context, &composition);
        if (context) ImmReleaseContext(form.memo.Handle(), context);
        return got ? composition.ptCurrentPos : POINT{-1, -1};
    };
    const auto caretAt = [] {
        POINT caret{};
        GetCaretPos(&caret);
        return caret;
    };
    Send(EM_SETSEL, 2, 2);
    Send(WM_IME_STARTCOMPOSITION);
    POINT expected = caretAt();
    POINT shown = compositionAt();
    EXPECT_EQ(expected.x, shown.x);
    EXPECT_EQ(expected.y, shown.y);
    Send(EM_SETSEL, 7, 7);  // the second line
    expected = caretAt();
    shown = compositionAt();
    EXPECT_EQ(expected.x, shown.x);
    EXPECT_EQ(expected.y, shown.y);
    EXPECT_GT(expected.y, 0);
    Send(WM_IME_ENDCOMPOSITION);
}

// Control bytes and bytes that form no character are drawn inside their own cell, each as a visible
// mark: the "<" after every one of them shows exactly as it does after an "A".
TEST_F(TextArea, BytesWithoutAGlyphStayInTheirCells) {
    const int rowHeight = RowHeight();
    for (int half = 0; half < 2; ++half) {
        // Half of the bytes at a time, so that every row is on the screen.
        std::string text = "A<\r\n";
        std::vector<std::size_t> marks;
        for (int byte = 128 * half; byte < 128 * (half + 1); ++byte) {
            if (byte == '\t') continue;
            marks.push_back(text.size());
            text += static_cast<char>(byte);
            text += (marks.size() % 16 == 0) ? "<\r\n" : "<";
        }
        form.memo.SetText(text);
        // Where each character stands, learnt from the caret before it goes with the focus.
        const auto cellOf = [&](std::size_t offset) {
            const POINT left = PointOf(static_cast<DWORD>(offset));
            const POINT right = PointOf(static_cast<DWORD>(offset + 1));
            return RECT{left.x - 1, left.y - 5, right.x - 1, left.y - 5 + rowHeight};
        };
        std::vector<RECT> cells;
        for (std::size_t at : marks) cells.push_back(cellOf(at));
        const RECT reference = cellOf(1);
        SetFocus(form.Handle());
        ColoursOnScreen();
        HDC dc = GetDC(form.memo.Handle());
        const auto pixels = [&](RECT cell, int dx) {
            std::vector<COLORREF> out;
            for (int y = cell.top; y < cell.bottom; ++y) {
                for (int x = cell.left; x < cell.right; ++x) out.push_back(GetPixel(dc, x + dx, y));
            }
            return out;
        };
        const std::vector<COLORREF> angle = pixels(reference, 0);
        for (std::size_t i = 0; i < marks.size(); ++i) {
            const unsigned byte = static_cast<unsigned char>(text[marks[i]]);
            EXPECT_EQ(angle, pixels(cells[i], cells[i].right - cells[i].left)) << "the \"<\" after byte " << byte;
            const std::vector<COLORREF> own = pixels(cells[i], 0);
            const auto background = std::count(own.begin(), own.end(), kSilver);
            // Control bytes, DEL, and the bytes that are no character alone (first bytes without a
            // second, 0x80, 0xA0, 0xFD-0xFF) show a mark.
            const bool noGlyph = byte < 0x20 || (byte >= 0x7F && byte <= 0xA0) || byte >= 0xE0;
            EXPECT_TRUE(background < static_cast<long>(own.size()) || !noGlyph) << "a mark for byte " << byte;
        }
        ReleaseDC(form.memo.Handle(), dc);
    }
}

// The text area paints in its own colours, and takes new ones at once.
TEST_F(TextArea, PaintsInItsColours) {
    form.memo.SetText("MMMMMMMM\x81\xA1\x81\xA1");  // and two ■
    std::map<COLORREF, int> colours = ColoursOnScreen();
    EXPECT_GT(colours[kSilver], 1000) << "the background";
    EXPECT_GT(colours[kLime], 10) << "the text";

    form.memo.SetColors(0x00FFFF80, 0x00000055);
    EXPECT_EQ(0x00FFFF80u, form.memo.Colors().background);
    EXPECT_EQ(0x00000055u, form.memo.Colors().text);
    colours = ColoursOnScreen();
    EXPECT_GT(colours[0x00FFFF80], 1000);
    EXPECT_GT(colours[0x00000055], 10);
    EXPECT_EQ(0, colours[kSilver]);
    EXPECT_EQ(0, colours[kLime]);
}

}  // namespace

// In the Unicode form the text area takes typed UTF-16 units as Shift_JIS (a character outside it as
// one "?"), and gives its text as whole characters, only as much as the caller's buffer holds.
TEST_F(TextArea, UnicodeMessagesCarryShiftJisText) {
    form.memo.SetText("");
    SetFocus(form.memo.Handle());
    for (const wchar_t unit : std::wstring(L"A\u6F22\xD842\xDFB7")) SendMessageW(form.memo.Handle(), WM_CHAR, unit, 0);
    EXPECT_EQ("A\x8A\xBF?", form.memo.Text());
    // A length never short of the text (as the system allows): counting characters would mean
    // reading a text of any size whole.
    EXPECT_GE(SendMessageW(form.memo.Handle(), WM_GETTEXTLENGTH, 0, 0), 3);
    wchar_t buffer[3] = {L'x', L'x', L'x'};
    EXPECT_EQ(2, SendMessageW(form.memo.Handle(), WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(std::wstring(L"A\u6F22"), buffer);
}
