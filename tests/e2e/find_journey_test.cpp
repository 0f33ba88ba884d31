// The real program's Find, as a user takes it: Ctrl+F opens the dialog, a text that is not there
// is reported, a match is selected and stays selected while the device goes on sending, and after
// Esc has closed the dialog F3 finds the next match and arriving text moves on to the end again.
#include <gtest/gtest.h>

#include "support/program_driver.h"
#include "support/virtual_port.h"

#include <dlgs.h>

#include <string>
#include <utility>

using e2e::ProgramFolder;
using e2e::RunningProgram;
using e2e::WaitUntil;

namespace {

constexpr COLORREF kGreen = 0x0000FF00;
constexpr const char* kNotFoundZeta =  // 「zeta」が見つかりません。
    "\x81\x75"
    "zeta"
    "\x81\x76\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42";

}  // namespace

TEST(RealProgram, FindsWhileTheDeviceSends) {
    ProgramFolder folder("find");
    RunningProgram program(folder);
    testsupport::VirtualPort port(21);
    program.ChoosePort(21);
    ASSERT_TRUE(WaitUntil([&] { return program.LampColour() == kGreen; }));
    ASSERT_TRUE(port.Send("line alpha\nline beta\nline alpha again\n"));
    ASSERT_TRUE(WaitUntil([&] { return program.MemoText().size() == 41; })) << program.MemoText();

    program.PressKey('F', {VK_CONTROL});
    const HWND dialog = program.WaitForFindDialog();
    ASSERT_NE(nullptr, dialog);
    SendDlgItemMessageA(dialog, rad1, BM_SETCHECK, BST_CHECKED, 0);  // up, from the caret at the end
    SendDlgItemMessageA(dialog, rad2, BM_SETCHECK, BST_UNCHECKED, 0);
    SetDlgItemTextA(dialog, edt1, "zeta");
    program.Press(dialog, IDOK);
    const auto box = program.WaitForBox("Varnedo");
    ASSERT_TRUE(box);
    EXPECT_EQ(kNotFoundZeta, box->text);
    program.Press(box->box, IDOK);

    SetDlgItemTextA(dialog, edt1, "alpha");
    program.Press(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return program.MemoSelection() == std::pair(28, 33); }));
    ASSERT_TRUE(port.Send("line gamma\n"));
    ASSERT_TRUE(WaitUntil([&] { return program.MemoText().size() == 53; }));
    EXPECT_EQ(std::pair(28, 33), program.MemoSelection()) << "held while the dialog is open";

    program.PressKey(VK_ESCAPE, {}, dialog);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    program.PressKey(VK_F3);
    EXPECT_TRUE(WaitUntil([&] { return program.MemoSelection() == std::pair(5, 10); }));
    program.PressKey(VK_F3, {VK_SHIFT});
    EXPECT_TRUE(WaitUntil([&] { return program.MemoSelection() == std::pair(28, 33); }));
    ASSERT_TRUE(port.Send("line delta\n"));
    EXPECT_TRUE(WaitUntil([&] { return program.MemoSelection() == std::pair(65, 65); }));
}
