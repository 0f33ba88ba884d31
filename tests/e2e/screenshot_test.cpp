// Pictures of the real program for the README, taken only on request (scripts/screenshots.sh sets
// VARNEDO_SCREENSHOTS), so an ordinary test run never rewrites files of the repository.
#include <gtest/gtest.h>

#include "support/program_driver.h"
#include "support/virtual_port.h"

#include <cstdlib>
#include <optional>
#include <string>

using e2e::ProgramFolder;
using e2e::RunningProgram;
using e2e::WaitUntil;

namespace {

// What a weighing and temperature station might send, as Shift_JIS (the source is UTF-8).
constexpr const char* kDeviceLines[] = {
    "2026/12/07 08:15:02 ライン1 計量 12.48kg 合格\n",
    "2026/12/07 08:15:04 ライン1 計量 12.51kg 合格\n",
    "2026/12/07 08:15:06 ライン2 温度 23.5℃ 正常\n",
    "2026/12/07 08:15:08 ライン2 温度 23.6℃ 正常\n",
    "2026/12/07 08:15:10 ライン1 計量 11.02kg 不合格（下限）\n",
    "2026/12/07 08:15:12 検査装置 状態：運転中・異常なし\n",
    "2026/12/07 08:15:14 ライン1 計量 12.47kg 合格\n",
    "2026/12/07 08:15:16 ライン2 温度 23.7℃ 正常\n",
    "2026/12/07 08:15:18 ロット番号 A-2312-07 開始\n",
    "2026/12/07 08:15:20 ライン1 計量 12.50kg 合格\n",
};

// The program with the README's window size, receiving the device's lines from COM6.
struct ReceivingProgram {
    // False when the port did not open or a line could not be sent.
    bool Start() {
        folder.WriteFile("uinf", "6\r\n0\r\n12\r\n622\r\n989");
        program.emplace(folder);
        program->ChoosePort(6);
        if (!WaitUntil([&] { return program->LampColour() == 0x0000FF00; })) return false;
        for (const char* line : kDeviceLines) {
            if (!port.Send(line)) return false;
            sent += line;
        }
        return true;
    }

    ProgramFolder folder{"screenshot"};
    testsupport::VirtualPort port{6};
    std::optional<RunningProgram> program;
    std::string sent;
};

}  // namespace

TEST(Screenshots, MainWindowReceiving) {
    if (!std::getenv("VARNEDO_SCREENSHOTS")) GTEST_SKIP() << "taken by scripts/screenshots.sh";
    ReceivingProgram receiving;
    ASSERT_TRUE(receiving.Start());
    const RunningProgram& program = *receiving.program;
    ASSERT_TRUE(receiving.port.Send("2026/12/07 08:15:22 ライン2 温度 "));
    ASSERT_TRUE(WaitUntil([&] { return program.MemoText().size() > receiving.sent.size(); }));
    Sleep(1200);  // a status line with a running connection time
    // At another screen resolution (VARNEDO_DPI) the picture is named after it.
    const char* dpi = std::getenv("VARNEDO_DPI");
    const std::string name =
        dpi && std::string(dpi) != "96" ? std::string("main-window-") + dpi + "ppi.png" : "main-window.png";
    EXPECT_TRUE(e2e::SaveScreenshot(program.MainWindow(), VARNEDO_DOCS_DIR "/" + name));
}

TEST(Screenshots, FindDialogOverTheMainWindow) {
    if (!std::getenv("VARNEDO_SCREENSHOTS")) GTEST_SKIP() << "taken by scripts/screenshots.sh";
    ReceivingProgram receiving;
    ASSERT_TRUE(receiving.Start());
    const RunningProgram& program = *receiving.program;
    ASSERT_TRUE(WaitUntil([&] { return program.MemoText().size() >= receiving.sent.size(); }));
    program.PressKey('F', {VK_CONTROL});
    const HWND dialog = program.WaitForFindDialog();
    ASSERT_NE(nullptr, dialog);
    SetDlgItemTextW(dialog, 0x480, L"\u4E0D\u5408\u683C");  // 不合格
    // Up from the caret at the end of the text.
    SendDlgItemMessageW(dialog, 0x420, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageW(dialog, 0x421, BM_SETCHECK, BST_UNCHECKED, 0);
    program.Press(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return program.MemoSelection().first != program.MemoSelection().second; }));
    // Over the lower right of the text area, where it hides none of the match.
    RECT main{}, box{};
    GetWindowRect(program.MainWindow(), &main);
    GetWindowRect(dialog, &box);
    SetWindowPos(dialog, nullptr, main.right - (box.right - box.left) - 40, main.bottom - (box.bottom - box.top) - 60,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Sleep(500);
    EXPECT_TRUE(e2e::SaveScreenshot(program.MainWindow(), VARNEDO_DOCS_DIR "/find-dialog.png"));
}
