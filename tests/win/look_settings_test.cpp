// Colour schemes, text size and the settings file, against the real main window in this process:
// the buttons and the radio group clicked as a user would, the settings file read from and written
// into a scratch directory that stands in for the program's, and the exit question answered for real.
// (No <chrono> here: its C++20 unit suffixes cannot be written in the Shift_JIS execution charset.)
#include <gtest/gtest.h>

#include "Main.h"
#include "support/linux_command.h"
#include "support/test_files.h"
#include "support/virtual_port.h"
#include "ui/application.h"
#include "ui/device_context.h"
#include "ui_test_support.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using testsupport::FileNamesIn;
using testsupport::ReadBytes;
using testsupport::RunLinuxScript;
using testsupport::VirtualPort;
using testsupport::WindowsPathOf;
using testsupport::WriteBytes;

namespace {

constexpr const char* kWarning = "\x8C\x78\x8D\x90";  // 警告, the exit question's caption
// Run through the scripts directory's runner; the script itself lives beside the test support.
constexpr const char* kDiskFixtures = "../tests/win/support/disk_fixtures.sh";

// ---- files -------------------------------------------------------------------------------------

// A directory of its own for each test, standing in for the program's directory.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string& kind) {
        static int made = 0;
        unixPath_ = "/tmp/varnedo-" + kind + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
        path_ = WindowsPathOf(unixPath_);
    }
    ~ScratchDirectory() {
        // Removes the directory's own entries only; a symbolic link goes, never what it points at.
        for (const std::string& name : FileNamesIn(path_)) {
            const std::string entry = path_ + "\\" + name;
            if (!DeleteFileA(entry.c_str())) RemoveDirectoryA(entry.c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    bool Create() const { return CreateDirectoryA(path_.c_str(), nullptr) != FALSE; }
    const std::string& Path() const { return path_; }
    const std::string& UnixPath() const { return unixPath_; }
    // As the show sequence leaves AppDir: the directory with a trailing backslash.
    std::string AsAppDir() const { return path_ + "\\"; }

private:
    std::string unixPath_;
    std::string path_;
};

// ---- what the window shows ---------------------------------------------------------------------

int ScreenPixelsPerInch() {
    const ui::WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int CharacterHeight(HWND window) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    LOGFONTA info{};
    if (!font || !GetObjectA(font, sizeof info, &info)) return 0;
    return -info.lfHeight;
}

// The text size as the controls show it, in pixels.
struct Look {
    int stripCharacter;
    int stripHeight;
    int stripWidth;
    int topBarHeight;
    int textAreaCharacter;
    bool operator==(const Look&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Look& l) {
    return out << "{strip font " << l.stripCharacter << " px, strip " << l.stripHeight << " x " << l.stripWidth
               << ", top bar " << l.topBarHeight << ", text area font " << l.textAreaCharacter << " px}";
}

Look LookOf(const TMainForm& form) {
    const RECT strip = uitest::BoundsInParent(form.Panel2.Handle());
    return {CharacterHeight(form.Panel2.Handle()), strip.bottom - strip.top, strip.right - strip.left,
            form.Panel4.Height(), CharacterHeight(form.Memo1.Handle())};
}

// The strip stays at its place in the top bar, and the text area fills what the top bar leaves
// above the status bar.
void ExpectStripPlacedAndTextAreaFillingTheRest(const TMainForm& form, const std::string& when) {
    const RECT strip = uitest::BoundsInParent(form.Panel2.Handle());
    EXPECT_EQ(4, strip.left) << when;
    EXPECT_EQ(52, strip.top) << when;
    const RECT textArea = uitest::BoundsInParent(form.Memo1.Handle());
    EXPECT_EQ(form.Panel4.Height(), textArea.top) << when;
    EXPECT_EQ(form.ClientSize().cy - 19, textArea.bottom) << when;
}

struct Colours {
    COLORREF background;
    COLORREF text;
    bool operator==(const Colours&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Colours& c) {
    return out << std::hex << "{background 0x" << c.background << ", text 0x" << c.text << "}" << std::dec;
}

constexpr Colours kLayoutColours{0xC0C0C0, 0x00FF00};  // lime on silver
constexpr Colours kScheme1{0x000000, 0x00FF00};        // green on black
constexpr Colours kScheme2{0xFFFFFF, 0x000000};        // black on white
constexpr Colours kScheme3{0xFFFF80, 0x000055};        // dark red on light cyan

// The colours the text area paints with (that it paints what it holds is tested with the control).
Colours PaintedColours(const TMainForm& form) { return {form.Memo1.Colors().background, form.Memo1.Colors().text}; }

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!done()) {
        if (GetTickCount64() > deadline) return false;
        uitest::PumpMessages(20);
    }
    return true;
}

// A main window as created at start-up, with its program directory in a scratch directory. Its
// timer is off: the ports that loaded settings name are not part of these tests unless one says so.
std::unique_ptr<TMainForm> MakeMainWindow(const ScratchDirectory& directory) {
    auto form = std::make_unique<TMainForm>(nullptr);
    form->Timer1.SetEnabled(false);
    form->AppDir = directory.AsAppDir();
    return form;
}

class LookAndSettings : public ::testing::Test {
protected:
    void SetUp() override {
        ui::App().SetTitle("Varnedo");
        ASSERT_TRUE(directory.Create());
        main = MakeMainWindow(directory);
        MainForm = main.get();
    }
    void TearDown() override {
        MainForm = nullptr;
        main.reset();
    }

    std::string SettingsPath() const { return directory.Path() + "\\uinf"; }

    ScratchDirectory directory{"look"};
    std::unique_ptr<TMainForm> main;
};

// ---- text size ---------------------------------------------------------------------------------

// The fifteen states the larger-text button reaches from the layout, at 96 pixels per inch:
// strip character height, strip height x width, top-bar height, text-area character height.
const Look kFifteenStates[15] = {
    {16, 25, 533, 89, 19},  {19, 27, 553, 91, 21},  {21, 29, 573, 93, 24},  {24, 31, 593, 95, 27},
    {27, 33, 613, 97, 29},  {29, 35, 633, 99, 32},  {32, 37, 653, 101, 35}, {35, 39, 673, 103, 37},
    {37, 41, 693, 105, 40}, {40, 43, 713, 107, 43}, {43, 45, 733, 109, 45}, {45, 47, 753, 111, 48},
    {48, 49, 773, 113, 51}, {51, 51, 793, 115, 53}, {53, 53, 813, 117, 56},
};

// "大" walks the fifteen states and changes nothing after the fourteenth press; "小" walks them
// back and changes nothing at the layout's size. The text area always takes what the top bar leaves.
TEST_F(LookAndSettings, TextSizeButtonsWalkTheFifteenStatesWithinTheirLimits) {
    ASSERT_EQ(96, ScreenPixelsPerInch()) << "the states are those at 96 pixels per inch";
    EXPECT_EQ(kFifteenStates[0], LookOf(*main));

    for (int k = 1; k <= 14; ++k) {
        Click(main->Button2.Handle());
        EXPECT_EQ(kFifteenStates[k], LookOf(*main)) << "after " << k << " presses of larger";
        ExpectStripPlacedAndTextAreaFillingTheRest(*main, "larger " + std::to_string(k));
    }
    Click(main->Button2.Handle());
    EXPECT_EQ(kFifteenStates[14], LookOf(*main)) << "the fifteenth press of larger";

    for (int k = 13; k >= 0; --k) {
        Click(main->Button3.Handle());
        EXPECT_EQ(kFifteenStates[k], LookOf(*main)) << "back to " << k << " steps";
        ExpectStripPlacedAndTextAreaFillingTheRest(*main, "smaller to " + std::to_string(k));
    }
    Click(main->Button3.Handle());
    EXPECT_EQ(kFifteenStates[0], LookOf(*main)) << "smaller at the layout's size";
}

struct StoredSizeCase {
    const char* name;
    int storedPoints;
    Look loaded;
    bool larger;  // which button is pressed: "大" or "小"
    Look afterOnePress;
    int pointsSaved;
};

// A stored strip size moves every size by its own amount per point, odd sizes too; the buttons go
// on from there in steps of 2 points, one step past the limit, and the strip's size is what the
// next exit saves.
TEST_F(LookAndSettings, StoredOddSizesStepOncePastTheLimit) {
    ASSERT_EQ(96, ScreenPixelsPerInch()) << "the sizes are those at 96 pixels per inch";
    const StoredSizeCase cases[] = {
        {"13 points, smaller", 13, {17, 26, 543, 90, 20}, false, {15, 24, 523, 88, 17}, 11},
        {"39 points, larger", 39, {52, 52, 803, 116, 55}, true, {55, 54, 823, 118, 57}, 41},
    };
    for (const StoredSizeCase& c : cases) {
        auto form = MakeMainWindow(directory);
        ASSERT_TRUE(WriteBytes(SettingsPath(), "3\r\n1\r\n" + std::to_string(c.storedPoints) + "\r\n622\r\n989"));
        form->LoadSettings();
        EXPECT_EQ(c.loaded, LookOf(*form)) << c.name;

        HWND button = c.larger ? form->Button2.Handle() : form->Button3.Handle();
        Click(button);
        EXPECT_EQ(c.afterOnePress, LookOf(*form)) << c.name;
        Click(button);
        EXPECT_EQ(c.afterOnePress, LookOf(*form)) << c.name << ", pressed again";
        ExpectStripPlacedAndTextAreaFillingTheRest(*form, c.name);

        form->SaveSettings();
        EXPECT_EQ("3\r\n1\r\n" + std::to_string(c.pointsSaved) + "\r\n622\r\n989", ReadBytes(SettingsPath())) << c.name;
    }
}

// ---- colour schemes ----------------------------------------------------------------------------

// Each item of "画面色選択" gives the text area its scheme's colours at once; until then it shows
// lime on silver. Picking the item that is already selected applies nothing.
TEST_F(LookAndSettings, ChoosingASchemeRecoloursTheTextArea) {
    EXPECT_EQ(kLayoutColours, PaintedColours(*main));
    const struct {
        int item;
        Colours colours;
    } choices[] = {{2, kScheme3}, {0, kScheme1}, {1, kScheme2}};
    for (const auto& choice : choices) {
        Click(main->RadioGroup1.ButtonHandle(choice.item));
        EXPECT_EQ(choice.item, main->RadioGroup1.ItemIndex());
        EXPECT_EQ(choice.colours, PaintedColours(*main)) << "item " << choice.item + 1;
    }

    constexpr Colours kElsewhere{0x123456, 0x654321};
    main->Memo1.SetColors(kElsewhere.background, kElsewhere.text);
    Click(main->RadioGroup1.ButtonHandle(1));
    EXPECT_EQ(kElsewhere, PaintedColours(*main)) << "the selected item picked again";
}

// Every successful opening of the port applies the chosen scheme again, reconnections included;
// with no scheme chosen yet, an opening leaves the text area's colours as they are.
TEST_F(LookAndSettings, OpeningThePortAppliesTheChosenScheme) {
    constexpr Colours kElsewhere{0x123456, 0x654321};
    VirtualPort port(51);
    main->PortNumber = 51;
    main->Memo1.SetColors(kElsewhere.background, kElsewhere.text);
    main->Timer1.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return main->LinkState == 1; })) << "COM51 did not open";
    EXPECT_EQ(kElsewhere, PaintedColours(*main)) << "opened before any scheme was chosen";

    Click(main->RadioGroup1.ButtonHandle(1));
    ASSERT_EQ(kScheme2, PaintedColours(*main));
    // Something else recolours the text area meanwhile; the next opening must bring scheme "2" back.
    main->Memo1.SetColors(kElsewhere.background, kElsewhere.text);
    SendMessageA(main->Handle(), WM_COMMAND, MAKEWPARAM(TMainForm::OpenO1, 0), 0);
    EXPECT_EQ(0, main->LinkState);
    ASSERT_TRUE(PumpUntil([&] { return main->LinkState == 1; })) << "COM51 did not open again";
    EXPECT_EQ(kScheme2, PaintedColours(*main)) << "after the reconnection";
    main->Timer1.SetEnabled(false);
    SciPort.Close();
}

// ---- loading the settings file -----------------------------------------------------------------

const Look kLayoutLook{16, 25, 533, 89, 19};
const Look k14Points{19, 27, 553, 91, 21};
const Look k13Points{17, 26, 543, 90, 20};
const Look k16Points{21, 29, 573, 93, 24};
const Look k20Points{27, 33, 613, 97, 29};

struct LoadCase {
    const char* name;
    std::optional<std::string> file;  // nullopt: no file at all
    int portItem;
    int portNumber;
    int schemeItem;
    Colours colours;
    Look look;
    SIZE window;  // outer width x height
};

// Loading selects the stored port (COM1 for a value outside 1..32) and scheme (3 as "3", above 3
// as "1", below 0 none), sets the text size and the window's size; each value the file does not
// give usably (missing, outside the 32-bit range, a size of 0 or less) leaves that setting as laid out.
TEST_F(LookAndSettings, LoadingAppliesEveryStoredValue) {
    ASSERT_EQ(96, ScreenPixelsPerInch()) << "the sizes are those at 96 pixels per inch";
    const LoadCase cases[] = {
        {"COM3, scheme 2, one step larger", "3\r\n1\r\n14\r\n622\r\n989", 2, 3, 1, kScheme2, k14Points, {989, 622}},
        {"nothing chosen", "0\r\n-1\r\n12\r\n622\r\n989", 0, 1, -1, kLayoutColours, kLayoutLook, {989, 622}},
        {"lines ending in LF alone", "3\n1\n14\n622\n989", 2, 3, 1, kScheme2, k14Points, {989, 622}},
        {"port 33", "33\r\n0\r\n12\r\n622\r\n989", 0, 1, 0, kScheme1, kLayoutLook, {989, 622}},
        {"port -5", "-5\r\n2\r\n12\r\n622\r\n989", 0, 1, 2, kScheme3, kLayoutLook, {989, 622}},
        {"port 32, scheme 3", "32\r\n3\r\n12\r\n622\r\n989", 31, 32, 2, kScheme3, kLayoutLook, {989, 622}},
        {"scheme 4", "5\r\n4\r\n12\r\n622\r\n989", 4, 5, 0, kScheme1, kLayoutLook, {989, 622}},
        {"scheme -7", "5\r\n-7\r\n12\r\n622\r\n989", 4, 5, -1, kLayoutColours, kLayoutLook, {989, 622}},
        {"size 13", "2\r\n1\r\n13\r\n622\r\n989", 1, 2, 1, kScheme2, k13Points, {989, 622}},
        {"hand-written numbers", "+5\r\n   1\r\n14 points\r\n622\r\n989", 4, 5, 1, kScheme2, k14Points, {989, 622}},
        // The first line fills the 15-byte read: its "3" is the second value, and every later line
        // moves up by one.
        {"15 spaces then 3", "               3\r\n16\r\n500\r\n800\r\n2", 0, 1, 2, kScheme3, k16Points, {800, 500}},
        {"six lines", "4\r\n1\r\n20\r\n600\r\n900\r\n7", 3, 4, 1, kScheme2, k20Points, {900, 600}},
        {"no file", std::nullopt, -1, 0, -1, kLayoutColours, kLayoutLook, {989, 622}},
        {"empty file", "", -1, 0, -1, kLayoutColours, kLayoutLook, {989, 622}},
        {"one value", "7", 6, 7, -1, kLayoutColours, kLayoutLook, {989, 622}},
        {"size out of range, height 0, width -5",
         "3\r\n1\r\n99999999999\r\n0\r\n-5",
         2,
         3,
         1,
         kScheme2,
         kLayoutLook,
         {989, 622}},
        {"height only", "3\r\n1\r\n12\r\n480", 2, 3, 1, kScheme2, kLayoutLook, {989, 480}},
    };
    for (const LoadCase& c : cases) {
        DeleteFileA(SettingsPath().c_str());
        if (c.file) {
            ASSERT_TRUE(WriteBytes(SettingsPath(), *c.file)) << c.name;
        }
        auto form = MakeMainWindow(directory);
        form->LoadSettings();

        EXPECT_EQ(c.portItem, form->ComboBox1.ItemIndex()) << c.name;
        EXPECT_EQ(c.portNumber, form->PortNumber) << c.name;
        EXPECT_EQ(c.schemeItem, form->RadioGroup1.ItemIndex()) << c.name;
        EXPECT_EQ(c.colours, PaintedColours(*form)) << c.name;
        EXPECT_EQ(c.look, LookOf(*form)) << c.name;
        ExpectStripPlacedAndTextAreaFillingTheRest(*form, c.name);
        EXPECT_EQ(c.window.cx, form->Width()) << c.name;
        EXPECT_EQ(c.window.cy, form->Height()) << c.name;
    }
}

// A "uinf" that is no plain file (a link to an endless device) is neither read nor replaced.
TEST_F(LookAndSettings, SettingsThatAreNoPlainFileAreLeftAlone) {
    ASSERT_TRUE(RunLinuxScript(kDiskFixtures, "link /dev/zero " + directory.UnixPath() + "/uinf"));
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(SettingsPath().c_str()));
    ASSERT_EQ(std::vector<std::string>{"uinf"}, FileNamesIn(directory.Path()));

    main->LoadSettings();
    EXPECT_EQ(0, main->PortNumber);
    EXPECT_EQ(-1, main->ComboBox1.ItemIndex());
    EXPECT_EQ(-1, main->RadioGroup1.ItemIndex());
    EXPECT_EQ(kLayoutLook, LookOf(*main));

    EXPECT_NO_THROW(main->SaveSettings());
    EXPECT_EQ(std::vector<std::string>{"uinf"}, FileNamesIn(directory.Path()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(SettingsPath().c_str())) << "the link was replaced";
    RunLinuxScript(kDiskFixtures, "unlink " + directory.UnixPath() + "/uinf");
}

// ---- saving at the exit ------------------------------------------------------------------------

struct ExitCase {
    const char* name;
    std::optional<std::string> before;  // the file left by an earlier run, if any
    bool choose;                        // COM3 picked, scheme "2" and one "大"
    int answer;
    std::optional<std::string> after;
};

// Yes at the exit question writes the five values, creating the file or replacing an earlier one
// with nothing left beside it; No writes nothing.
TEST_F(LookAndSettings, ExitYesWritesTheSettingsFile) {
    const std::string kChosen = "\x33\x0D\x0A\x31\x0D\x0A\x31\x34\x0D\x0A\x36\x32\x32\x0D\x0A\x39\x38\x39";
    const std::string kNothingChosen = "\x30\x0D\x0A\x2D\x31\x0D\x0A\x31\x32\x0D\x0A\x36\x32\x32\x0D\x0A\x39\x38\x39";
    ASSERT_EQ(18u, kChosen.size());
    ASSERT_EQ(19u, kNothingChosen.size());
    const std::string earlier = "9\r\n0\r\n30\r\n700\r\n900";
    const ExitCase cases[] = {
        {"choices over an earlier file", earlier, true, IDYES, kChosen},
        {"nothing chosen, no file before", std::nullopt, false, IDYES, kNothingChosen},
        {"No", earlier, true, IDNO, earlier},
        {"No without a file", std::nullopt, false, IDNO, std::nullopt},
    };
    for (const ExitCase& c : cases) {
        DeleteFileA(SettingsPath().c_str());
        if (c.before) {
            ASSERT_TRUE(WriteBytes(SettingsPath(), *c.before)) << c.name;
        }
        auto form = MakeMainWindow(directory);
        if (c.choose) {
            // Typing "3" into the port list is the user's pick, which runs the port-choice handler.
            SendMessageA(form->ComboBox1.Handle(), WM_CHAR, '3', 0);
            ASSERT_EQ(3, form->PortNumber) << c.name;
            Click(form->RadioGroup1.ButtonHandle(1));
            Click(form->Button2.Handle());
        }

        bool canClose = c.answer != IDYES;
        uitest::MessageBoxAnswerer answerer(kWarning, c.answer);
        form->FormCloseQuery(nullptr, canClose);
        ASSERT_TRUE(answerer.Wait().found) << c.name;
        EXPECT_EQ(c.answer == IDYES, canClose) << c.name;

        EXPECT_EQ(c.after, ReadBytes(SettingsPath())) << c.name;
        const std::vector<std::string> expectedNames =
            c.after ? std::vector<std::string>{"uinf"} : std::vector<std::string>{};
        EXPECT_EQ(expectedNames, FileNamesIn(directory.Path())) << c.name;
    }
}

// The saved window size is the one it has: while maximised the maximised size, while minimised
// the size it is restored to.
TEST_F(LookAndSettings, SavedWindowSizeIsMaximisedOrRestored) {
    main->OnShow = nullptr;  // the show sequence would read the settings of the test program's directory
    SetWindowPos(main->Handle(), nullptr, 0, 0, 800, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(main->Handle(), SW_SHOWMAXIMIZED);
    uitest::PumpMessages(50);
    const SIZE maximised{main->Width(), main->Height()};
    ASSERT_NE(800, maximised.cx) << "the window was not maximised, so this test shows nothing";
    const struct {
        const char* name;
        int show;
        SIZE saved;
    } states[] = {{"normal", SW_SHOWNORMAL, {800, 500}},
                  {"maximised", SW_SHOWMAXIMIZED, maximised},
                  {"minimised", SW_SHOWMINIMIZED, {800, 500}}};
    for (const auto& state : states) {
        ShowWindow(main->Handle(), state.show);
        uitest::PumpMessages(50);
        main->SaveSettings();
        EXPECT_EQ("0\r\n-1\r\n12\r\n" + std::to_string(state.saved.cy) + "\r\n" + std::to_string(state.saved.cx),
                  ReadBytes(SettingsPath()))
            << state.name;
    }
}

// A program directory where nothing can be written (missing, or "uinf" taken by a directory) keeps
// what it has, and the exit goes on without a message.
TEST_F(LookAndSettings, SavingWhereNothingCanBeWrittenChangesNothing) {
    main->AppDir = directory.AsAppDir() + "missing\\";
    EXPECT_NO_THROW(main->SaveSettings());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((directory.Path() + "\\missing").c_str()));

    main->AppDir = directory.AsAppDir();
    ASSERT_TRUE(CreateDirectoryA(SettingsPath().c_str(), nullptr));
    EXPECT_NO_THROW(main->SaveSettings());
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesA(SettingsPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(std::vector<std::string>{"uinf"}, FileNamesIn(directory.Path()));
    EXPECT_EQ(std::vector<std::string>{}, FileNamesIn(SettingsPath()));
}

// A small file system that mounts for the test and goes with it.
class SmallDisk {
public:
    SmallDisk()
        : unixPath_("/tmp/varnedo-full-" + std::to_string(GetCurrentProcessId())), path_(WindowsPathOf(unixPath_)) {
        mounted_ = RunLinuxScript(kDiskFixtures, "mount " + unixPath_ + " 64");
    }
    ~SmallDisk() {
        if (mounted_) RunLinuxScript(kDiskFixtures, "unmount " + unixPath_);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // The mount is really there: a file system of its own, of the size asked for.
    bool Ready() const {
        ULARGE_INTEGER total{};
        return mounted_ && GetDiskFreeSpaceExA((path_ + "\\").c_str(), nullptr, &total, nullptr) &&
               total.QuadPart == 64 * 1024;
    }
    bool Fill() const { return RunLinuxScript(kDiskFixtures, "fill " + unixPath_); }
    const std::string& Path() const { return path_; }

private:
    std::string unixPath_;
    std::string path_;
    bool mounted_ = false;
};

// A save that fails on a full disk leaves the earlier good file exactly as it was, and nothing
// beside it.
TEST_F(LookAndSettings, FailedSaveKeepsTheEarlierFile) {
    SmallDisk disk;
    ASSERT_TRUE(disk.Ready()) << "could not mount a small tmpfs (the tests need root)";
    main->AppDir = disk.Path() + "\\";
    main->SaveSettings();
    const std::optional<std::string> good = ReadBytes(disk.Path() + "\\uinf");
    ASSERT_EQ("0\r\n-1\r\n12\r\n622\r\n989", good);

    ASSERT_TRUE(disk.Fill());
    ASSERT_FALSE(WriteBytes(disk.Path() + "\\probe", "x")) << "the disk is not full";
    DeleteFileA((disk.Path() + "\\probe").c_str());

    Click(main->RadioGroup1.ButtonHandle(2));
    Click(main->Button2.Handle());
    EXPECT_NO_THROW(main->SaveSettings());
    EXPECT_EQ(good, ReadBytes(disk.Path() + "\\uinf"));
    EXPECT_EQ((std::vector<std::string>{"filler", "uinf"}), FileNamesIn(disk.Path()));
}

}  // namespace
