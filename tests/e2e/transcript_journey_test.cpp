// The real program keeps a transcript: what the device sent is saved through the save dialog,
// the text area is cleared, the file is loaded back through the open dialog and saved again; both
// files hold exactly the received text, every line ending in CR LF.
#include <gtest/gtest.h>

#include "support/program_driver.h"
#include "support/virtual_port.h"

#include <optional>
#include <string>

using e2e::ProgramFolder;
using e2e::RunningProgram;
using e2e::WaitUntil;

namespace {

constexpr UINT kSaveCommand = 0x0103;  // File > Save to file
constexpr UINT kLoadCommand = 0x0102;  // File > Open file
constexpr int kFileNameBox = 0x47C;
constexpr COLORREF kGreen = 0x0000FF00;
constexpr const char* kClear = "\x83\x4E\x83\x8A\x83\x41";  // クリア

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchFileDialog(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || std::string(className) != "#32770" || !IsWindowVisible(window) ||
        !GetDlgItem(window, kFileNameBox))
        return TRUE;
    search->found = window;
    return FALSE;
}

// Gives the program's file dialog a name and confirms it, as a user typing it would.
bool ChooseFileInDialog(const RunningProgram& program, const std::string& path) {
    DialogSearch search{program.ProcessId(), nullptr};
    if (!WaitUntil([&] { return !EnumWindows(MatchFileDialog, reinterpret_cast<LPARAM>(&search)); })) return false;
    SendDlgItemMessageA(search.found, kFileNameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    program.Press(search.found, IDOK);
    return WaitUntil([&] { return !IsWindow(search.found) || !IsWindowVisible(search.found); });
}

}  // namespace

TEST(RealProgram, TranscriptSurvivesSaveClearLoadAndSaveAgain) {
    ProgramFolder folder("transcript");
    RunningProgram program(folder);
    testsupport::VirtualPort port(5);
    program.ChoosePort(5);
    ASSERT_TRUE(WaitUntil([&] { return program.LampColour() == kGreen; }));

    // あいう漢字テスト / ABC 123 / ｶﾀｶﾅ ソ (a second byte 5C) / an empty line, each ended by a LF.
    const std::string received =
        "\x82\xA0\x82\xA2\x82\xA4\x8A\xBF\x8E\x9A\x83\x65\x83\x58\x83\x67\n"
        "ABC 123\n"
        "\xB6\xC0\xB6\xC5 \x83\x5C\n"
        "\n";
    const std::string withCrLf =
        "\x82\xA0\x82\xA2\x82\xA4\x8A\xBF\x8E\x9A\x83\x65\x83\x58\x83\x67\r\n"
        "ABC 123\r\n"
        "\xB6\xC0\xB6\xC5 \x83\x5C\r\n"
        "\r\n";
    ASSERT_TRUE(port.Send(received));
    ASSERT_TRUE(WaitUntil([&] { return program.MemoText() == withCrLf; })) << program.MemoText();

    program.PostCommand(kSaveCommand);
    ASSERT_TRUE(ChooseFileInDialog(program, folder.FilePath("first.txt")));
    ASSERT_TRUE(WaitUntil([&] { return folder.ReadFile("first.txt") == withCrLf; }));

    program.Click(program.ButtonCaptioned(kClear));
    ASSERT_TRUE(WaitUntil([&] { return program.MemoText().empty(); }));

    program.PostCommand(kLoadCommand);
    ASSERT_TRUE(ChooseFileInDialog(program, folder.FilePath("first.txt")));
    EXPECT_TRUE(WaitUntil([&] { return program.MemoText() == withCrLf; })) << program.MemoText();

    program.PostCommand(kSaveCommand);
    ASSERT_TRUE(ChooseFileInDialog(program, folder.FilePath("second.txt")));
    ASSERT_TRUE(WaitUntil([&] { return folder.Exists("second.txt"); }));

    const auto first = folder.ReadFile("first.txt");
    const auto second = folder.ReadFile("second.txt");
    EXPECT_EQ(std::optional<std::string>(withCrLf), first);
    EXPECT_EQ(first, second) << "both files are byte-identical";
}
