// The help and version windows of the real program, opened through their menu commands as a user
// opens them: the help list shows readme.txt beside the program once per line, the version window
// the program's own version fields; both are modal and close by their button. On request
// (scripts/screenshots.sh sets VARNEDO_SCREENSHOTS) the same journeys take the README's pictures.
#include <gtest/gtest.h>

#include "Main.h"
#include "support/program_driver.h"
#include "support/virtual_port.h"

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

using e2e::ClassOf;
using e2e::Descendants;
using e2e::ListItems;
using e2e::ProgramFolder;
using e2e::RunningProgram;
using e2e::WaitUntil;

namespace {

constexpr const char* kHelpCaption = "\x83\x77\x83\x8B\x83\x76";                                     // ヘルプ
constexpr const char* kVersionCaption = "\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93\x8F\xEE\x95\xF1";  // バージョン情報
constexpr const char* kClose = "\x95\xC2\x82\xB6\x82\xE9";                                           // 閉じる
constexpr const char* kCompany = "\x83\x94\x83\x40\x83\x8B\x83\x6C\x83\x68\x8D\x48\x96\x5B";  // ヴァルネド工房
constexpr COLORREF kNavy = 0x00800000;

// A visible top-level window of the program with this caption, once it has appeared.
HWND WaitForWindow(const RunningProgram& program, const char* caption) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "UiForm", caption)) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == program.ProcessId() && IsWindowVisible(w)) {
                found = w;
                return true;
            }
        }
        return false;
    });
    return found;
}

HWND DescendantOfClass(HWND window, const char* className) {
    for (HWND child : Descendants(window)) {
        if (ClassOf(child) == className) return child;
    }
    return nullptr;
}

HWND ButtonCaptioned(HWND window, const std::string& caption) {
    for (HWND child : Descendants(window)) {
        if (ClassOf(child) == "Button" && e2e::WindowText(child) == caption) return child;
    }
    return nullptr;
}

// readme.txt's lines as a reader of the Shift_JIS CR LF file takes them.
std::vector<std::string> LinesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Each label's text by its place in the window's panel.
std::map<std::pair<int, int>, std::string> LabelsByPlace(HWND window) {
    std::map<std::pair<int, int>, std::string> labels;
    for (HWND child : Descendants(window)) {
        if (ClassOf(child) != "Static") continue;
        RECT r;
        GetWindowRect(child, &r);
        POINT p{r.left, r.top};
        ScreenToClient(GetParent(child), &p);
        labels[{p.x, p.y}] = e2e::WindowText(child);
    }
    return labels;
}

// The main window showing some received lines, as it stands behind an information window.
struct ReceivingProgram {
    explicit ReceivingProgram(const char* name) : folder(name), program(folder), port(7) {
        program.ChoosePort(7);
        connected = WaitUntil([&] { return program.LampColour() == 0x0000FF00; });
        port.Send("2026/12/07 08:15:02 ライン1 計量 12.48kg 合格\n2026/12/07 08:15:04 ライン2 温度 23.5℃ 正常\n");
        received = WaitUntil([&] { return !program.MemoText().empty(); });
    }

    ProgramFolder folder;
    RunningProgram program;
    testsupport::VirtualPort port;
    bool connected = false;
    bool received = false;
};

// Whether the program's main window is seen with only `window` over it: no window of another program
// covers any part of it (the tests' X display is shared with other test programs).
bool ShownAlone(HWND window, HWND mainWindow) {
    RECT area;
    GetWindowRect(mainWindow, &area);
    bool windowAbove = false;
    for (HWND above = GetWindow(mainWindow, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        RECT r;
        RECT overlap;
        if (!IsWindowVisible(above) || !GetWindowRect(above, &r) || !IntersectRect(&overlap, &r, &area)) continue;
        if (above != window) return false;
        windowAbove = true;
    }
    return windowAbove;
}

// Saves the main window's rectangle with the information window over it, once both are painted and
// nothing else covers them; taken again when another program's window came in between.
void TakePicture(const ReceivingProgram& running, HWND window, const char* file) {
    ASSERT_TRUE(running.connected && running.received);
    const HWND mainWindow = running.program.MainWindow();
    bool taken = false;
    for (int attempt = 0; attempt < 20 && !taken; ++attempt) {
        if (!WaitUntil([&] { return ShownAlone(window, mainWindow); }, 10000)) continue;
        Sleep(500);  // painted
        taken = ShownAlone(window, mainWindow) &&
                e2e::SaveScreenshot(mainWindow, std::string(VARNEDO_DOCS_DIR "/") + file) &&
                ShownAlone(window, mainWindow);
    }
    EXPECT_TRUE(taken) << file;
}

bool ScreenshotsRequested() { return std::getenv("VARNEDO_SCREENSHOTS") != nullptr; }

}  // namespace

// Help lists every line of the program's readme.txt once, also at its second showing; the main
// window takes no input while it is open, and its Close button ends it.
TEST(InfoWindowsJourney, HelpThroughItsMenuCommand) {
    ProgramFolder folder("help");
    RunningProgram program(folder);
    const std::vector<std::string> lines = LinesOf(folder.ReadFile("readme.txt").value_or(""));
    ASSERT_GT(lines.size(), 10u);

    for (int showing = 1; showing <= 2; ++showing) {
        program.PostCommand(TMainForm::H2);
        HWND help = WaitForWindow(program, kHelpCaption);
        ASSERT_NE(nullptr, help) << "showing " << showing;
        EXPECT_FALSE(IsWindowEnabled(program.MainWindow()));
        EXPECT_EQ(lines, ListItems(DescendantOfClass(help, "ListBox"))) << "showing " << showing;

        program.Click(ButtonCaptioned(help, kClose));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(help); }));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.MainWindow()) != FALSE; }));
    }
}

// Version shows the program's own product name in navy, "Ver." and its file version on one line,
// then its company, copyright and web address, at every showing; OK ends it.
TEST(InfoWindowsJourney, VersionThroughItsMenuCommand) {
    ProgramFolder folder("version");
    RunningProgram program(folder);
    const std::map<std::pair<int, int>, std::string> expected{
        {{8, 8}, "Varnedo"},
        {{108, 11}, "Ver."},
        {{132, 11}, "1.0.8.2"},
        {{8, 40}, kCompany},
        {{8, 56}, std::string("Copyright (C) 2026 ") + kCompany},
        {{8, 80}, "https://varnedo.example.jp/"},
    };

    for (int showing = 1; showing <= 2; ++showing) {
        program.PostCommand(TMainForm::V1);
        HWND version = WaitForWindow(program, kVersionCaption);
        ASSERT_NE(nullptr, version) << "showing " << showing;
        EXPECT_FALSE(IsWindowEnabled(program.MainWindow()));
        EXPECT_EQ(expected, LabelsByPlace(version)) << "showing " << showing;

        HWND product = nullptr;
        for (HWND child : Descendants(version)) {
            if (ClassOf(child) == "Static" && e2e::WindowText(child) == "Varnedo") product = child;
        }
        ASSERT_NE(nullptr, product);
        RECT area;
        GetClientRect(product, &area);
        const bool navy = WaitUntil(
            [&] {
                for (int y = 0; y < area.bottom; ++y) {
                    for (int x = 0; x < area.right; ++x) {
                        if (program.PixelAt(product, x, y) == kNavy) return true;
                    }
                }
                return false;
            },
            3000, 50);
        EXPECT_TRUE(navy);

        program.Click(ButtonCaptioned(version, "OK"));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(version); }));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.MainWindow()) != FALSE; }));
    }
}

// The README's pictures: each information window over the main window, which shows some received
// text.
TEST(Screenshots, HelpWindowOverTheMainWindow) {
    if (!ScreenshotsRequested()) GTEST_SKIP() << "taken by scripts/screenshots.sh";
    ReceivingProgram running("help-shot");
    running.program.PostCommand(TMainForm::H2);
    HWND help = WaitForWindow(running.program, kHelpCaption);
    ASSERT_NE(nullptr, help);
    TakePicture(running, help, "help-window.png");
    running.program.Click(ButtonCaptioned(help, kClose));
}

TEST(Screenshots, VersionWindowOverTheMainWindow) {
    if (!ScreenshotsRequested()) GTEST_SKIP() << "taken by scripts/screenshots.sh";
    ReceivingProgram running("version-shot");
    running.program.PostCommand(TMainForm::V1);
    HWND version = WaitForWindow(running.program, kVersionCaption);
    ASSERT_NE(nullptr, version);
    TakePicture(running, version, "version-window.png");
    running.program.Click(ButtonCaptioned(version, "OK"));
}
