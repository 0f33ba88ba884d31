// The main window against the real windows: its layout, texts and fonts, the show sequence, the
// exit question, the simple commands, the information windows, and the single running copy.
#include <gtest/gtest.h>

#include "Help.h"
#include "Main.h"
#include "Version.h"
#include "support/linux_command.h"
#include "support/program_forms.h"
#include "ui/application.h"
#include "ui_test_support.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Shift_JIS texts of the window, written as bytes.
constexpr const char* kExitQuestion =  // ソフトウェアを終了します。宜しいですか？
    "\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41\x82\xF0\x8F\x49\x97\xB9\x82\xB5\x82\xDC\x82\xB7"
    "\x81\x42\x8B\x58\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48";
constexpr const char* kWarning = "\x8C\x78\x8D\x90";  // 警告
constexpr const char* kProportionalFace =
    "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";                         // ＭＳ Ｐゴシック
constexpr const char* kFixedFace = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
constexpr const char* kHelpCaption = "\x83\x77\x83\x8B\x83\x76";                            // ヘルプ
constexpr const char* kVersionCaption = "\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93\x8F\xEE\x95\xF1";  // バージョン情報
constexpr const char* kAlreadyRunning =  // 既に起動しております
    "\x8A\xF9\x82\xC9\x8B\x4E\x93\xAE\x82\xB5\x82\xC4\x82\xA8\x82\xE8\x82\xDC\x82\xB7";

// An empty folder of this test process under /tmp, ending in a backslash.
std::string ScratchFolder(const std::string& name) {
    const std::string folder =
        testsupport::WindowsPathOf("/tmp/varnedo-" + name + "-" + std::to_string(GetCurrentProcessId()));
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\uinf").c_str());
    return folder + "\\";
}

class MainWindow : public ::testing::Test, protected testsupport::ProgramForms {
protected:
    SIZE Client() const { return main->ClientSize(); }
};

struct Placement {
    const char* name;
    HWND window;
    HWND parent;
    RECT expected;  // left, top, right, bottom within the parent
};

void ExpectPlacements(const std::vector<Placement>& placements) {
    for (const Placement& p : placements) {
        EXPECT_EQ(p.parent, GetParent(p.window)) << p.name;
        const RECT r = uitest::BoundsInParent(p.window);
        EXPECT_EQ(p.expected.left, r.left) << p.name;
        EXPECT_EQ(p.expected.top, r.top) << p.name;
        EXPECT_EQ(p.expected.right, r.right) << p.name;
        EXPECT_EQ(p.expected.bottom, r.bottom) << p.name;
    }
}

RECT At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// Every control sits in its parent at its laid-out place and size; the top bar spans the width,
// the status bar the bottom, and the text area the rest.
TEST_F(MainWindow, ControlsSitWhereLaidOut) {
    EXPECT_EQ(989, main->Width());
    EXPECT_EQ(622, main->Height());
    EXPECT_EQ("Varnedo", uitest::WindowText(main->Handle()));
    const LONG style = GetWindowLongA(main->Handle(), GWL_STYLE);
    EXPECT_EQ(WS_OVERLAPPEDWINDOW, style & WS_OVERLAPPEDWINDOW);

    const SIZE c = Client();
    HWND panel4 = main->Panel4.Handle();
    ExpectPlacements({
        {"Panel4", panel4, main->Handle(), At(0, 0, c.cx, 89)},
        {"Panel3", main->Panel3.Handle(), panel4, At(1, 1, 89, 36)},
        {"Image1", main->Image1.Handle(), main->Panel3.Handle(), At(4, 3, 83, 31)},
        {"Panel1", main->Panel1.Handle(), panel4, At(95, 10, 42, 23)},
        {"ComboBox1", main->ComboBox1.Handle(), panel4, At(136, 10, 49, 24)},
        {"RadioGroup1", main->RadioGroup1.Handle(), panel4, At(198, 4, 131, 45)},
        {"GroupBox1", main->GroupBox1.Handle(), panel4, At(336, 4, 169, 45)},
        {"Button2", main->Button2.Handle(), main->GroupBox1.Handle(), At(16, 16, 57, 25)},
        {"Button3", main->Button3.Handle(), main->GroupBox1.Handle(), At(96, 16, 57, 25)},
        {"Button1", main->Button1.Handle(), panel4, At(520, 9, 73, 40)},
        {"Panel2", main->Panel2.Handle(), panel4, At(4, 52, 533, 25)},
        {"Memo1", main->Memo1.Handle(), main->Handle(), At(0, 89, c.cx, c.cy - 89 - 19)},
        {"StatusBar1", main->StatusBar1.Handle(), main->Handle(), At(0, c.cy - 19, c.cx, 19)},
    });
    EXPECT_EQ(main->Panel1.Handle(), GetParent(main->Label1.Handle()));
    EXPECT_EQ(4, main->Label1.Left());
    EXPECT_EQ(3, main->Label1.Top());
}

// Resizing keeps the top bar's height and its controls' places, keeps the status bar's height at the
// bottom, and gives the text area all the rest.
TEST_F(MainWindow, ResizingGivesTheRestToTheTextArea) {
    const SIZE outer[] = {{700, 500}, {1200, 780}, {400, 300}};
    for (const SIZE& size : outer) {
        SetWindowPos(main->Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const SIZE c = Client();
        ExpectPlacements({
            {"Panel4", main->Panel4.Handle(), main->Handle(), At(0, 0, c.cx, 89)},
            {"ComboBox1", main->ComboBox1.Handle(), main->Panel4.Handle(), At(136, 10, 49, 24)},
            {"Panel2", main->Panel2.Handle(), main->Panel4.Handle(), At(4, 52, 533, 25)},
            {"Memo1", main->Memo1.Handle(), main->Handle(), At(0, 89, c.cx, c.cy - 89 - 19)},
            {"StatusBar1", main->StatusBar1.Handle(), main->Handle(), At(0, c.cy - 19, c.cx, 19)},
        });
    }
}

// Minimising leaves the text area as it was: its size, its rows and the line it shows, so that a
// long text is not laid out again at no width and the reader's place survives the restore.
TEST_F(MainWindow, MinimisingKeepsTheTextAreaAndItsView) {
    std::string text;
    for (int line = 0; line < 20000; ++line) text += "line " + std::to_string(line) + std::string(50, '.') + "\r\n";
    main->Memo1.SetText(text);
    ShowWindow(main->Handle(), SW_SHOWNORMAL);
    HWND memo = main->Memo1.Handle();
    SendMessageA(memo, EM_LINESCROLL, 0, 5000);
    const RECT bounds = uitest::BoundsInParent(memo);
    const LRESULT rows = SendMessageA(memo, EM_GETLINECOUNT, 0, 0);
    ASSERT_EQ(5000, SendMessageA(memo, EM_GETFIRSTVISIBLELINE, 0, 0));

    ShowWindow(main->Handle(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main->Handle()));
    EXPECT_EQ(rows, SendMessageA(memo, EM_GETLINECOUNT, 0, 0)) << "laid out again while minimised";
    const RECT minimised = uitest::BoundsInParent(memo);
    EXPECT_EQ(bounds.right - bounds.left, minimised.right - minimised.left);

    ShowWindow(main->Handle(), SW_RESTORE);
    EXPECT_EQ(rows, SendMessageA(memo, EM_GETLINECOUNT, 0, 0));
    EXPECT_EQ(5000, SendMessageA(memo, EM_GETFIRSTVISIBLELINE, 0, 0));
    const RECT restored = uitest::BoundsInParent(memo);
    EXPECT_EQ(bounds.right, restored.right);
    EXPECT_EQ(bounds.bottom, restored.bottom);
}

struct TextCase {
    const char* name;
    HWND window;
    const char* text;
};

// The controls carry their captions as exact Shift_JIS bytes.
TEST_F(MainWindow, ControlCaptionsAreTheShiftJisTexts) {
    const TextCase cases[] = {
        {"Label1", main->Label1.Handle(), "COM"},
        {"RadioGroup1", main->RadioGroup1.Handle(), "\x89\xE6\x96\xCA\x90\x46\x91\x49\x91\xF0"},  // 画面色選択
        {"RadioGroup1 item 1", main->RadioGroup1.ButtonHandle(0), "1"},
        {"RadioGroup1 item 2", main->RadioGroup1.ButtonHandle(1), "2"},
        {"RadioGroup1 item 3", main->RadioGroup1.ButtonHandle(2), "3"},
        {"GroupBox1", main->GroupBox1.Handle(), "\x95\xB6\x8E\x9A\x82\xCC\x91\xE5\x82\xAB\x82\xB3"},  // 文字の大きさ
        {"Button2", main->Button2.Handle(), "\x91\xE5"},                                              // 大
        {"Button3", main->Button3.Handle(), "\x8F\xAC"},                                              // 小
        {"Button1", main->Button1.Handle(), "\x83\x4E\x83\x8A\x83\x41"},                              // クリア
        {"Panel2", main->Panel2.Handle(), ""},
        {"Memo1", main->Memo1.Handle(), ""},
    };
    for (const TextCase& c : cases) EXPECT_EQ(c.text, uitest::WindowText(c.window)) << c.name;

    ASSERT_EQ(32, main->ComboBox1.ItemCount());
    for (int i = 0; i < 32; ++i) EXPECT_EQ(std::to_string(i + 1), main->ComboBox1.ItemText(i));
    EXPECT_EQ(-1, main->ComboBox1.ItemIndex());
    EXPECT_EQ(-1, main->RadioGroup1.ItemIndex());
}

std::string MenuText(HMENU menu, UINT item, UINT flag) {
    char text[128] = {};
    GetMenuStringA(menu, item, text, sizeof text, flag);
    return text;
}

// The menu bar holds its popups and items in order, with their captions and command ids.
TEST_F(MainWindow, MenuBarHoldsItsItemsInOrder) {
    struct Popup {
        int position;
        const char* caption;
        std::vector<std::pair<UINT, const char*>> items;
    };
    const Popup popups[] = {
        {TMainForm::File1,
         "\x83\x74\x83\x40\x83\x43\x83\x8B\x28\x26\x46\x29",                // ファイル(&F)
         {{TMainForm::OpenO1, "\x8D\xC4\x90\xDA\x91\xB1\x28\x26\x4F\x29"},  // 再接続(&O)
          {TMainForm::LoadL1,
           "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x8A\x4A\x82\xAD\x28\x26\x4C\x29"},  // ファイルを開く(&L)
          {TMainForm::SaveS1,
           "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC9\x95\xDB\x91\xB6\x28\x26\x53\x29"},  // ファイルに保存(&S)
          {TMainForm::CloseC1, "\x95\xC2\x82\xB6\x82\xE9\x28\x26\x43\x29"}}},            // 閉じる(&C)
        {TMainForm::Edit1,
         "\x95\xD2\x8F\x57\x28\x26\x45\x29",                                           // 編集(&E)
         {{TMainForm::CopyC1, "\x83\x52\x83\x73\x81\x5B\x28\x26\x43\x29"},             // コピー(&C)
          {TMainForm::PasteP1, "\x93\x5C\x82\xE8\x95\x74\x82\xAF\x28\x26\x50\x29"}}},  // 貼り付け(&P)
        {TMainForm::H1,
         "\x83\x77\x83\x8B\x83\x76\x28\x26\x48\x29",                    // ヘルプ(&H)
         {{TMainForm::H2, "\x83\x77\x83\x8B\x83\x76\x28\x26\x48\x29"},  // ヘルプ(&H)
          {TMainForm::V1,
           "\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93\x8F\xEE\x95\xF1\x28\x26\x56\x29"}}},  // バージョン情報(&V)
    };
    HMENU bar = GetMenu(main->Handle());
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(3, GetMenuItemCount(bar));
    for (const Popup& popup : popups) {
        EXPECT_EQ(popup.caption, MenuText(bar, popup.position, MF_BYPOSITION));
        HMENU items = GetSubMenu(bar, popup.position);
        ASSERT_EQ(static_cast<int>(popup.items.size()), GetMenuItemCount(items));
        for (std::size_t i = 0; i < popup.items.size(); ++i) {
            EXPECT_EQ(popup.items[i].first, GetMenuItemID(items, static_cast<int>(i))) << popup.items[i].second;
            EXPECT_EQ(popup.items[i].second, MenuText(items, static_cast<UINT>(i), MF_BYPOSITION));
        }
    }
}

struct FontCase {
    const char* name;
    HWND window;
    const char* face;
    int height;
    bool bold;
};

// Each control uses its own font or the window's, always with the Shift_JIS character set.
TEST_F(MainWindow, ControlsUseTheirFonts) {
    const FontCase cases[] = {
        {"Label1", main->Label1.Handle(), kProportionalFace, -15, true},
        {"ComboBox1", main->ComboBox1.Handle(), kProportionalFace, -16, false},
        {"RadioGroup1", main->RadioGroup1.Handle(), kProportionalFace, -12, false},
        {"RadioGroup1 item", main->RadioGroup1.ButtonHandle(0), kProportionalFace, -12, false},
        {"GroupBox1", main->GroupBox1.Handle(), kProportionalFace, -12, false},
        {"Button2", main->Button2.Handle(), kProportionalFace, -12, false},
        {"Button3", main->Button3.Handle(), kProportionalFace, -12, false},
        {"Button1", main->Button1.Handle(), kProportionalFace, -15, true},
        {"Panel2", main->Panel2.Handle(), kFixedFace, -16, false},
        {"Memo1", main->Memo1.Handle(), kFixedFace, -19, false},
    };
    for (const FontCase& c : cases) {
        auto font = reinterpret_cast<HFONT>(SendMessageA(c.window, WM_GETFONT, 0, 0));
        ASSERT_NE(nullptr, font) << c.name;
        LOGFONTA info{};
        ASSERT_NE(0, GetObjectA(font, sizeof info, &info)) << c.name;
        EXPECT_STREQ(c.face, info.lfFaceName) << c.name;
        EXPECT_EQ(c.height, info.lfHeight) << c.name;
        EXPECT_EQ(c.bold, info.lfWeight >= FW_BOLD) << c.name;
        EXPECT_EQ(SHIFTJIS_CHARSET, info.lfCharSet) << c.name;
    }
}

// The text area wraps its lines, scrolls only vertically and has no length limit; until a colour
// scheme is applied it shows lime on silver.
TEST_F(MainWindow, TextAreaStartsLimeOnSilverAndWraps) {
    EXPECT_EQ(0x00C0C0C0u, main->Memo1.Colors().background);
    EXPECT_EQ(0x0000FF00u, main->Memo1.Colors().text);
    const LONG style = GetWindowLongA(main->Memo1.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
    main->Memo1.SetText(std::string(300, 'w'));
    EXPECT_GE(SendMessageA(main->Memo1.Handle(), EM_GETLINECOUNT, 0, 0), 3) << "300 characters wrap into rows";
    main->Memo1.Clear();
    EXPECT_GE(static_cast<DWORD>(SendMessageA(main->Memo1.Handle(), EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);
    EXPECT_EQ(0x00FFFFFFu, main->Panel2.Color());
    EXPECT_EQ(0x00FFFFFFu, main->Panel3.Color());
}

// Tab goes through the top bar (port list, Clear, colour choice, text size), then the text area.
TEST_F(MainWindow, TabOrderFollowsTheTopBarThenTheTextArea) {
    const HWND expected[] = {main->ComboBox1.Handle(), main->Button1.Handle(), main->RadioGroup1.ButtonHandle(0),
                             main->Button2.Handle(),   main->Button3.Handle(), main->Memo1.Handle(),
                             main->ComboBox1.Handle()};
    HWND current = expected[0];
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        current = GetNextDlgTabItem(main->Handle(), current, FALSE);
        EXPECT_EQ(expected[i], current) << "step " << i;
    }
}

// Showing the window records the program's directory, marks the port closed with no connection
// time, turns the lamp red, makes the status bar one text panel, starts the timer and centres the
// window on the desktop.
TEST_F(MainWindow, ShowSequencePreparesTheState) {
    main->LinkState = 1;
    main->ConnectTime = 45000.5;
    main->Panel1.SetColor(0x0000FF00);
    main->Timer1.SetEnabled(false);

    main->Show();

    EXPECT_EQ(testsupport::WindowsPathOf(VARNEDO_TEST_EXE_DIR) + "\\", main->AppDir);
    EXPECT_EQ(0, main->LinkState);
    EXPECT_EQ(0.0, main->ConnectTime);
    EXPECT_EQ(0x000000FFu, main->Panel1.Color());
    EXPECT_TRUE(main->StatusBar1.Simple());
    EXPECT_TRUE(main->Timer1.Enabled());
    EXPECT_EQ(50u, main->Timer1.Interval());
    const RECT placed = main->Bounds();
    EXPECT_EQ(std::max(0, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - 989) / 2), placed.left);
    EXPECT_EQ(std::max(0, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - 622) / 2), placed.top);
    EXPECT_EQ(989, placed.right - placed.left);
}

struct ExitCase {
    const char* name;
    int button;
    uitest::Answer how;
    std::int32_t linkStateBefore;
    bool canClose;
    std::int32_t linkStateAfter;
};

// The exit question: its text and caption, owned by the main window, no icon, No as default.
// Anything but Yes keeps everything; Yes allows the close and marks the port closed.
TEST_F(MainWindow, ExitQuestionDecidesTheClose) {
    const ExitCase cases[] = {
        {"No", IDNO, uitest::Answer::ClickButton, 1, false, 1},
        {"Enter", 0, uitest::Answer::PressEnter, 1, false, 1},
        {"Yes with the port open", IDYES, uitest::Answer::ClickButton, 1, true, 0},
        {"Yes with the port closed", IDYES, uitest::Answer::ClickButton, 0, true, 0},
    };
    main->Show();
    // The receive tick is not part of this: it would find no device behind the "open" port.
    main->Timer1.SetEnabled(false);
    // Yes writes the settings file: into a folder of the test's own, not beside the test program.
    main->AppDir = ScratchFolder("exit-question");
    for (const ExitCase& c : cases) {
        main->LinkState = c.linkStateBefore;
        bool canClose = !c.canClose;
        uitest::MessageBoxAnswerer answerer(kWarning, c.button, c.how);
        main->FormCloseQuery(nullptr, canClose);
        const uitest::MessageBoxSeen& seen = answerer.Wait();

        ASSERT_TRUE(seen.found) << c.name;
        EXPECT_EQ(kExitQuestion, seen.text) << c.name;
        EXPECT_EQ(main->Handle(), seen.owner) << c.name;
        EXPECT_FALSE(seen.hasIcon) << c.name;
        EXPECT_EQ(IDNO, seen.defaultButton) << c.name;
        EXPECT_EQ(c.canClose, canClose) << c.name;
        EXPECT_EQ(c.linkStateAfter, main->LinkState) << c.name;
    }
}

// Every way of asking to close (close box, system menu, the Close command, the session's end) asks
// the question, and No keeps the window.
TEST_F(MainWindow, EveryCloseRequestAsksTheQuestion) {
    main->Show();
    HWND window = main->Handle();
    struct Request {
        const char* name;
        std::function<void()> send;
    };
    LRESULT sessionAnswer = TRUE;
    const Request requests[] = {
        {"WM_CLOSE", [&] { SendMessageA(window, WM_CLOSE, 0, 0); }},
        {"system menu", [&] { SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Close command",
         [&] {
             SendMessageA(window, WM_COMMAND, MAKEWPARAM(TMainForm::CloseC1, 0), 0);
             uitest::PumpMessages(200);
         }},
        {"session end", [&] { sessionAnswer = SendMessageA(window, WM_QUERYENDSESSION, 0, 0); }},
    };
    for (const Request& r : requests) {
        uitest::MessageBoxAnswerer answerer(kWarning, IDNO);
        r.send();
        EXPECT_TRUE(answerer.Wait().found) << r.name;
        EXPECT_TRUE(IsWindowVisible(window)) << r.name;
    }
    EXPECT_EQ(FALSE, sessionAnswer);
}

// Clear empties the text area and the strip but keeps a waiting first byte; Undo puts the cleared
// text back before what arrived since.
TEST_F(MainWindow, ClearKeepsTheWaitingFirstByteAndCanBeUndone) {
    main->Memo1.SetText("AB\r\nCD");
    SendMessageA(main->Memo1.Handle(), EM_SETSEL, 0, 1);
    main->Panel2.SetCaption("CD");
    main->LeadByte = 0x82;

    SendMessageA(main->Button1.Handle(), BM_CLICK, 0, 0);

    EXPECT_EQ("", main->Memo1.Text());
    EXPECT_EQ("", main->Panel2.Caption());
    EXPECT_EQ(0x82, main->LeadByte);
    main->Memo1.AppendText("\r\nnew");
    SendMessageA(main->Memo1.Handle(), WM_CHAR, 0x1A, 0);  // Ctrl+Z
    EXPECT_EQ("AB\r\nCD\r\nnew", main->Memo1.Text());
}

bool SetClipboardText(const std::string& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    const bool set = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    return set;
}

std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "<clipboard busy>";
    std::string text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Copy and Paste work on the text area whichever control has the focus; Copy with nothing
// selected leaves the clipboard as it was, Paste replaces the selection.
TEST_F(MainWindow, CopyAndPasteUseTheTextAreaWhateverHasFocus) {
    main->Show();
    SetFocus(main->ComboBox1.Handle());
    main->Memo1.SetText(
        "ABC\x8A\xBF"
        "DEF");  // ABC漢DEF

    ASSERT_TRUE(SetClipboardText("keep"));
    SendMessageA(main->Memo1.Handle(), EM_SETSEL, 2, 2);
    SendMessageA(main->Handle(), WM_COMMAND, MAKEWPARAM(TMainForm::CopyC1, 0), 0);
    EXPECT_EQ("keep", ClipboardText());

    SendMessageA(main->Memo1.Handle(), EM_SETSEL, 1, -1);
    SendMessageA(main->Handle(), WM_COMMAND, MAKEWPARAM(TMainForm::CopyC1, 0), 0);
    EXPECT_EQ(
        "BC\x8A\xBF"
        "DEF",
        ClipboardText());
    EXPECT_EQ(main->ComboBox1.Handle(), GetFocus());

    ASSERT_TRUE(SetClipboardText("XY"));
    main->Memo1.SetText("ABCDEF");
    SendMessageA(main->Memo1.Handle(), EM_SETSEL, 2, 4);
    SendMessageA(main->Handle(), WM_COMMAND, MAKEWPARAM(TMainForm::PasteP1, 0), 0);
    EXPECT_EQ("ABXYEF", main->Memo1.Text());
}

// What the text area reports reaches the user in the program's words, in a plain box with the
// program's title: a full text area asks to save to a file, dropped lines say that old lines left.
TEST_F(MainWindow, TheTextAreasEventsAreToldInTheProgramsWords) {
    const struct {
        ui::TextAreaEvent event;
        const char* part;
    } cases[] = {{ui::TextAreaEvent::Full, "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC9\x95\xDB\x91\xB6"},
                 {ui::TextAreaEvent::LinesDropped, "\x8C\xC3\x82\xA2\x8D\x73"},
                 {ui::TextAreaEvent::TooMuchToCopy, "\x91\xBD\x82\xB7\x82\xAC\x82\xE9"},
                 {ui::TextAreaEvent::CopyFailed, "\x83\x52\x83\x73\x81\x5B\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1"}};
    for (const auto& c : cases) {
        uitest::MessageBoxAnswerer answerer("Varnedo", IDOK);
        main->Memo1.OnEvent(c.event);
        const uitest::MessageBoxSeen& seen = answerer.Wait();
        ASSERT_TRUE(seen.found);
        EXPECT_NE(seen.text.find(c.part), std::string::npos) << seen.text;
        EXPECT_FALSE(seen.hasIcon);
    }
}

struct InfoWindowSeen {
    bool mainEnabled = true;
    RECT bounds{};
    SIZE client{};
};

// Shows an information window through its menu command and closes it with its own button.
InfoWindowSeen ShowThroughMenu(TMainForm& mainForm, UINT command, const char* caption, HWND closeButton) {
    InfoWindowSeen seen;
    uitest::WindowWatcher watcher("UiForm", caption, [&](HWND window) {
        seen.mainEnabled = IsWindowEnabled(mainForm.Handle()) != FALSE;
        GetWindowRect(window, &seen.bounds);
        RECT client;
        GetClientRect(window, &client);
        seen.client = {client.right, client.bottom};
        SendMessageA(closeButton, BM_CLICK, 0, 0);
    });
    SendMessageA(mainForm.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    EXPECT_TRUE(watcher.Wait()) << caption;
    return seen;
}

// Help and Version open modally (the main window takes no input), centred on the main window at
// first, at their laid-out sizes, close with their own button and stay for the next showing.
TEST_F(MainWindow, HelpAndVersionOpenModallyAndCloseByTheirButton) {
    main->Show();
    // Help reads readme.txt from the program's directory: the build's, where it lies beside Varnedo.exe.
    const std::string program = testsupport::WindowsPathOf(VARNEDO_EXE);
    main->AppDir = program.substr(0, program.rfind('\\') + 1);
    const RECT owner = main->Bounds();

    const InfoWindowSeen helpSeen = ShowThroughMenu(*main, TMainForm::H2, kHelpCaption, help->Button1.Handle());
    EXPECT_FALSE(helpSeen.mainEnabled);
    EXPECT_EQ(483, helpSeen.client.cx);
    EXPECT_EQ(204, helpSeen.client.cy);
    const int helpWidth = helpSeen.bounds.right - helpSeen.bounds.left;
    EXPECT_EQ(owner.left + (989 - helpWidth) / 2, helpSeen.bounds.left);

    const InfoWindowSeen versionSeen =
        ShowThroughMenu(*main, TMainForm::V1, kVersionCaption, version->Button1.Handle());
    EXPECT_FALSE(versionSeen.mainEnabled);
    EXPECT_EQ(279, versionSeen.bounds.right - versionSeen.bounds.left);
    EXPECT_EQ(165, versionSeen.bounds.bottom - versionSeen.bounds.top);
    EXPECT_EQ(owner.left + (989 - 279) / 2, versionSeen.bounds.left);
    EXPECT_EQ(owner.top + (622 - 165) / 2, versionSeen.bounds.top);

    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(help->Visible());
    EXPECT_FALSE(version->Visible());
    EXPECT_TRUE(IsWindow(help->Handle()));
    EXPECT_TRUE(IsWindow(version->Handle()));
}

// The information windows' controls sit where laid out, with their initial captions.
TEST_F(MainWindow, InformationWindowsAreLaidOut) {
    HWND helpPanel = help->Panel1.Handle();
    HWND versionPanel = version->Panel1.Handle();
    ExpectPlacements({
        {"Help ListBox1", help->ListBox1.Handle(), helpPanel, At(8, 8, 465, 153)},
        {"Help Button1", help->Button1.Handle(), helpPanel, At(392, 168, 75, 25)},
        {"Version Button1", version->Button1.Handle(), versionPanel, At(184, 96, 75, 25)},
    });
    EXPECT_EQ(12, help->ListBox1.ItemHeight());
    EXPECT_EQ("\x95\xC2\x82\xB6\x82\xE9", uitest::WindowText(help->Button1.Handle()));  // 閉じる

    const TextCase labels[] = {
        {"ProductLabel", version->ProductLabel.Handle(), "ProductLabel"},
        {"Label1", version->Label1.Handle(), "Ver."},
        {"VersionLabel", version->VersionLabel.Handle(), "VersionLabel"},
        {"CompanyName", version->CompanyName.Handle(), "CompanyName"},
        {"CopyrightLabel", version->CopyrightLabel.Handle(), "CopyrightLabel"},
        {"Comments", version->Comments.Handle(), "Comments"},
    };
    const POINT places[] = {{8, 8}, {108, 11}, {132, 11}, {8, 40}, {8, 56}, {8, 80}};
    for (std::size_t i = 0; i < std::size(labels); ++i) {
        EXPECT_EQ(labels[i].text, uitest::WindowText(labels[i].window)) << labels[i].name;
        const RECT r = uitest::BoundsInParent(labels[i].window);
        EXPECT_EQ(places[i].x, r.left) << labels[i].name;
        EXPECT_EQ(places[i].y, r.top) << labels[i].name;
    }
}

}  // namespace

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

// Every window and control of the three windows is Unicode, so that it holds its text as UTF-16
// whatever the system's code page; the menu bar holds the captions converted from Shift_JIS.
TEST_F(MainWindow, EveryWindowIsUnicodeFromCreation) {
    std::vector<HWND> windows{main->Handle(), help->Handle(), version->Handle()};
    for (HWND form : {main->Handle(), help->Handle(), version->Handle()}) {
        EnumChildWindows(form, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    }
    ASSERT_GT(windows.size(), 30u);
    for (HWND window : windows) {
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        EXPECT_TRUE(IsWindowUnicode(window)) << className;
    }
    wchar_t caption[64] = {};
    GetMenuStringW(GetMenu(main->Handle()), 0, caption, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(L"\u30D5\u30A1\u30A4\u30EB(&F)"), caption);  // ファイル(&F)
}
