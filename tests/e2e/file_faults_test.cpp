// The real program among damaged and unwritable files, driven from this separate process: damaged
// settings files, a program folder or a transcript folder where nothing can be written, and huge and
// odd transcripts. COM ports 9 and 10. Some cases mount small file systems, so they need root.
#include <gtest/gtest.h>

#include "support/fault_helpers.h"
#include "support/program_driver.h"
#include "support/test_files.h"
#include "support/virtual_port.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

using e2e::AnswerMilliseconds;
using e2e::AnswerProbe;
using e2e::ChooseFileInDialog;
using e2e::ConfirmFileDialog;
using e2e::ConnectTo;
using e2e::FirstDifference;
using e2e::FolderCondition;
using e2e::Now;
using e2e::ProgramFolder;
using e2e::RunningProgram;
using e2e::SecondsSince;
using e2e::UnixFolder;
using e2e::WaitUntil;
using testsupport::FileNamesIn;
using testsupport::VirtualPort;

namespace {

constexpr UINT kSaveCommand = 0x0103;                       // File > Save to file
constexpr UINT kLoadCommand = 0x0102;                       // File > Open file
constexpr const char* kClear = "\x83\x4E\x83\x8A\x83\x41";  // クリア
constexpr const char* kWarning = "\x8C\x78\x8D\x90";        // 警告
constexpr const char* kWriteFailed =                        // ファイルの書き込みに失敗しました
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x82\xB5"
    "\x82\xDC\x82\xB5\x82\xBD";

std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
    return bytes;
}

}  // namespace

struct DamagedSettings {
    const char* damage;
    std::string file;
    std::optional<std::string> portShown;  // the port list's text; nullopt: whatever the bytes say
    std::optional<std::string> written;    // the file written at the exit after choosing COM9
};

// Whatever a damaged settings file holds, the program comes up at once, usable: the window at a
// size the desktop holds, the top bar with its controls and a text area with room for text; what
// the file does not give usably (missing, beyond the 32-bit range, a text size no window can show)
// stays as laid out. It receives, and ends normally writing a sound file.
TEST(RealProgramFaults, DamagedSettingsFilesLeaveAUsableWindow) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    const auto lines = [](const std::string& value) {
        return value + "\r\n" + value + "\r\n" + value + "\r\n" + value + "\r\n" + value;
    };
    const std::string layout = "\r\n12\r\n622\r\n989";
    const DamagedSettings cases[] = {
        {"empty", "", "", "9\r\n-1" + layout},
        {"one short line", "7", "7", "9\r\n-1" + layout},
        {"every byte value in order (0x1A ends a text file)", everyByte, "1", "9\r\n0" + layout},
        {"random binary", RandomBytes(4096, 99), std::nullopt, std::nullopt},
        {"the largest 32-bit numbers", lines("2147483647"), "1", std::nullopt},
        {"the smallest 32-bit numbers", lines("-2147483648"), "1", "9\r\n-1" + layout},
        {"numbers beyond 32 bits", lines("99999999999"), "", "9\r\n-1" + layout},
        {"a text size of 0", "2\r\n1\r\n0\r\n622\r\n989", "2", "9\r\n1" + layout},
        {"a text size of 1000 points", "2\r\n1\r\n1000\r\n622\r\n989", "2", "9\r\n1" + layout},
        {"10 MB of digits", std::string(10'000'000, '7'), "", "9\r\n-1" + layout},
    };
    VirtualPort port(9);
    for (const DamagedSettings& c : cases) {
        SCOPED_TRACE(c.damage);
        ProgramFolder folder("damaged-settings");
        folder.WriteFile("uinf", c.file);
        const LARGE_INTEGER start = Now();
        RunningProgram program(folder);
        const double upSeconds = SecondsSince(start);
        EXPECT_LT(upSeconds, 5.0);
        const std::optional<double> answer = AnswerMilliseconds(program.MainWindow());
        ASSERT_TRUE(answer.has_value());

        RECT window, topBar, strip, textArea;
        GetWindowRect(program.MainWindow(), &window);
        GetWindowRect(program.TopBar(), &topBar);
        GetWindowRect(program.Strip(), &strip);
        GetWindowRect(program.Memo(), &textArea);
        EXPECT_LE(window.right - window.left, GetSystemMetrics(SM_CXMAXTRACK));
        EXPECT_LE(window.bottom - window.top, GetSystemMetrics(SM_CYMAXTRACK));
        EXPECT_GE(textArea.bottom - textArea.top, 100) << "the text area has no room for text";
        if (c.portShown) {
            EXPECT_EQ(*c.portShown, e2e::WindowText(program.PortList()));
            EXPECT_EQ(89, topBar.bottom - topBar.top);
            EXPECT_EQ(533, strip.right - strip.left);
            EXPECT_EQ(25, strip.bottom - strip.top);
        }

        ASSERT_TRUE(ConnectTo(program, 9));
        ASSERT_TRUE(port.Send("ok\n"));
        EXPECT_TRUE(WaitUntil([&] { return program.MemoText() == "ok\r\n"; })) << program.MemoText();
        PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
        const auto question = program.WaitForBox(kWarning);
        ASSERT_TRUE(question.has_value());
        program.Press(question->box, IDYES);
        EXPECT_EQ(std::optional<DWORD>(0), program.WaitForExit());
        if (c.written) {
            EXPECT_EQ(c.written, folder.ReadFile("uinf"));
        }
        std::printf("%s: window up in %.2f s, answered in %.1f ms; window %ld x %ld, text area %ld px high\n", c.damage,
                    upSeconds, *answer, window.right - window.left, window.bottom - window.top,
                    textArea.bottom - textArea.top);
    }
}

struct UnwritableFolder {
    const char* how;
    std::vector<std::string> conditions;  // disk_fixtures.sh commands on the program's folder
    std::vector<std::string> namesAfter;
};

// Where nothing can be written in the program's folder at the exit (a read-only mount, a full disk),
// the earlier settings file stays exactly as it was, nothing is left beside it, no message holds up
// the end, and the program ends with exit code 0.
TEST(RealProgramFaults, UnwritableProgramFolderAtTheExitEndsNormally) {
    const std::string earlier = "4\r\n2\r\n16\r\n600\r\n900";
    const UnwritableFolder cases[] = {
        {"a read-only mount", {"readonly"}, {"Varnedo.exe", "readme.txt", "uinf"}},
        {"a full disk", {"own", "fill"}, {"Varnedo.exe", "filler", "readme.txt", "uinf"}},
    };
    for (const UnwritableFolder& c : cases) {
        SCOPED_TRACE(c.how);
        ProgramFolder folder("unwritable-exit");
        folder.WriteFile("uinf", earlier);
        FolderCondition condition(UnixFolder(folder.Path()), c.conditions);
        ASSERT_TRUE(condition.Made());
        ASSERT_FALSE(e2e::CanCreateFileIn(folder.Path())) << "the folder can still be written";

        RunningProgram program(folder);
        program.Click(program.SchemeButton(0));  // a change that the exit would save
        std::optional<DWORD> exitCode;
        ASSERT_TRUE(e2e::EndThroughTheExitQuestion(program, exitCode));
        EXPECT_EQ(std::optional<DWORD>(0), exitCode) << "no normal end within 10 s";
        EXPECT_EQ(std::optional<std::string>(earlier), folder.ReadFile("uinf"));
        EXPECT_EQ(c.namesAfter, FileNamesIn(folder.Path()));
    }
}

// Saving a transcript into a folder where nothing can be written (a read-only mount) says
// "ファイルの書き込みに失敗しました", leaves the earlier transcript there exactly as it was, and adds
// nothing.
TEST(RealProgramFaults, SavingIntoAReadOnlyFolderSaysSoAndKeepsTheEarlierFile) {
    ProgramFolder folder("readonly-save");
    const std::string earlier = "the earlier transcript\r\n";
    ASSERT_TRUE(CreateDirectoryA(folder.FilePath("ro").c_str(), nullptr));
    folder.WriteFile("ro\\keep.txt", earlier);
    FolderCondition condition(UnixFolder(folder.FilePath("ro")), {"readonly"});
    ASSERT_TRUE(condition.Made());
    ASSERT_FALSE(e2e::CanCreateFileIn(folder.FilePath("ro\\")));

    RunningProgram program(folder);
    VirtualPort port(10);
    ASSERT_TRUE(ConnectTo(program, 10));
    ASSERT_TRUE(port.Send("received text\n"));
    ASSERT_TRUE(WaitUntil([&] { return program.MemoText() == "received text\r\n"; }));

    for (const char* name : {"ro\\keep.txt", "ro\\new.txt"}) {
        SCOPED_TRACE(name);
        program.PostCommand(kSaveCommand);
        ASSERT_TRUE(ConfirmFileDialog(program, folder.FilePath(name)));
        EXPECT_EQ(std::optional<std::string>(kWriteFailed), e2e::MessageAfterTheDialog(program));
        EXPECT_EQ(std::optional<std::string>(earlier), folder.ReadFile("ro\\keep.txt"));
        EXPECT_EQ(std::vector<std::string>{"keep.txt"}, FileNamesIn(folder.FilePath("ro\\")));
    }
    EXPECT_EQ("received text\r\n", program.MemoText());
}

struct HugeTranscript {
    const char* kind;
    std::string file;
    std::string shown;  // the text area after loading it into an empty one
};

// Very large and odd transcripts load completely, and a following Clear empties the text area at
// once.
TEST(RealProgramFaults, HugeAndOddTranscriptsLoadAndLeaveTheWindowUsable) {
    std::vector<HugeTranscript> cases;
    {
        const std::string line = std::string(1'000'000, 'x');
        cases.push_back({"a single line of 1 MB", line, line + "\r\n"});
    }
    {
        std::string file, shown;
        while (file.size() < 300'000) {
            file += std::string("abc\0def\r\n", 9);
            shown += "abcdef\r\n";
        }
        file +=
            "\x1A"
            "after the end\r\n";
        cases.push_back({"NUL bytes in every line, Ctrl-Z before the end", file, shown});
    }
    {
        std::string file;
        const std::string line = "\x82\xA0\x82\xA2\x82\xA4 0123456789 abcdefghijklmnopqrstuvwxyz \x8A\xBF\x8E\x9A\r\n";
        while (file.size() < 10'000'000) file += line;
        cases.push_back({"10 MB of lines", file, file});
    }

    ProgramFolder folder("huge-transcripts");
    RunningProgram program(folder);
    for (const HugeTranscript& c : cases) {
        SCOPED_TRACE(c.kind);
        folder.WriteFile("huge.txt", c.file);
        program.PostCommand(kLoadCommand);
        const LARGE_INTEGER start = Now();
        ASSERT_TRUE(ChooseFileInDialog(program, folder.FilePath("huge.txt")));
        // The window answers while the file is read: the load is complete once the text is all there.
        ASSERT_TRUE(WaitUntil(
            [&] {
                return static_cast<std::size_t>(SendMessageA(program.Memo(), WM_GETTEXTLENGTH, 0, 0)) >= c.shown.size();
            },
            120000, 20))
            << "the load did not end within 2 minutes";
        const double loadSeconds = SecondsSince(start);
        const std::string shown = program.MemoText();
        EXPECT_TRUE(shown == c.shown) << FirstDifference(c.shown, shown);

        const LARGE_INTEGER clearStart = Now();
        program.Click(program.ButtonCaptioned(kClear));
        EXPECT_TRUE(WaitUntil([&] { return program.MemoText().empty(); }));
        const double clearSeconds = SecondsSince(clearStart);
        const std::optional<double> answer = AnswerMilliseconds(program.MainWindow());
        ASSERT_TRUE(answer.has_value());
        EXPECT_LT(*answer, 200.0);
        EXPECT_LT(clearSeconds, 5.0);
        std::printf("%s (%zu bytes): loaded in %.2f s, cleared in %.2f s, then answered in %.1f ms\n", c.kind,
                    c.file.size(), loadSeconds, clearSeconds, *answer);
    }
}
