// Pictures of the real program for the README, taken only on request (scripts/screenshots.sh sets
// VARNEDO_SCREENSHOTS), so an ordinary test run never rewrites files of the repository.
#include <gtest/gtest.h>

#include "support/program_driver.h"
#include "support/virtual_port.h"

#include <cstdlib>
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

}  // namespace

TEST(Screenshots, MainWindowReceiving) {
    if (!std::getenv("VARNEDO_SCREENSHOTS")) GTEST_SKIP() << "taken by scripts/screenshots.sh";
    ProgramFolder folder("screenshot");
    folder.WriteFile("uinf", "6\r\n0\r\n12\r\n622\r\n989");
    RunningProgram program(folder);
    testsupport::VirtualPort port(6);
    program.ChoosePort(6);
    ASSERT_TRUE(WaitUntil([&] { return program.LampColour() == 0x0000FF00; }));
    std::string sent;
    for (const char* line : kDeviceLines) {
        ASSERT_TRUE(port.Send(line));
        sent += line;
    }
    ASSERT_TRUE(port.Send("2026/12/07 08:15:22 ライン2 温度 "));
    ASSERT_TRUE(WaitUntil([&] { return program.MemoText().size() > sent.size(); }));
    Sleep(1200);  // a status line with a running connection time
    // At another screen resolution (VARNEDO_DPI) the picture is named after it.
    const char* dpi = std::getenv("VARNEDO_DPI");
    const std::string name =
        dpi && std::string(dpi) != "96" ? std::string("main-window-") + dpi + "ppi.png" : "main-window.png";
    EXPECT_TRUE(e2e::SaveScreenshot(program.MainWindow(), VARNEDO_DOCS_DIR "/" + name));
}
