// The real program from start to end of a session: it connects to the chosen port, shows what the
// device sends in the text area, the strip and the status line, follows port changes, reconnects,
// survives an unplugged device and ends only after the exit question.
#include <gtest/gtest.h>

#include "support/program_driver.h"
#include "support/virtual_port.h"

#include <cstdio>
#include <string>

using e2e::ProgramFolder;
using e2e::RunningProgram;
using e2e::WaitUntil;
using testsupport::VirtualPort;

namespace {

constexpr COLORREF kGreen = 0x0000FF00;
constexpr COLORREF kRed = 0x000000FF;
constexpr const char* kClockLabel = "\x8C\xBB\x8D\xDD\x8E\x9E\x8D\x8F\x81\x46";               // 現在時刻：
constexpr const char* kConnectionLabel = "\x81\x40\x90\xDA\x91\xB1\x8E\x9E\x8A\xD4\x81\x46";  // 　接続時間：
constexpr const char* kWarning = "\x8C\x78\x8D\x90";                                          // 警告
constexpr const char* kNihon = "\x93\xFA\x96\x7B";                                            // 日本
constexpr const char* kKatakanaPoint = "\x81\x45";                                            // ・
constexpr const char* kAlreadyRunning =  // 既に起動しております
    "\x8A\xF9\x82\xC9\x8B\x4E\x93\xAE\x82\xB5\x82\xC4\x82\xA8\x82\xE8\x82\xDC\x82\xB7";

bool LampIs(const RunningProgram& program, COLORREF colour) {
    const bool seen = WaitUntil([&] { return program.LampColour() == colour; }, 3000);
    if (!seen) {
        RECT r;
        GetWindowRect(program.Lamp(), &r);
        std::printf("lamp %p at %ld,%ld shows %06lx\n", (void*)program.Lamp(), r.left, r.top, program.LampColour());
    }
    return seen;
}

}  // namespace

// Text from the device appears as it arrives, two-byte characters whole even when their bytes come
// in different ticks; the strip shows the newest characters and the status line the connection time.
TEST(RealProgram, ShowsWhatTheDeviceSends) {
    ProgramFolder folder("receive");
    RunningProgram program(folder);
    VirtualPort port(2);
    EXPECT_TRUE(LampIs(program, kRed));
    // The first tick writes the status line; the window may be up a moment before it.
    EXPECT_TRUE(WaitUntil([&] { return program.StatusText().find(kClockLabel) == 0; })) << program.StatusText();
    EXPECT_EQ(std::string::npos, program.StatusText().find(kConnectionLabel));

    program.ChoosePort(2);
    ASSERT_TRUE(LampIs(program, kGreen));

    ASSERT_TRUE(port.Send("AB\r\nC"));
    ASSERT_TRUE(port.Send("\x93"));  // 日 split across ticks
    Sleep(200);
    ASSERT_TRUE(port.Send("\xFA\x96\x7B"));  // ...and 本
    ASSERT_TRUE(port.Send("\x81"));          // ・ split across ticks through the held first byte
    Sleep(200);
    ASSERT_TRUE(port.Send("\x45\n"));
    const std::string expected = std::string("AB\r\nC") + kNihon + kKatakanaPoint + "\r\n";
    EXPECT_TRUE(WaitUntil([&] { return program.MemoText() == expected; })) << program.MemoText();
    EXPECT_EQ(std::string("ABC") + kNihon + kKatakanaPoint, program.StripText());
    EXPECT_NE(std::string::npos, program.StatusText().find(kConnectionLabel)) << program.StatusText();
}

// Picking another port closes the open one; reconnect and an unplugged device turn the lamp red,
// and the port opens again by itself once the device is back.
TEST(RealProgram, FollowsPortChoiceReconnectAndUnplug) {
    ProgramFolder folder("link");
    RunningProgram program(folder);
    VirtualPort first(8);
    VirtualPort second(4);
    program.ChoosePort(8);
    ASSERT_TRUE(LampIs(program, kGreen));

    program.ChoosePort(4);
    ASSERT_TRUE(LampIs(program, kGreen));
    ASSERT_TRUE(second.Send("four"));
    ASSERT_TRUE(first.Send("three"));
    EXPECT_TRUE(WaitUntil([&] { return program.MemoText() == "four"; })) << program.MemoText();

    program.PostCommand(0x0101);  // File > Reconnect
    EXPECT_TRUE(LampIs(program, kGreen));
    ASSERT_TRUE(second.Send("+"));
    EXPECT_TRUE(WaitUntil([&] { return program.MemoText() == "four+"; }));

    second.Unplug();
    EXPECT_TRUE(LampIs(program, kRed));
    Sleep(300);  // several ticks of failing attempts, none of them shown
    EXPECT_TRUE(program.Running());
    second.Plug();
    ASSERT_TRUE(LampIs(program, kGreen));
    ASSERT_TRUE(second.Send("back"));
    EXPECT_TRUE(WaitUntil([&] { return program.MemoText() == "four+back"; })) << program.MemoText();
}

// Closing asks first: No keeps the program running as it was, Yes ends it with exit code 0.
TEST(RealProgram, EndsOnlyAfterTheExitQuestion) {
    ProgramFolder folder("exit");
    RunningProgram program(folder);
    PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    auto question = program.WaitForBox(kWarning);
    ASSERT_TRUE(question.has_value());
    program.Press(question->box, IDNO);
    Sleep(200);
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(IsWindowVisible(program.MainWindow()));

    program.PostCommand(0x0104);  // File > Close
    question = program.WaitForBox(kWarning);
    ASSERT_TRUE(question.has_value());
    program.Press(question->box, IDYES);
    EXPECT_EQ(std::optional<DWORD>(0), program.WaitForExit());
}

// Only one copy runs: a second start says so under the program file's name and ends with exit
// code 0 without a window, while the first copy runs on undisturbed and ends normally later.
TEST(RealProgram, SecondStartSaysItIsAlreadyRunning) {
    ProgramFolder folder("twice");
    RunningProgram first(folder);
    RunningProgram second(folder, RunningProgram::Expect::NoWindow);
    const auto message = second.WaitForBox("Varnedo", 15000);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(kAlreadyRunning, message->text);
    EXPECT_EQ(nullptr, GetDlgItem(message->box, 0x0014));  // the box's icon control: none
    second.Press(message->box, IDOK);
    EXPECT_EQ(std::optional<DWORD>(0), second.WaitForExit());

    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsWindowVisible(first.MainWindow()));
    PostMessageA(first.MainWindow(), WM_CLOSE, 0, 0);
    const auto question = first.WaitForBox(kWarning);
    ASSERT_TRUE(question.has_value());
    first.Press(question->box, IDYES);
    EXPECT_EQ(std::optional<DWORD>(0), first.WaitForExit());
}
