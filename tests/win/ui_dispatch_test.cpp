// Forms hand every notification to the object it concerns, run handlers guarded, and show a failing
// handler in the standard error box, after which the program goes on.
#include <gtest/gtest.h>

#include "core/dpi_scale.h"
#include "core/text_store.h"
#include "error_messages.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/exception.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/main_menu.h"
#include "ui/message_pump.h"
#include "ui/panel.h"
#include "ui/timer.h"
#include "ui_test_support.h"

#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

namespace {

constexpr const char* kTitle = "DispatchTest";

struct DispatchForm : ui::Form {
    DispatchForm() : ui::Form({.caption = "DispatchForm", .width = 500, .height = 300}) { Show(); }

    ui::Panel panel{*this, {.bounds = {0, 0, 400, 200}}};
    ui::GroupBox group{panel, {.bounds = {10, 10, 200, 80}, .caption = "Group"}};
    ui::Button nestedButton{group, {.bounds = {10, 20, 80, 25}, .caption = "Nested"}};
    ui::Button plainButton{*this, {.bounds = {10, 220, 80, 25}, .caption = "Plain"}};
    ui::ComboBox combo{panel, {.bounds = {250, 10, 60, 24}, .items = {"1", "2", "3"}}};
};

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        ui::App().SetTitle(kTitle);
        ui::App().SetErrorBoxTexts(ProgramErrorBoxTexts());
    }
    DispatchForm form;
};

// Notifications of controls nested in a panel and a group box reach their own handlers, once.
TEST_F(Dispatch, NestedButtonClickReachesItsHandlerOnce) {
    int clicks = 0;
    form.nestedButton.OnClick = [&](ui::Object* sender) {
        EXPECT_EQ(&form.nestedButton, sender);
        ++clicks;
    };
    SendMessageA(form.nestedButton.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, clicks);
}

// A control's messages reach its object while both live. A procedure put in front of the control's
// later still gets every message, to the window's end, once the object is gone; and a control whose
// window went with its parent's forgets the window.
TEST(ControlLifetime, MessagesReachTheObjectThenTheWindowsOwnProcedure) {
    static int destroysSeen = 0;
    static WNDPROC behind = nullptr;
    auto inFront = [](HWND handle, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_NCDESTROY) ++destroysSeen;
        return CallWindowProcW(behind, handle, message, wParam, lParam);
    };
    auto form = std::make_unique<DispatchForm>();
    auto button = std::make_unique<ui::Button>(*form, ui::ButtonArgs{.bounds = {10, 250, 80, 25}, .caption = "B"});
    const HWND handle = button->Handle();
    EXPECT_EQ(button.get(), ui::Window::FromHandle(handle));
    behind = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+inFront)));
    SetWindowTextW(handle, L"after");
    EXPECT_EQ("after", button->Text());
    button.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(1, destroysSeen);
    EXPECT_EQ(nullptr, ui::Window::FromHandle(handle));

    const HWND nested = form->nestedButton.Handle();
    DestroyWindow(form->Handle());
    EXPECT_EQ(nullptr, form->nestedButton.Handle());
    EXPECT_EQ(nullptr, ui::Window::FromHandle(nested));
    form.reset();
}

// A selection the program sets in a drop-down list does not notify; one the user makes does.
TEST_F(Dispatch, ComboBoxNotifiesOnlyTheUsersPick) {
    int changes = 0;
    form.combo.OnChange = [&](ui::Object*) { ++changes; };

    form.combo.SetItemIndex(2);
    EXPECT_EQ(0, changes);
    EXPECT_EQ(2, form.combo.ItemIndex());

    // What the control sends when the user picks an item.
    SendMessageA(form.combo.Handle(), CB_SETCURSEL, 1, 0);
    SendMessageA(form.panel.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.combo.Handle()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.combo.Handle()));
    EXPECT_EQ(1, changes);
    EXPECT_EQ(1, form.combo.ItemIndex());
}

struct ErrorCase {
    const char* name;
    std::function<void()> fail;
    std::string boxText;
};

// A handler's ui::Exception shows its message with the full-stop rule; any other exception shows the
// program's text for what it means (never an empty box). Either way with the title as caption and a
// stop icon, and the window goes on.
TEST_F(Dispatch, HandlerExceptionShowsErrorBoxAndProgramGoesOn) {
    const ErrorCase cases[] = {
        {"message without stop", [] { throw ui::Exception("Port busy"); }, "Port busy."},
        {"message ending in a stop", [] { throw ui::Exception("Done."); }, "Done."},
        {"message ending below the stop", [] { throw ui::Exception("Failed!"); }, "Failed!"},
        {"Shift_JIS message", [] { throw ui::Exception("\x83\x47\x83\x89\x81\x5B"); },
         "\x83\x47\x83\x89\x81\x5B."},  // エラー
        {"out of memory", [] { throw std::bad_alloc(); },
         "メモリが不足しています。受信テキストをファイルに保存してからクリアしてください."},
        {"page file unreadable", [] { throw core::PageReadError("hidden"); },
         "一時ファイルから受信テキストを読み込めませんでした."},
        {"standard exception", [] { throw std::runtime_error("hidden"); }, "内部エラーが発生しました."},
        {"not an exception class", [] { throw 42; }, "内部エラーが発生しました."},
    };
    HICON stopIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_HAND));
    for (const ErrorCase& c : cases) {
        form.nestedButton.OnClick = [&](ui::Object*) { c.fail(); };
        uitest::MessageBoxAnswerer answerer(kTitle, IDOK);
        SendMessageA(form.nestedButton.Handle(), BM_CLICK, 0, 0);
        const uitest::MessageBoxSeen& seen = answerer.Wait();

        ASSERT_TRUE(seen.found) << c.name;
        EXPECT_EQ(c.boxText, seen.text) << c.name;
        EXPECT_TRUE(seen.hasIcon) << c.name;
        EXPECT_EQ(stopIcon, seen.icon) << c.name;
    }
    int clicks = 0;
    form.plainButton.OnClick = [&](ui::Object*) { ++clicks; };
    SendMessageA(form.plainButton.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, clicks);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

// A failing timer handler is shown the same way; the timer's other handlers run on.
TEST_F(Dispatch, TimerExceptionShowsErrorBox) {
    ui::Timer timer(form, {.interval = 10, .enabled = true});
    int ticks = 0;
    timer.OnTimer = [&](ui::Object* sender) {
        EXPECT_EQ(&timer, sender);
        timer.SetEnabled(false);
        ++ticks;
        throw ui::Exception("Tick failed");
    };
    uitest::MessageBoxAnswerer answerer(kTitle, IDOK);
    uitest::PumpMessages(300);
    const uitest::MessageBoxSeen& seen = answerer.Wait();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ("Tick failed.", seen.text);
    EXPECT_EQ(1, ticks);
}

// A timer a control owns ticks into its handler, the control dispatching nothing; stopped from
// its handler, it ticks no more.
TEST_F(Dispatch, ControlOwnedTimerTicksUntilStopped) {
    ui::Timer timer(form.plainButton, {.enabled = false});
    EXPECT_FALSE(timer.Running());
    int ticks = 0;
    timer.OnTimer = [&](ui::Object* sender) {
        EXPECT_EQ(&timer, sender);
        ++ticks;
        timer.Stop();
    };
    timer.Start(10);
    EXPECT_TRUE(timer.Running());
    for (int wait = 0; wait < 250 && ticks == 0; ++wait) uitest::PumpMessages(20);
    uitest::PumpMessages(100);
    EXPECT_EQ(1, ticks);
    EXPECT_FALSE(timer.Running());
}

// Work that runs the waiting messages between its slices may leave the paints for later: the timers
// still tick, the window stays marked for painting, and a later call paints it.
TEST_F(Dispatch, WaitingMessagesRunWithThePaintsLeftForLater) {
    uitest::PumpMessages(50);
    int ticks = 0;
    ui::Timer timer(form, {.interval = 10});
    timer.OnTimer = [&](ui::Object*) { ++ticks; };
    InvalidateRect(form.panel.Handle(), nullptr, FALSE);
    const auto noKeys = [](WPARAM) {};
    for (int wait = 0; wait < 100 && ticks == 0; ++wait) {
        Sleep(10);
        ASSERT_TRUE(ui::RunWaitingMessages(form.Handle(), noKeys, ui::Paints::Wait));
    }
    EXPECT_GT(ticks, 0);
    EXPECT_TRUE(GetUpdateRect(form.panel.Handle(), nullptr, FALSE));
    ASSERT_TRUE(ui::RunWaitingMessages(form.Handle(), noKeys, ui::Paints::Run));
    EXPECT_FALSE(GetUpdateRect(form.panel.Handle(), nullptr, FALSE));
}

// A context menu greys the items not enabled as it opens, and runs the item the user chooses.
TEST_F(Dispatch, PopupMenuGreysItemsAndRunsTheChosenOne) {
    bool canPaste = false;
    std::string ran;
    ui::PopupMenu menu(
        {{.caption = "&Copy", .onClick = [&](ui::Object*) { ran += "copy"; }},
         {},
         {.caption = "&Paste", .onClick = [&](ui::Object*) { ran += "paste"; }, .enabled = [&] { return canPaste; }}});
    const ui::UniqueMenu greyed = menu.Build();
    EXPECT_NE(0u, GetMenuState(greyed.get(), 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_NE(0u, GetMenuState(greyed.get(), 2, MF_BYPOSITION) & MF_GRAYED);
    canPaste = true;
    EXPECT_EQ(0u, GetMenuState(menu.Build().get(), 2, MF_BYPOSITION) & MF_GRAYED);

    // The user presses Paste's access key while the menu is open; should the key go astray, the
    // menu is closed rather than left waiting.
    ui::Timer rescue(form, {.interval = 5000});
    rescue.OnTimer = [](ui::Object*) { EndMenu(); };
    SetForegroundWindow(form.Handle());
    PostMessageW(form.Handle(), WM_CHAR, 'p', 0);
    EXPECT_TRUE(menu.TrackAt(form.Handle(), {100, 100}));
    EXPECT_EQ("paste", ran);
}

// A popup of the menu bar greys, as it opens, the items not enabled at that moment.
TEST_F(Dispatch, MenuBarGreysItemsAsAPopupOpens) {
    bool canPaste = false;
    ui::MainMenu menu(form, {{"&Edit", {{601, "&Copy"}, {602, "&Paste", {}, [&] { return canPaste; }}}}});
    const auto greyed = [&](UINT id) { return (GetMenuState(menu.Handle(), id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
    SendMessageW(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu.Handle(), 0)), 0);
    EXPECT_FALSE(greyed(601));
    EXPECT_TRUE(greyed(602));
    canPaste = true;
    SendMessageW(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu.Handle(), 0)), 0);
    EXPECT_FALSE(greyed(602));
}

// Menu items run by command id; an id no item has runs nothing.
TEST_F(Dispatch, MenuCommandIdRunsItsItem) {
    int first = 0;
    int second = 0;
    ui::MainMenu menu(
        form,
        {{"&File", {{501, "&One", [&](ui::Object*) { ++first; }}, {502, "&Two", [&](ui::Object*) { ++second; }}}}});
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(502, 0), 0);
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(599, 0), 0);
    EXPECT_EQ(0, first);
    EXPECT_EQ(1, second);
}

// Every request to close asks OnCloseQuery; a refusal keeps the window and refuses the session's end.
TEST_F(Dispatch, CloseQueryDecidesCloseAndSessionEnd) {
    bool allow = false;
    int asked = 0;
    form.OnCloseQuery = [&](ui::Object*, bool& canClose) {
        ++asked;
        canClose = allow;
    };
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(FALSE, SendMessageA(form.Handle(), WM_QUERYENDSESSION, 0, 0));

    allow = true;
    EXPECT_EQ(TRUE, SendMessageA(form.Handle(), WM_QUERYENDSESSION, 0, 0));
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(IsWindow(form.Handle()));  // hidden, not destroyed: it is not the main window
    EXPECT_EQ(4, asked);
}

struct ModalForm : ui::Form {
    explicit ModalForm(ui::Form& owner)
        : ui::Form({.caption = "ModalTestForm",
                    .width = 200,
                    .height = 120,
                    .style = WS_CAPTION | WS_SYSMENU,
                    .owner = &owner,
                    .centreOnOwnerAtFirstShow = true}) {}
};

// A modal showing disables the owner until it closes, runs OnShow each time, and hides the window.
// The first showing is centred on the owner; a later one opens where the window was last.
TEST_F(Dispatch, ShowModalDisablesOwnerAndRemembersPlace) {
    form.MoveTo(100, 80);
    ModalForm modal(form);
    int shows = 0;
    modal.OnShow = [&](ui::Object*) {
        ++shows;
        EXPECT_FALSE(modal.Visible());  // before it appears
    };

    bool ownerEnabledWhileOpen = true;
    RECT firstPlace{};
    {
        uitest::WindowWatcher watcher("UiForm", "ModalTestForm", [&](HWND window) {
            ownerEnabledWhileOpen = IsWindowEnabled(form.Handle()) != FALSE;
            GetWindowRect(window, &firstPlace);
            SetWindowPos(window, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            PostMessageA(window, WM_CLOSE, 0, 0);
        });
        modal.ShowModal();
        ASSERT_TRUE(watcher.Wait());
    }
    EXPECT_FALSE(ownerEnabledWhileOpen);
    EXPECT_TRUE(IsWindowEnabled(form.Handle()));
    EXPECT_FALSE(modal.Visible());
    EXPECT_TRUE(IsWindow(modal.Handle()));
    const RECT owner = form.Bounds();
    EXPECT_EQ(owner.left + (500 - 200) / 2, firstPlace.left);
    EXPECT_EQ(owner.top + (300 - 120) / 2, firstPlace.top);

    RECT secondPlace{};
    {
        uitest::WindowWatcher watcher("UiForm", "ModalTestForm", [&](HWND window) {
            GetWindowRect(window, &secondPlace);
            SendMessageA(window, WM_CLOSE, 0, 0);
        });
        modal.ShowModal();
        ASSERT_TRUE(watcher.Wait());
    }
    EXPECT_EQ(30, secondPlace.left);
    EXPECT_EQ(40, secondPlace.top);
    EXPECT_EQ(2, shows);
}

}  // namespace

// Started minimised, a window runs its show handler only when it is restored, before it appears
// there, and once; the place the handler gives it is where it is restored to.
TEST(MinimisedStart, ShowHandlerRunsWhenTheWindowIsRestored) {
    ui::Form form({.caption = "MinimisedForm", .width = 400, .height = 300});
    int shown = 0;
    bool iconicWhenShown = false;
    form.OnShow = [&](ui::Object*) {
        ++shown;
        iconicWhenShown = IsIconic(form.Handle()) != FALSE;
        form.SetOuterLayoutSize(350, 250);
        form.MoveTo(40, 30);
    };
    form.Show(SW_SHOWMINNOACTIVE);
    uitest::PumpMessages(50);
    EXPECT_TRUE(IsIconic(form.Handle()));
    EXPECT_EQ(0, shown) << "no show handler while the window stays minimised";

    ShowWindow(form.Handle(), SW_RESTORE);
    uitest::PumpMessages(50);
    EXPECT_EQ(1, shown);
    EXPECT_TRUE(iconicWhenShown) << "the handler ran before the window appeared";
    EXPECT_FALSE(IsIconic(form.Handle()));
    const RECT bounds = form.Bounds();
    EXPECT_EQ(40, bounds.left);
    EXPECT_EQ(30, bounds.top);
    EXPECT_EQ(core::ScaleToDpi(350, form.Dpi()), bounds.right - bounds.left);
    EXPECT_EQ(core::ScaleToDpi(250, form.Dpi()), bounds.bottom - bounds.top);

    ShowWindow(form.Handle(), SW_MINIMIZE);
    ShowWindow(form.Handle(), SW_RESTORE);
    uitest::PumpMessages(50);
    EXPECT_EQ(1, shown) << "later restores show nothing again";
}
