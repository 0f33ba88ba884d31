// The controls' own rules: radio-group notification, colours handed to Windows through the parent,
// the panel caption and the status bar (the text area has tests of its own, ui_memo_test.cpp).
#include <gtest/gtest.h>

#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/radio_group.h"
#include "ui/status_bar.h"
#include "ui_test_support.h"

#include <string>
#include <vector>

namespace {

struct ControlsForm : ui::Form {
    ControlsForm() : ui::Form({.caption = "ControlsForm", .width = 600, .height = 400}) { Show(); }

    ui::Panel panel{*this, {.bounds = {0, 0, 500, 100}, .color = 0x00FFFFFF}};
    ui::Label label{panel, {.left = 4, .top = 3, .caption = "COM"}};
    ui::RadioGroup radio{panel,
                         {.bounds = {100, 4, 131, 45}, .caption = "Colours", .items = {"1", "2", "3"}, .columns = 3}};
    ui::StatusBar status{*this, {.height = 19}};
};

class Controls : public ::testing::Test {
protected:
    ControlsForm form;
};

enum class Step { Set, UserClick };

struct RadioStep {
    const char* what;
    Step step;
    int index;
    int expectedIndex;
    int expectedNotifications;
};

// The radio group notifies only when its selection changes to an item, by the program or by the user:
// not for the item already selected, not for clearing the selection.
TEST_F(Controls, RadioGroupNotifiesOnlyChangesToAnItem) {
    int notifications = 0;
    form.radio.OnClick = [&](ui::Object* sender) {
        EXPECT_EQ(&form.radio, sender);
        ++notifications;
    };
    const RadioStep steps[] = {
        {"none to none", Step::Set, -1, -1, 0},
        {"none to an item", Step::Set, 1, 1, 1},
        {"the same item again", Step::Set, 1, 1, 0},
        {"an item to none", Step::Set, -1, -1, 0},
        {"none to another item", Step::Set, 2, 2, 1},
        {"outside the items clears", Step::Set, 3, -1, 0},
        {"the user picks an item", Step::UserClick, 0, 0, 1},
        {"the user picks it again", Step::UserClick, 0, 0, 0},
        {"the user picks another", Step::UserClick, 2, 2, 1},
    };
    for (const RadioStep& s : steps) {
        notifications = 0;
        if (s.step == Step::Set) {
            form.radio.SetItemIndex(s.index);
        } else {
            SendMessageA(form.radio.ButtonHandle(s.index), BM_CLICK, 0, 0);
        }
        EXPECT_EQ(s.expectedIndex, form.radio.ItemIndex()) << s.what;
        EXPECT_EQ(s.expectedNotifications, notifications) << s.what;
        for (int i = 0; i < form.radio.ItemCount(); ++i) {
            const LRESULT checked = SendMessageA(form.radio.ButtonHandle(i), BM_GETCHECK, 0, 0);
            EXPECT_EQ(i == s.expectedIndex ? BST_CHECKED : BST_UNCHECKED, checked) << s.what << " item " << i;
        }
    }
}

// A key as the message loop hands it to the dialog manager of the window that has the focus.
void PressKey(HWND root, WPARAM key) {
    MSG message{.hwnd = GetFocus(), .message = WM_KEYDOWN, .wParam = key, .lParam = 0, .time = 0, .pt = {}};
    IsDialogMessageA(root, &message);
}

struct KeyboardForm : ui::Form {
    KeyboardForm() : ui::Form({.caption = "KeyboardForm", .width = 400, .height = 200}) { Show(); }

    ui::Button before{*this, {.bounds = {4, 4, 60, 25}, .caption = "before"}};
    ui::RadioGroup radio{*this,
                         {.bounds = {100, 4, 131, 45}, .caption = "Colours", .items = {"1", "2", "3"}, .columns = 3}};
};

// As in any dialog: Tab lands on the selected item (on the first while none is), the arrow keys
// move the selection within the group, and the group reports each change once.
TEST(RadioGroupKeys, TabLandsOnTheSelectionAndArrowsSelect) {
    KeyboardForm form;
    SetForegroundWindow(form.Handle());
    std::vector<int> reported;
    form.radio.OnClick = [&](ui::Object*) { reported.push_back(form.radio.ItemIndex()); };

    SetFocus(form.before.Handle());
    PressKey(form.Handle(), VK_TAB);
    EXPECT_EQ(form.radio.ButtonHandle(0), GetFocus()) << "no selection: the first item";
    EXPECT_EQ(-1, form.radio.ItemIndex()) << "Tab alone selects nothing";

    form.radio.SetItemIndex(2);
    reported.clear();
    SetFocus(form.before.Handle());
    PressKey(form.Handle(), VK_TAB);
    EXPECT_EQ(form.radio.ButtonHandle(2), GetFocus()) << "Tab lands on the selected item";

    PressKey(form.Handle(), VK_LEFT);
    EXPECT_EQ(form.radio.ButtonHandle(1), GetFocus());
    EXPECT_EQ(1, form.radio.ItemIndex());
    PressKey(form.Handle(), VK_UP);
    PressKey(form.Handle(), VK_RIGHT);
    PressKey(form.Handle(), VK_LEFT);
    EXPECT_EQ(form.radio.ButtonHandle(0), GetFocus());
    EXPECT_EQ(0, form.radio.ItemIndex());
    EXPECT_EQ((std::vector<int>{1, 0, 1, 0}), reported);
    for (int i = 0; i < form.radio.ItemCount(); ++i) {
        EXPECT_EQ(i == 0 ? BST_CHECKED : BST_UNCHECKED, SendMessageA(form.radio.ButtonHandle(i), BM_GETCHECK, 0, 0));
    }

    SetFocus(form.before.Handle());
    PressKey(form.Handle(), VK_TAB);
    EXPECT_EQ(form.radio.ButtonHandle(0), GetFocus()) << "Tab follows the selection the arrows made";
}

struct PaintedColors {
    COLORREF brush;
    COLORREF background;
    COLORREF text;
};

// What the parent answers when a control asks how to paint itself.
PaintedColors AskParentForColors(HWND parent, UINT message, HWND control) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    SetBkColor(dc, 0x00123456);
    SetTextColor(dc, 0x00654321);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    LOGBRUSH info{};
    GetObjectA(brush, sizeof info, &info);
    const PaintedColors colors{info.lbColor, GetBkColor(dc), GetTextColor(dc)};
    DeleteDC(dc);
    return colors;
}

// A label is not transparent: it paints its background in its panel's colour, also after a change.
TEST_F(Controls, LabelBackgroundFollowsItsPanel) {
    PaintedColors colors = AskParentForColors(form.panel.Handle(), WM_CTLCOLORSTATIC, form.label.Handle());
    EXPECT_EQ(0x00FFFFFFu, colors.brush);
    EXPECT_EQ(0x00FFFFFFu, colors.background);

    form.panel.SetColor(0x000000FF);
    colors = AskParentForColors(form.panel.Handle(), WM_CTLCOLORSTATIC, form.label.Handle());
    EXPECT_EQ(0x000000FFu, colors.brush);
    EXPECT_EQ(0x000000FFu, colors.background);
    EXPECT_EQ(0x000000FFu, form.panel.Color());
}

// A label sizes itself to its text in its font.
TEST_F(Controls, LabelFitsItsText) {
    const int shortWidth = form.label.Width();
    form.label.SetCaption("COM COM COM");
    EXPECT_GT(form.label.Width(), 2 * shortWidth);
    EXPECT_GT(form.label.Height(), 0);
    EXPECT_EQ(4, form.label.Left());
}

// A panel caption, like a window text, ends at a zero byte; programs outside read it by WM_GETTEXT.
TEST_F(Controls, PanelCaptionEndsAtZeroByte) {
    form.panel.SetCaption(std::string("AB\0CD", 5));
    EXPECT_EQ("AB", form.panel.Caption());
    EXPECT_EQ("AB", uitest::WindowText(form.panel.Handle()));
    form.panel.SetCaption(std::string("\0", 1));
    EXPECT_EQ("", form.panel.Caption());
}

// The status bar's simple text is shown, and it is also what another program reads with WM_GETTEXT.
TEST_F(Controls, StatusBarSimpleTextIsReadable) {
    form.status.SetSimple(true);
    EXPECT_TRUE(form.status.Simple());
    form.status.SetSimpleText("\x8C\xBB\x8D\xDD\x8E\x9E\x8D\x8F\x81\x46");  // 現在時刻：
    EXPECT_EQ("\x8C\xBB\x8D\xDD\x8E\x9E\x8D\x8F\x81\x46", form.status.SimpleText());
    char text[64] = {};
    SendMessageA(form.status.Handle(), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("\x8C\xBB\x8D\xDD\x8E\x9E\x8D\x8F\x81\x46", text);
}

// A new text is drawn with the window's next paint, not at once within the caller (the clock is set
// from the receive tick); the text it already shows asks for no paint at all.
TEST_F(Controls, StatusBarTextIsDrawnWithTheNextPaint) {
    form.status.SetSimple(true);
    form.status.SetSimpleText("12:00:00");
    UpdateWindow(form.status.Handle());

    form.status.SetSimpleText("12:00:01");
    EXPECT_TRUE(GetUpdateRect(form.status.Handle(), nullptr, FALSE));
    EXPECT_TRUE(IsWindowVisible(form.status.Handle()));
    EXPECT_EQ("12:00:01", form.status.SimpleText());
    UpdateWindow(form.status.Handle());

    form.status.SetSimpleText("12:00:01");
    EXPECT_FALSE(GetUpdateRect(form.status.Handle(), nullptr, FALSE));
}

// A resize, or a new height for a bar, repaints a panel whose size changed, so that its bevel
// follows its edges, but not the controls inside it that kept their place: otherwise every step of a
// resize or of the text size draws the whole top bar again.
TEST(PanelResize, RepaintsThePanelButNotTheControlsThatStayed) {
    struct BarForm : ui::Form {
        BarForm() : ui::Form({.caption = "BarForm", .width = 600, .height = 300}) { Show(); }
        ui::Panel bar{*this, {.bounds = {0, 0, 0, 60}, .align = ui::Align::Top, .bevel = ui::Bevel::Lowered}};
        ui::Button button{bar, {.bounds = {10, 10, 80, 30}, .caption = "B"}};
        ui::Label label{bar, {.left = 100, .top = 10, .caption = "COM"}};
    } form;
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);

    SetWindowPos(form.Handle(), nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(form.bar.Handle(), &update, FALSE));
    RECT client{};
    GetClientRect(form.bar.Handle(), &client);
    EXPECT_TRUE(EqualRect(&update, &client));
    EXPECT_FALSE(GetUpdateRect(form.button.Handle(), nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(form.label.Handle(), nullptr, FALSE));
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);

    form.bar.SetHeight(70);
    EXPECT_EQ(form.ClientSize().cx, form.bar.Width());
    EXPECT_TRUE(GetUpdateRect(form.bar.Handle(), nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(form.button.Handle(), nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(form.label.Handle(), nullptr, FALSE));
}

}  // namespace
