// The application object: its default title and the plain message box.
#include <gtest/gtest.h>

#include "ui/application.h"
#include "ui/module_path.h"
#include "ui_test_support.h"

#include <string>

namespace {

struct TitleCase {
    const char* modulePath;
    const char* title;
};

// The default title is the program file's name up to its first full stop, with every letter after
// the first in lower case; full stops in folder names and Shift_JIS second bytes of 0x5C do not count.
TEST(ApplicationTitle, IsTheFileNameUpToItsFirstFullStop) {
    const TitleCase cases[] = {
        {"C:\\Program Files\\VARNEDO.EXE", "Varnedo"},
        {"C:\\tools\\varnedo.exe", "varnedo"},
        {"C:\\a.b\\MyProg.v2.exe", "Myprog"},
        {"Z:\\build\\UI_TESTS", "Ui_tests"},
        {"PROG.EXE", "Prog"},
        // 表 is 95 5C: its second byte is no folder separator, and it has no lower case.
        {"C:\\\x95\x5C\\ABC.exe", "Abc"},
        {"C:\\dir\\\x95\x5C"
         "ABC.exe",
         "\x95\x5C"
         "abc"},
    };
    for (const TitleCase& c : cases) {
        EXPECT_EQ(c.title, ui::Application::DefaultTitle(c.modulePath)) << c.modulePath;
    }
}

TEST(ApplicationTitle, StartsAsThisProgramsDefaultTitle) {
    EXPECT_EQ("ui_tests", ui::App().Title());
    EXPECT_EQ("ui_tests.exe", ui::ModuleFileName().substr(ui::ModuleFileName().rfind('\\') + 1));
}

// The plain message box: the text, the title as caption, no icon, one OK button, centred on the screen.
TEST(PlainMessageBox, ShowsTextWithTitleNoIconCentredOnScreen) {
    ui::App().SetTitle("PlainBoxTest");
    uitest::MessageBoxAnswerer answerer("PlainBoxTest", IDOK);
    ui::App().ShowMessage(
        "\x8A\xF9\x82\xC9\x8B\x4E\x93\xAE\x82\xB5\x82\xC4\x82\xA8\x82\xE8\x82\xDC\x82\xB7");  // 既に起動しております
    const uitest::MessageBoxSeen& seen = answerer.Wait();

    ASSERT_TRUE(seen.found);
    EXPECT_EQ("\x8A\xF9\x82\xC9\x8B\x4E\x93\xAE\x82\xB5\x82\xC4\x82\xA8\x82\xE8\x82\xDC\x82\xB7", seen.text);
    EXPECT_FALSE(seen.hasIcon);
    EXPECT_EQ(nullptr, seen.owner);
    const int boxCentreX = (seen.bounds.left + seen.bounds.right) / 2;
    const int boxCentreY = (seen.bounds.top + seen.bounds.bottom) / 2;
    EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, boxCentreX, 2);
    EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, boxCentreY, 2);
}

}  // namespace
