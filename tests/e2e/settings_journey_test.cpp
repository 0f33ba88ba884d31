// The settings carried from one run of the real program to the next: what the user chose before a
// confirmed exit is what the next start shows, down to the bytes of the settings file.
#include <gtest/gtest.h>

#include "support/program_driver.h"
#include "support/virtual_port.h"

#include <string>

using e2e::ProgramFolder;
using e2e::RunningProgram;
using e2e::WaitUntil;
using testsupport::VirtualPort;

namespace {

constexpr COLORREF kGreen = 0x0000FF00;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;
constexpr const char* kWarning = "\x8C\x78\x8D\x90";                       // 警告
constexpr const char* kLarger = "\x91\xE5";                                // 大
constexpr const char* kBlackSquares = "\x81\xA1\x81\xA1\x81\xA1\x81\xA1";  // ■■■■
constexpr UINT kCloseCommand = 0x0104;                                     // File > Close

// The lines 3, 1, 14, 622 and 989: COM3, scheme "2", a 14-point strip, the window at its layout size.
const std::string kSaved = "\x33\x0D\x0A\x31\x0D\x0A\x31\x34\x0D\x0A\x36\x32\x32\x0D\x0A\x39\x38\x39";

SIZE SizeOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// Somewhere on the text area's first line a pixel has exactly this colour.
bool FirstLineShows(const RunningProgram& program, COLORREF colour) {
    for (int y = 2; y < 24; ++y)
        for (int x = 2; x < 90; ++x)
            if (program.PixelAt(program.Memo(), x, y) == colour) return true;
    return false;
}

void ExitWithYes(RunningProgram& program) {
    program.PostCommand(kCloseCommand);
    const auto question = program.WaitForBox(kWarning);
    ASSERT_TRUE(question.has_value());
    program.Press(question->box, IDYES);
    ASSERT_EQ(std::optional<DWORD>(0), program.WaitForExit());
}

}  // namespace

// From no settings file: COM3, scheme "2" and one "大", then Yes at the exit, write the 18 bytes;
// the next start selects COM3 and opens it, shows black on white and the 14-point strip.
TEST(RealProgram, RestoresTheSettingsOfTheLastRun) {
    ProgramFolder folder("settings");
    VirtualPort port(3);
    ASSERT_FALSE(folder.Exists("uinf"));
    {
        RunningProgram program(folder);
        program.ChoosePort(3);
        program.Click(program.SchemeButton(1));
        program.Click(program.ButtonCaptioned(kLarger));
        EXPECT_TRUE(WaitUntil([&] { return program.LampColour() == kGreen; }, 3000));
        ExitWithYes(program);
    }
    EXPECT_EQ(kSaved, folder.ReadFile("uinf"));

    RunningProgram program(folder);
    EXPECT_EQ(2, SendMessageA(program.PortList(), CB_GETCURSEL, 0, 0));
    EXPECT_EQ("3", e2e::WindowText(program.PortList()));
    EXPECT_TRUE(WaitUntil([&] { return program.LampColour() == kGreen; }, 3000)) << "COM3 did not open";
    EXPECT_EQ(BST_CHECKED, SendMessageA(program.SchemeButton(1), BM_GETCHECK, 0, 0));
    EXPECT_EQ(kWhite, program.MemoBackground());
    ASSERT_TRUE(port.Send(kBlackSquares));
    EXPECT_TRUE(WaitUntil([&] { return FirstLineShows(program, kBlack); }, 3000)) << "no black text";

    const SIZE strip = SizeOf(program.Strip());
    EXPECT_EQ(553, strip.cx);
    EXPECT_EQ(27, strip.cy);
    EXPECT_EQ(91, SizeOf(program.TopBar()).cy);
    const SIZE window = SizeOf(program.MainWindow());
    EXPECT_EQ(989, window.cx);
    EXPECT_EQ(622, window.cy);

    ExitWithYes(program);
    EXPECT_EQ(kSaved, folder.ReadFile("uinf")) << "an exit without changes writes the same file";
}

// Started from a shortcut set to "minimised", the program stays a minimised window and reads its
// settings only when the user restores it; the window then opens at their size, centred.
TEST(RealProgram, StartedMinimisedShowsAtTheRestore) {
    ProgramFolder folder("minimised");
    folder.WriteFile("uinf", "31\r\n1\r\n12\r\n500\r\n700");
    RunningProgram program(folder, RunningProgram::Expect::MainWindow, SW_SHOWMINNOACTIVE);
    Sleep(300);  // ticks run meanwhile
    EXPECT_TRUE(IsIconic(program.MainWindow()));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(program.SchemeButton(1), BM_GETCHECK, 0, 0)) << "no settings read yet";

    ShowWindow(program.MainWindow(), SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(program.MainWindow()); }));
    EXPECT_EQ(BST_CHECKED, SendMessageA(program.SchemeButton(1), BM_GETCHECK, 0, 0));
    RECT bounds{};
    GetWindowRect(program.MainWindow(), &bounds);
    EXPECT_EQ(700, bounds.right - bounds.left);
    EXPECT_EQ(500, bounds.bottom - bounds.top);
    EXPECT_EQ((GetSystemMetrics(SM_CXVIRTUALSCREEN) - 700) / 2, bounds.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYVIRTUALSCREEN) - 500) / 2, bounds.top);
}
