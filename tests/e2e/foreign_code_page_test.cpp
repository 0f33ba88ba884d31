// The real program on a system of another language, and read by other programs: its windows are
// Unicode from creation, so every caption, label, list item, box and the clipboard come out as the
// Japanese texts in UTF-16 whatever the system's code page, and reading them in either form never
// brings the program down.
#include <gtest/gtest.h>

#include "Main.h"
#include "support/program_driver.h"
#include "support/virtual_port.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

using e2e::ClassOf;
using e2e::Descendants;
using e2e::ProgramFolder;
using e2e::RunningProgram;
using e2e::WaitUntil;
using e2e::Wide;
using e2e::WideWindowText;
using testsupport::VirtualPort;

namespace {

constexpr const char* kWarning = "\x8C\x78\x8D\x90";  // 警告
constexpr const char* kExitQuestion =                 // ソフトウェアを終了します。宜しいですか？
    "\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41\x82\xF0\x8F\x49\x97\xB9\x82\xB5\x82\xDC\x82\xB7\x81\x42"
    "\x8B\x58\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48";
constexpr const char* kClockLabel = "\x8C\xBB\x8D\xDD\x8E\x9E\x8D\x8F\x81\x46";  // 現在時刻：
constexpr const char* kNihon = "\x93\xFA\x96\x7B";                               // 日本
constexpr const char* kHelpCaption = "\x83\x77\x83\x8B\x83\x76";                 // ヘルプ
constexpr COLORREF kGreen = 0x0000FF00;

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<ProcessWindows*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId) search.found.push_back(window);
    return TRUE;
}

// Every window of the process, shown or hidden, with all the controls inside.
std::vector<HWND> AllWindows(DWORD processId) {
    ProcessWindows search{processId, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    std::vector<HWND> all = search.found;
    for (HWND top : search.found)
        for (HWND child : Descendants(top)) all.push_back(child);
    return all;
}

std::set<std::wstring> ButtonTexts(HWND mainWindow) {
    const std::vector<HWND> children = Descendants(mainWindow);
    std::set<std::wstring> texts;
    for (HWND child : children)
        if (ClassOf(child) == "Button") texts.insert(WideWindowText(child));
    return texts;
}

std::wstring ClipboardUnicodeText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = units;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void PutUnicodeOnClipboard(const std::wstring& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

}  // namespace

// Started under C.UTF-8 (code page 1252), the program's captions, buttons, group captions, status
// line, exit question and text area read as the Japanese texts in the Unicode form; Copy puts the
// received text on the clipboard in Unicode, and Paste takes a Unicode text, with "?" for the
// character Shift_JIS lacks.
TEST(ForeignCodePage, TextsAndClipboardAreJapaneseOnAWesternSystem) {
    ProgramFolder folder("cp1252");
    folder.WriteFile("uinf", "2\r\n1\r\n12\r\n622\r\n989");  // COM2, colour scheme 2
    RunningProgram program(folder, "C.UTF-8");
    VirtualPort port(2);
    ASSERT_TRUE(WaitUntil([&] { return program.LampColour() == kGreen; }, 5000));

    const std::set<std::wstring> buttons = ButtonTexts(program.MainWindow());
    for (const char* caption : {"\x91\xE5", "\x8F\xAC", "\x83\x4E\x83\x8A\x83\x41",   // 大 小 クリア
                                "\x89\xE6\x96\xCA\x90\x46\x91\x49\x91\xF0",           // 画面色選択
                                "\x95\xB6\x8E\x9A\x82\xCC\x91\xE5\x82\xAB\x82\xB3"})  // 文字の大きさ
        EXPECT_TRUE(buttons.count(Wide(caption))) << caption;
    EXPECT_TRUE(WaitUntil([&] { return WideWindowText(program.StatusBar()).find(Wide(kClockLabel)) == 0; }))
        << program.StatusText();

    const std::string received = std::string("AB") + kNihon + "\r\n";
    ASSERT_TRUE(port.Send(received));
    ASSERT_TRUE(WaitUntil([&] { return WideWindowText(program.Memo()) == Wide(received); }));
    // The README's picture of the program on a Western system, on request (scripts/screenshots.sh).
    if (std::getenv("VARNEDO_SCREENSHOTS")) {
        EXPECT_TRUE(e2e::SaveScreenshot(program.MainWindow(), VARNEDO_DOCS_DIR "/main-window-cp1252.png"));
    }
    SendMessageW(program.Memo(), EM_SETSEL, 0, -1);
    program.PostCommand(TMainForm::CopyC1);
    EXPECT_TRUE(WaitUntil([&] { return ClipboardUnicodeText() == Wide(received); })) << "clipboard after Copy";

    PutUnicodeOnClipboard(L"\u8CBC\U00020BB7X");  // 貼, 𠮷 (outside Shift_JIS), X
    SendMessageW(program.Memo(), EM_SETSEL, received.size(), received.size());
    program.PostCommand(TMainForm::PasteP1);
    const std::string pasted = received + "\x93\x5C?X";
    EXPECT_TRUE(WaitUntil([&] { return program.MemoText() == pasted; })) << program.MemoText();

    PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
    const auto box = program.WaitForBox(kWarning);
    ASSERT_TRUE(box.has_value()) << "no exit question";
    EXPECT_EQ(Wide(kWarning), WideWindowText(box->box));
    EXPECT_EQ(Wide(kExitQuestion), WideWindowText(GetDlgItem(box->box, 0xFFFF)));
    program.Press(box->box, IDYES);
    EXPECT_EQ(0u, program.WaitForExit().value_or(1));
}

// Another program reads every window text and every list and combo item of the three windows in
// both the ANSI and the Unicode forms, with a help line of 4,000 bytes: the program stays up and the
// texts come back whole.
TEST(ForeignCodePage, ReadingEveryTextFromOutsideKeepsTheProgramUp) {
    ProgramFolder folder("read-all");
    std::string line;
    for (int i = 0; i < 2000; ++i) line += "\x8A\xBF";  // 漢
    folder.WriteFile("readme.txt", "first\r\n" + line + "\r\nlast\r\n");
    RunningProgram program(folder);
    program.PostCommand(TMainForm::H2);
    ASSERT_TRUE(WaitUntil([&] {
        HWND help = FindWindowExA(nullptr, nullptr, "UiForm", kHelpCaption);
        return help && IsWindowVisible(help);
    }));

    bool longItemSeen = false;
    for (HWND window : AllWindows(program.ProcessId())) {
        // The status line's clock may tick between the two readings, so they are taken again until
        // they meet; texts that differ in their forms never do.
        EXPECT_TRUE(WaitUntil([&] { return Wide(e2e::WindowText(window)) == WideWindowText(window); }, 3000))
            << ClassOf(window) << " text differs between the forms";
        const std::string kind = ClassOf(window);
        const bool list = kind == "ListBox";
        if (!list && kind != "ComboBox") continue;
        const UINT count = list ? LB_GETCOUNT : CB_GETCOUNT;
        const UINT length = list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
        const UINT get = list ? LB_GETTEXT : CB_GETLBTEXT;
        for (LRESULT i = 0, n = SendMessageW(window, count, 0, 0); i < n; ++i) {
            std::wstring itemW(static_cast<std::size_t>(SendMessageW(window, length, i, 0)) + 1, L'\0');
            itemW.resize(
                static_cast<std::size_t>(SendMessageW(window, get, i, reinterpret_cast<LPARAM>(itemW.data()))));
            if (itemW == Wide(line)) longItemSeen = true;
            // Wine hands another process the item in its Unicode form even when asked in the ANSI
            // one, so only the reading itself is tried here: it must not bring the program down.
            std::vector<char> itemA(4 * itemW.size() + 4, '\0');
            SendMessageA(window, get, i, reinterpret_cast<LPARAM>(itemA.data()));
        }
        ASSERT_TRUE(program.Running()) << kind;
    }
    EXPECT_TRUE(longItemSeen) << "the 4,000-byte help line did not come back whole";
    EXPECT_TRUE(program.Running());
}
