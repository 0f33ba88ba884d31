// The help and version windows in the test process: the help list against real files in a folder
// of the test's own (given to the main window as its program directory), the version labels against
// the real program's version resource and against programs whose resources lack parts.
#include <gtest/gtest.h>

#include "Help.h"
#include "Main.h"
#include "Version.h"
#include "support/linux_command.h"
#include "support/program_forms.h"
#include "ui/application.h"
#include "ui/text_conversion.h"
#include "ui_test_support.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using testsupport::RunLinuxScript;
using testsupport::WindowsPathOf;
using Lines = std::vector<std::string>;

constexpr const char* kDiskFixtures = "../tests/win/support/disk_fixtures.sh";
constexpr const char* kHelpCaption = "\x83\x77\x83\x8B\x83\x76";                                     // ヘルプ
constexpr const char* kVersionCaption = "\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93\x8F\xEE\x95\xF1";  // バージョン情報
constexpr const char* kReadFailed =  // ファイルの読み込みに失敗しました
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x82\xB5"
    "\x82\xDC\x82\xB5\x82\xBD";
constexpr const char* kFirstLine = "\x88\xEA\x8D\x73\x96\xDA";                                // 一行目
constexpr const char* kSecondLine = "\x93\xF1\x8D\x73\x96\xDA";                               // 二行目
constexpr const char* kKanji = "\x8A\xBF\x8E\x9A";                                            // 漢字
constexpr const char* kCompany = "\x83\x94\x83\x40\x83\x8B\x83\x6C\x83\x68\x8D\x48\x96\x5B";  // ヴァルネド工房
constexpr const char* kProportionalFace =
    "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ Ｐゴシック
constexpr COLORREF kNavy = 0x00800000;

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// A folder under /tmp of the test's own, given to the main window as the program's directory.
class ScratchFolder {
public:
    ScratchFolder() {
        static int made = 0;
        unixPath_ = "/tmp/varnedo-info-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
        path_ = WindowsPathOf(unixPath_) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        RemoveEntry("readme.txt");
        RemoveDirectoryA(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    const std::string& UnixPath() const { return unixPath_; }

    void Write(const char* name, const std::string& bytes) const {
        HANDLE file = CreateFileA((path_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        ASSERT_EQ(bytes.size(), written);
    }
    void RemoveEntry(const char* name) const {
        const std::string full = path_ + name;
        if (!DeleteFileA(full.c_str())) RemoveDirectoryA(full.c_str());
    }

private:
    std::string unixPath_;
    std::string path_;
};

class InfoWindows : public ::testing::Test, protected testsupport::ProgramForms {
protected:
    void SetUp() override { main->AppDir = folder.Path(); }

    ScratchFolder folder;
};

// What a user saw after choosing Help: the message box, if any, and the list while the window was open.
struct HelpShowing {
    bool messageShown = false;
    std::string messageText;
    bool windowOpened = false;
    Lines items;
};

// Chooses Help in the main window's menu and acts as the user: answers a message box with OK, reads
// the list once the window is open and closes it with its button.
// An item as a screen reader reads it from another thread or process: in its Unicode form (Wine's
// conversion of a long item to the ANSI form across threads overruns its buffer), here turned back
// into Shift_JIS to compare.
std::string ItemTextFromOutside(HWND listBox, int index) {
    const LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    if (wide.empty()) return {};
    std::string text(wide.size() * 2, '\0');
    text.resize(
        static_cast<std::size_t>(WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                                     static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

HelpShowing ShowHelpThroughMenu(TMainForm& mainForm, THelpForm& helpForm) {
    HelpShowing seen;
    std::thread user([&] {
        const ULONGLONG end = GetTickCount64() + 10000;
        while (GetTickCount64() < end) {
            HWND box = uitest::FindVisibleWindow("#32770", "Varnedo");
            if (box && !seen.messageShown) {
                seen.messageShown = true;
                char text[256] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                seen.messageText = text;
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
            }
            if (uitest::FindVisibleWindow("UiForm", kHelpCaption)) {
                seen.windowOpened = true;
                for (int i = 0; i < helpForm.ListBox1.Count(); ++i) {
                    seen.items.push_back(ItemTextFromOutside(helpForm.ListBox1.Handle(), i));
                }
                SendMessageA(helpForm.Button1.Handle(), BM_CLICK, 0, 0);
                return;
            }
            Sleep(10);
        }
    });
    SendMessageA(mainForm.Handle(), WM_COMMAND, MAKEWPARAM(TMainForm::H2, 0), 0);
    user.join();
    return seen;
}

struct HelpFileCase {
    const char* name;
    std::string bytes;
    Lines items;
};

// The list shows each line of readme.txt as one item, in file order: CRs and NULs dropped, the LF
// that ends a line not shown, a Ctrl-Z ending the text, however long a line is; no message appears.
TEST_F(InfoWindows, HelpListsEachLineOfTheFileOnce) {
    const std::string longLine = Repeat("\x82\xA0", 1000);  // 2,000 bytes of あ
    // Longer than any single read: lines that run across the reads' boundaries.
    const std::string bigLine = "x" + Repeat(kKanji, 9000);
    const HelpFileCase cases[] = {
        {"CR LF lines", std::string(kFirstLine) + "\r\n" + kSecondLine + "\r\n", {kFirstLine, kSecondLine}},
        {"last line without LF", "a\r\nb", {"a", "b"}},
        {"empty lines stay", "a\r\n\r\n\nb\r\n", {"a", "", "", "b"}},
        {"CRs dropped wherever they stand", "\ra\rb\r\r\nc\r", {"ab", "c"}},
        {"NUL bytes dropped", std::string("a\0b\r\n\0c", 7), {"ab", "c"}},
        {"Ctrl-Z ends the text",
         "a\r\nb\x1A"
         "c\r\nd\r\n",
         {"a", "b"}},
        {"Ctrl-Z at a line's start",
         "a\r\n\x1A"
         "b\r\n",
         {"a"}},
        {"2,000-byte line of two-byte characters", longLine + "\r\nz\r\n", {longLine, "z"}},
        {"lines longer than a read",
         bigLine + "\r\n" + bigLine + bigLine + "\r\n" + "end",
         {bigLine, bigLine + bigLine, "end"}},
        {"empty file", "", {}},
        {"only a Ctrl-Z",
         "\x1A"
         "a\r\n",
         {}},
    };
    for (const HelpFileCase& c : cases) {
        folder.Write("readme.txt", c.bytes);
        const HelpShowing seen = ShowHelpThroughMenu(*main, *help);
        EXPECT_FALSE(seen.messageShown) << c.name;
        EXPECT_TRUE(seen.windowOpened) << c.name;
        ASSERT_EQ(c.items.size(), seen.items.size()) << c.name;
        for (std::size_t i = 0; i < c.items.size(); ++i) {
            EXPECT_EQ(c.items[i], seen.items[i]) << c.name << ", item " << i;
        }
    }
}

// Every showing lists the file as it is now, once: a second showing does not add another copy, and
// a file changed between showings replaces the earlier lines.
TEST_F(InfoWindows, HelpListsTheFileOnceAtEveryShowing) {
    folder.Write("readme.txt", std::string(kFirstLine) + "\r\n" + kSecondLine + "\r\n");
    EXPECT_EQ((Lines{kFirstLine, kSecondLine}), ShowHelpThroughMenu(*main, *help).items);
    EXPECT_EQ((Lines{kFirstLine, kSecondLine}), ShowHelpThroughMenu(*main, *help).items);

    folder.Write("readme.txt", "new\r\n");
    EXPECT_EQ((Lines{"new"}), ShowHelpThroughMenu(*main, *help).items);
    EXPECT_EQ(1, help->ListBox1.Count());
}

// When readme.txt cannot be read as a file (missing, a folder of that name, a folder that does not
// exist, a device that would never end), the message appears, is confirmed, and then the window
// opens with an empty list, also after an earlier showing had listed a file.
TEST_F(InfoWindows, HelpReportsAnUnreadableFileAndStillOpens) {
    const std::string deviceLink = folder.UnixPath() + "/readme.txt";
    struct Unreadable {
        const char* name;
        std::function<void()> arrange;
        std::function<void()> tidy;
    } cases[] = {
        {"missing", [] {}, [] {}},
        {"a folder named readme.txt", [&] { CreateDirectoryA((folder.Path() + "readme.txt").c_str(), nullptr); },
         [] {}},
        {"program folder that does not exist", [&] { main->AppDir = folder.Path() + "gone\\"; }, [] {}},
        // Wine opens it as a character device; Wine will not delete such a link, the Linux side does.
        {"an endless device in its place",
         [&] { ASSERT_TRUE(RunLinuxScript(kDiskFixtures, "link /dev/zero " + deviceLink)); },
         [&] { EXPECT_TRUE(RunLinuxScript(kDiskFixtures, "unlink " + deviceLink)); }},
    };
    for (const Unreadable& c : cases) {
        main->AppDir = folder.Path();
        folder.Write("readme.txt", "earlier\r\n");
        ASSERT_EQ((Lines{"earlier"}), ShowHelpThroughMenu(*main, *help).items) << c.name;
        folder.RemoveEntry("readme.txt");
        c.arrange();

        const HelpShowing seen = ShowHelpThroughMenu(*main, *help);
        EXPECT_TRUE(seen.messageShown) << c.name;
        EXPECT_EQ(kReadFailed, seen.messageText) << c.name;
        EXPECT_TRUE(seen.windowOpened) << c.name;
        EXPECT_TRUE(seen.items.empty()) << c.name;
        c.tidy();
        folder.RemoveEntry("readme.txt");
    }
}

// The first showing centres a window on the main window; later showings open it where the user left
// it, even after the main window has moved.
TEST_F(InfoWindows, LaterShowingsOpenWhereTheWindowWasLeft) {
    folder.Write("readme.txt", "a\r\n");
    struct Showing {
        const char* name;
        UINT command;
        const char* caption;
        ui::Form& form;
        HWND closeButton;
    } windows[] = {
        {"help", TMainForm::H2, kHelpCaption, *help, help->Button1.Handle()},
        {"version", TMainForm::V1, kVersionCaption, *version, version->Button1.Handle()},
    };
    for (const Showing& w : windows) {
        main->MoveTo(100, 50);
        RECT first{};
        uitest::WindowWatcher moveAway("UiForm", w.caption, [&](HWND window) {
            GetWindowRect(window, &first);
            // As a user drags it by its title bar.
            SetWindowPos(window, nullptr, 37, 41, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            SendMessageA(w.closeButton, BM_CLICK, 0, 0);
        });
        SendMessageA(main->Handle(), WM_COMMAND, MAKEWPARAM(w.command, 0), 0);
        ASSERT_TRUE(moveAway.Wait()) << w.name;
        const RECT owner = main->Bounds();
        EXPECT_EQ(owner.left + (main->Width() - w.form.Width()) / 2, first.left) << w.name;
        EXPECT_EQ(owner.top + (main->Height() - w.form.Height()) / 2, first.top) << w.name;

        main->MoveTo(300, 200);
        RECT second{};
        uitest::WindowWatcher look("UiForm", w.caption, [&](HWND window) {
            GetWindowRect(window, &second);
            SendMessageA(w.closeButton, BM_CLICK, 0, 0);
        });
        SendMessageA(main->Handle(), WM_COMMAND, MAKEWPARAM(w.command, 0), 0);
        ASSERT_TRUE(look.Wait()) << w.name;
        EXPECT_EQ(37, second.left) << w.name;
        EXPECT_EQ(41, second.top) << w.name;
    }
}

struct VersionLabels {
    std::string product, version, company, copyright, comments;
    bool operator==(const VersionLabels&) const = default;
};

std::ostream& operator<<(std::ostream& out, const VersionLabels& l) {
    return out << '[' << l.product << " | " << l.version << " | " << l.company << " | " << l.copyright << " | "
               << l.comments << ']';
}

VersionLabels LabelsOf(const TVerForm& form) {
    return {uitest::WindowText(form.ProductLabel.Handle()), uitest::WindowText(form.VersionLabel.Handle()),
            uitest::WindowText(form.CompanyName.Handle()), uitest::WindowText(form.CopyrightLabel.Handle()),
            uitest::WindowText(form.Comments.Handle())};
}

const VersionLabels kInitialCaptions{"ProductLabel", "VersionLabel", "CompanyName", "CopyrightLabel", "Comments"};
const VersionLabels kProgramValues{"Varnedo", "1.0.8.2", kCompany, std::string("Copyright (C) 2026 ") + kCompany,
                                   "https://varnedo.example.jp/"};

// The labels show the real program's product name, file version, company, copyright and comments,
// the same on every reading.
TEST_F(InfoWindows, VersionShowsTheProgramsOwnResource) {
    version->ReadVersionInfo(WindowsPathOf(VARNEDO_EXE));
    EXPECT_EQ(kProgramValues, LabelsOf(*version));
    version->ReadVersionInfo(WindowsPathOf(VARNEDO_EXE));
    EXPECT_EQ(kProgramValues, LabelsOf(*version));
    EXPECT_EQ("Ver.", uitest::WindowText(version->Label1.Handle()));
}

// Labels fit their new text, so the product name, "Ver." and the version read as one line, and the
// long copyright line is shown whole.
TEST_F(InfoWindows, VersionLabelsFitTheirValues) {
    const auto width = [](HWND label) {
        const RECT r = uitest::BoundsInParent(label);
        return r.right - r.left;
    };
    const int initialCopyrightWidth = width(version->CopyrightLabel.Handle());
    version->ReadVersionInfo(WindowsPathOf(VARNEDO_EXE));
    const RECT product = uitest::BoundsInParent(version->ProductLabel.Handle());
    const RECT ver = uitest::BoundsInParent(version->Label1.Handle());
    const RECT number = uitest::BoundsInParent(version->VersionLabel.Handle());
    EXPECT_LE(product.right, ver.left);
    EXPECT_LE(ver.right, number.left);
    // "Copyright (C) 2026 ヴァルネド工房" is longer than "CopyrightLabel".
    EXPECT_GT(width(version->CopyrightLabel.Handle()), initialCopyrightWidth);
}

// The program may lie in a folder deeper than MAX_PATH, or one whose name the system's code page
// cannot write: the labels still show its values.
TEST_F(InfoWindows, VersionReadsTheProgramFromAnyFolder) {
    const std::wstring base = L"\\\\?\\" + ui::ToWide(folder.Path());
    std::wstring deep = base;
    const std::wstring part(60, L'v');
    for (int level = 0; level < 5; ++level) {
        deep += part + L"\\";
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    // "Ünïcödé-한글": Latin letters with marks and Hangul, none of them in code page 932.
    const std::wstring foreign = base + L"\u00DCn\u00EFc\u00F6d\u00E9-\uD55C\uAE00\\";
    ASSERT_TRUE(CreateDirectoryW(foreign.c_str(), nullptr));
    const std::wstring program = ui::ToWide(WindowsPathOf(VARNEDO_EXE));
    for (const std::wstring& where : {deep, foreign}) {
        const std::wstring copy = where + L"Varnedo.exe";
        ASSERT_TRUE(CopyFileW(program.c_str(), copy.c_str(), FALSE));
        TVerForm fresh(main.get());
        fresh.ReadVersionInfo(copy);
        EXPECT_EQ(kProgramValues, LabelsOf(fresh)) << (where == deep ? "deep folder" : "foreign name");
        DeleteFileW(copy.c_str());
    }
    RemoveDirectoryW(foreign.c_str());
    for (int level = 0; level < 5; ++level) {
        RemoveDirectoryW(deep.c_str());
        deep.resize(deep.size() - part.size() - 1);
    }
}

// A program file without a version resource, or one whose resource lacks the translation or some
// keys, leaves every label whose value is missing as it was: the initial captions at first, the
// values of an earlier reading later.
TEST_F(InfoWindows, VersionKeepsCaptionsForWhatTheResourceLacks) {
    struct LackCase {
        const char* name;
        const char* program;
        VersionLabels afterInitial;
    } cases[] = {
        {"no version resource", VARNEDO_NO_VERSION_EXE, kInitialCaptions},
        {"no translation entry", VARNEDO_NO_TRANSLATION_EXE, kInitialCaptions},
        {"translation names a missing table", VARNEDO_OTHER_TRANSLATION_EXE, kInitialCaptions},
        {"some keys missing",
         VARNEDO_SOME_KEYS_EXE,
         {"Partial", "9.8.7.6", "CompanyName", "CopyrightLabel", "Comments"}},
    };
    for (const LackCase& c : cases) {
        TVerForm fresh(main.get());
        fresh.ReadVersionInfo(WindowsPathOf(c.program));
        EXPECT_EQ(c.afterInitial, LabelsOf(fresh)) << c.name;
    }
    // After the program's own values, a lacking resource keeps those of its keys it lacks.
    version->ReadVersionInfo(WindowsPathOf(VARNEDO_EXE));
    version->ReadVersionInfo(WindowsPathOf(VARNEDO_SOME_KEYS_EXE));
    EXPECT_EQ((VersionLabels{"Partial", "9.8.7.6", kProgramValues.company, kProgramValues.copyright,
                             kProgramValues.comments}),
              LabelsOf(*version));
    version->ReadVersionInfo(WindowsPathOf(VARNEDO_NO_VERSION_EXE));
    EXPECT_EQ("Partial", uitest::WindowText(version->ProductLabel.Handle()));
}

// The version functions come from a library loaded at the reading; where it cannot be loaded, the
// window keeps its initial captions and the program goes on.
TEST_F(InfoWindows, VersionKeepsCaptionsWithoutTheVersionLibrary) {
    TVerForm fresh(main.get());
    fresh.ReadVersionInfo(ui::ToWide(WindowsPathOf(VARNEDO_EXE)), L"no-such-version.dll");
    EXPECT_EQ(kInitialCaptions, LabelsOf(fresh));
}

// Whether a window shows a pixel of this exact colour within a child control, read from the screen.
bool ShowsColour(HWND control, COLORREF colour) {
    RECT client;
    GetClientRect(control, &client);
    HDC source = GetDC(control);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    bool found = false;
    for (int y = 0; y < client.bottom && !found; ++y) {
        for (int x = 0; x < client.right && !found; ++x) found = GetPixel(memory, x, y) == colour;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(control, source);
    return found;
}

// Through the menu the window reads the running program's own file, here the test program, which has
// no version resource: the labels stay. The product name is drawn bold and navy in the 15-pixel font.
TEST_F(InfoWindows, VersionWindowThroughTheMenu) {
    bool navyShown = false;
    uitest::WindowWatcher watcher("UiForm", kVersionCaption, [&](HWND) {
        const ULONGLONG end = GetTickCount64() + 3000;
        while (!navyShown && GetTickCount64() < end) {
            navyShown = ShowsColour(version->ProductLabel.Handle(), kNavy);
            if (!navyShown) Sleep(20);
        }
        SendMessageA(version->Button1.Handle(), BM_CLICK, 0, 0);
    });
    SendMessageA(main->Handle(), WM_COMMAND, MAKEWPARAM(TMainForm::V1, 0), 0);
    ASSERT_TRUE(watcher.Wait());
    EXPECT_TRUE(navyShown);
    EXPECT_EQ(kInitialCaptions, LabelsOf(*version));

    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(version->ProductLabel.Handle(), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(-15, font.lfHeight);
    EXPECT_EQ(FW_BOLD, font.lfWeight);
    EXPECT_STREQ(kProportionalFace, font.lfFaceName);
    EXPECT_EQ(SHIFTJIS_CHARSET, font.lfCharSet);
}

}  // namespace
