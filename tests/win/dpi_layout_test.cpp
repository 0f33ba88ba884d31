// The three windows at the screen's resolution. ctest runs these at 96 ppi in the tests' prefix and
// at 144 and 192 ppi in prefixes of their own (VARNEDO_DPI). Every expected place and size is the
// layout's figure at 96 ppi scaled to the DPI, and every font the layout's size in points at it.
#include <gtest/gtest.h>

#include "core/dpi_scale.h"
#include "core/font_size.h"
#include "support/program_forms.h"
#include "support/test_files.h"
#include "ui/dpi.h"
#include "ui_test_support.h"

#include <cstdlib>
#include <string>

using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

int RunDpi() {
    const char* dpi = std::getenv("VARNEDO_DPI");
    return dpi ? std::atoi(dpi) : core::kLayoutDpi;
}

int CharacterHeight(HWND window) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    LOGFONTA info{};
    if (!font || !GetObjectA(font, sizeof info, &info)) return 0;
    return info.lfHeight;
}

struct Box {
    int left, top, width, height;
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << "{" << b.left << ", " << b.top << ", " << b.width << " x " << b.height << "}";
}

Box Placed(HWND window) {
    const RECT r = uitest::BoundsInParent(window);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Box ScaledBox(const Box& layout, int dpi) {
    return {core::ScaleToDpi(layout.left, dpi), core::ScaleToDpi(layout.top, dpi), core::ScaleToDpi(layout.width, dpi),
            core::ScaleToDpi(layout.height, dpi)};
}

// A directory of its own standing in for the program's.
std::string MakeScratchDirectory() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "varnedo-dpi-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount());
    CreateDirectoryA(path.c_str(), nullptr);
    return path + "\\";
}

class AtScreenDpi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(dpi, ui::SystemDpi()) << "the screen of this prefix is not at the DPI this run is for";
        ASSERT_EQ(dpi, main.Dpi());
        main.Timer1.SetEnabled(false);
    }
    void TearDown() override {
        DeleteFileA((directory + "uinf").c_str());
        RemoveDirectoryA(directory.c_str());
    }

    int Scaled(int layout) const { return core::ScaleToDpi(layout, dpi); }
    int FontHeight(int points) const { return core::PointsToHeight(points, dpi); }

    // Every control of the main window where the layout puts it, and every font at its size.
    void ExpectMainWindowAt(int at, const std::string& when) {
        const struct {
            const char* name;
            HWND window;
            Box layout;
        } controls[] = {
            {"Panel3", main.Panel3.Handle(), {1, 1, 89, 36}},
            {"Image1", main.Image1.Handle(), {4, 3, 83, 31}},
            {"Panel1", main.Panel1.Handle(), {95, 10, 42, 23}},
            {"ComboBox1", main.ComboBox1.Handle(), {136, 10, 49, 24}},
            {"RadioGroup1", main.RadioGroup1.Handle(), {198, 4, 131, 45}},
            {"GroupBox1", main.GroupBox1.Handle(), {336, 4, 169, 45}},
            {"Button2", main.Button2.Handle(), {16, 16, 57, 25}},
            {"Button3", main.Button3.Handle(), {96, 16, 57, 25}},
            {"Button1", main.Button1.Handle(), {520, 9, 73, 40}},
            {"Panel2", main.Panel2.Handle(), {4, 52, 533, 25}},
        };
        for (const auto& c : controls) EXPECT_EQ(ScaledBox(c.layout, at), Placed(c.window)) << c.name << ", " << when;
        const Box label = Placed(main.Label1.Handle());
        EXPECT_EQ(core::ScaleToDpi(4, at), label.left) << when;
        EXPECT_EQ(core::ScaleToDpi(3, at), label.top) << when;
        EXPECT_EQ(core::ScaleToDpi(89, at), main.Panel4.Height()) << when;
        EXPECT_EQ(core::ScaleToDpi(19, at), main.StatusBar1.Height()) << when;
        const Box textArea = Placed(main.Memo1.Handle());
        EXPECT_EQ(main.Panel4.Height(), textArea.top) << when;
        EXPECT_EQ(main.ClientSize().cy - main.StatusBar1.Height(), textArea.top + textArea.height) << when;

        const struct {
            const char* name;
            HWND window;
            int points;
        } fonts[] = {
            {"window font (Button2)", main.Button2.Handle(), 9},
            {"Label1", main.Label1.Handle(), 11},
            {"ComboBox1", main.ComboBox1.Handle(), 12},
            {"Button1", main.Button1.Handle(), 11},
            {"Panel2", main.Panel2.Handle(), 12},
            {"Memo1", main.Memo1.Handle(), 14},
        };
        for (const auto& f : fonts) {
            EXPECT_EQ(core::PointsToHeight(f.points, at), CharacterHeight(f.window)) << f.name << ", " << when;
        }
        // The status bar has the system's status-bar font at the window's DPI, not the window's font.
        EXPECT_EQ(ui::StatusFontAt(at).lfHeight, CharacterHeight(main.StatusBar1.Handle())) << when;
        EXPECT_NE(SendMessageA(main.Button2.Handle(), WM_GETFONT, 0, 0),
                  SendMessageA(main.StatusBar1.Handle(), WM_GETFONT, 0, 0))
            << when;
    }

    const int dpi = RunDpi();
    testsupport::ProgramForms forms;
    TMainForm& main = *forms.main;
    std::string directory = MakeScratchDirectory();
};

TEST_F(AtScreenDpi, MainWindowAtTheLayoutsScaledPlacesAndSizes) {
    EXPECT_EQ(Scaled(989), main.Width());
    EXPECT_EQ(Scaled(622), main.Height());
    ExpectMainWindowAt(dpi, "as created");
}

// "大" and then "小" give back every size of the layout, since both steps and the layout are points
// and layout pixels shown at the same DPI.
TEST_F(AtScreenDpi, LargerThenSmallerRestoresEverySize) {
    SendMessageA(main.Button2.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(FontHeight(14), CharacterHeight(main.Panel2.Handle()));
    EXPECT_EQ(FontHeight(16), CharacterHeight(main.Memo1.Handle()));
    EXPECT_EQ(ScaledBox({4, 52, 553, 27}, dpi), Placed(main.Panel2.Handle()));
    EXPECT_EQ(Scaled(91), main.Panel4.Height());
    SendMessageA(main.Button3.Handle(), BM_CLICK, 0, 0);
    ExpectMainWindowAt(dpi, "after larger and smaller");
}

// The settings file keeps the window's size in layout pixels: a file means the same window at
// every DPI, and a window of the layout's size is written as 622 and 989 at any DPI.
TEST_F(AtScreenDpi, SettingsFileHoldsTheWindowSizeInLayoutPixels) {
    main.AppDir = directory;
    main.SaveSettings();
    EXPECT_EQ("0\r\n-1\r\n12\r\n622\r\n989", ReadBytes(directory + "uinf"));

    ASSERT_TRUE(WriteBytes(directory + "uinf", "3\r\n1\r\n13\r\n700\r\n900"));
    main.LoadSettings();
    EXPECT_EQ(Scaled(900), main.Width());
    EXPECT_EQ(Scaled(700), main.Height());
    EXPECT_EQ(ScaledBox({4, 52, 543, 26}, dpi), Placed(main.Panel2.Handle()));
    EXPECT_EQ(FontHeight(13), CharacterHeight(main.Panel2.Handle()));
    main.SaveSettings();
    EXPECT_EQ("3\r\n1\r\n13\r\n700\r\n900", ReadBytes(directory + "uinf"));
}

TEST_F(AtScreenDpi, InformationWindowsAtTheLayoutsScaledPlacesAndSizes) {
    THelpForm& help = *forms.help;
    EXPECT_EQ(Scaled(483), help.ClientSize().cx);
    EXPECT_EQ(Scaled(204), help.ClientSize().cy);
    EXPECT_EQ(ScaledBox({392, 168, 75, 25}, dpi), Placed(help.Button1.Handle()));
    EXPECT_EQ(ScaledBox({8, 8, 465, 153}, dpi), Placed(help.ListBox1.Handle()));
    EXPECT_EQ(Scaled(12), SendMessageA(help.ListBox1.Handle(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(FontHeight(9), CharacterHeight(help.ListBox1.Handle()));

    TVerForm& version = *forms.version;
    EXPECT_EQ(Scaled(279), version.Width());
    EXPECT_EQ(Scaled(165), version.Height());
    EXPECT_EQ(ScaledBox({184, 96, 75, 25}, dpi), Placed(version.Button1.Handle()));
    EXPECT_EQ(FontHeight(11), CharacterHeight(version.ProductLabel.Handle()));
}

// Moved to a monitor of another DPI, the window lays itself out again there, and back again.
TEST_F(AtScreenDpi, MovingToAnotherDpiRescalesTheWindow) {
    // The other DPI keeps the window within the desktop of this prefix (1280 x 800 at 96 ppi).
    const int other = dpi == 96 ? 120 : 96;
    for (const int to : {other, dpi}) {
        const RECT now = main.Bounds();
        RECT proposed{now.left, now.top, now.left + core::ScaleToDpi(989, to), now.top + core::ScaleToDpi(622, to)};
        SendMessageA(main.Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&proposed));
        EXPECT_EQ(to, main.Dpi());
        EXPECT_EQ(core::ScaleToDpi(989, to), main.Width());
        ExpectMainWindowAt(to, "at " + std::to_string(to) + " ppi");
    }
}

}  // namespace
