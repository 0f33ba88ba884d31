#include "support/program_driver.h"

#include "support/linux_command.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace e2e {
namespace {

constexpr const char* kPaintedControlClass = "UiPaintedControl";

std::string WindowsPath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return std::string("Z:").append(unixPath);
}

// Position of a child within its parent's client area, in the layout's pixels at 96 ppi: the
// program shows its layout at the screen's DPI.
POINT PlaceInParent(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    POINT p{r.left, r.top};
    ScreenToClient(GetParent(window), &p);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return {MulDiv(p.x, 96, dpi), MulDiv(p.y, 96, dpi)};
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = folder + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full + "\\");
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

struct BoxSearch {
    DWORD processId;
    std::string_view caption;
    HWND found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<BoxSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window) || ClassOf(window) != "#32770") return TRUE;
    if (!search.caption.empty() && WindowText(window) != search.caption) return TRUE;
    search.found = window;
    return FALSE;
}

struct ChildSearch {
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<ChildSearch*>(parameter);
    if (!(*search.match)(window)) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs, int pollMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() > deadline) return false;
        Sleep(static_cast<DWORD>(pollMs));
    }
}

std::string WindowText(HWND window) {
    if (!window) return {};
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 2, '\0');
    const LRESULT got = SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), static_cast<std::size_t>(got));
}

std::wstring WideWindowText(HWND window) {
    if (!window) return {};
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 2, L'\0');
    const LRESULT got = SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::wstring(buffer.data(), static_cast<std::size_t>(got));
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

}  // namespace

std::vector<HWND> Descendants(HWND window) {
    std::vector<HWND> all;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::wstring Wide(std::string_view shiftJis) {
    std::wstring wide(shiftJis.size(), L'\0');
    const int length = MultiByteToWideChar(932, 0, shiftJis.data(), static_cast<int>(shiftJis.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return wide;
}

std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT got =
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide.data()));
        wide.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
        std::string text(wide.size() * 2 + 1, '\0');
        const int bytes = WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                              static_cast<int>(text.size()), nullptr, nullptr);
        text.resize(static_cast<std::size_t>(bytes));
        items.push_back(text);
    }
    return items;
}

ProgramFolder::ProgramFolder(std::string_view name) {
    CreateDirectoryA(WindowsPath("/tmp/varnedo-e2e").c_str(), nullptr);
    path = WindowsPath("/tmp/varnedo-e2e/");
    path += name;
    path += "-";
    path += std::to_string(GetCurrentProcessId());
    path += "\\";
    RemoveTree(path);
    if (!CreateDirectoryA(path.c_str(), nullptr)) throw std::runtime_error("cannot create " + path);
    if (!CopyFileA(WindowsPath(VARNEDO_EXE_PATH).c_str(), FilePath("Varnedo.exe").c_str(), FALSE))
        throw std::runtime_error("cannot copy the program into " + path);
    CopyFileA(WindowsPath(VARNEDO_README_PATH).c_str(), FilePath("readme.txt").c_str(), FALSE);
}

ProgramFolder::~ProgramFolder() { RemoveTree(path); }

void ProgramFolder::WriteFile(std::string_view name, std::string_view bytes) const {
    HANDLE file = CreateFileA(FilePath(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + FilePath(name));
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::optional<std::string> ProgramFolder::ReadFile(std::string_view name) const {
    HANDLE file = CreateFileA(FilePath(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool ProgramFolder::Exists(std::string_view name) const {
    return GetFileAttributesA(FilePath(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

RunningProgram::RunningProgram(const ProgramFolder& folder, Expect expect, int showCommand) {
    // A copy left behind by an earlier, killed test would turn this start into "already running"
    // and the test into a long wait; say so at once instead.
    if (expect == Expect::MainWindow) {
        if (HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, "Ravix")) {
            CloseHandle(running);
            throw std::runtime_error("another copy of the program is running in this Wine prefix");
        }
    }
    std::string commandLine = "\"";
    commandLine += folder.FilePath("Varnedo.exe");
    commandLine += "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (showCommand != SW_SHOWDEFAULT) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(),
                        &startup, &process))
        throw std::runtime_error("cannot start " + commandLine);
    processId = process.dwProcessId;
    if (expect == Expect::NoWindow) return;
    const bool shown = WaitUntil(
        [this] {
            for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "UiForm", "Varnedo")) != nullptr;) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == processId && IsWindowVisible(w)) {
                    mainWindow = w;
                    return true;
                }
            }
            return false;
        },
        15000);
    if (!shown) throw std::runtime_error("the main window did not appear");
}

RunningProgram::RunningProgram(const ProgramFolder& folder, std::string_view linuxLocale) {
    if (HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, "Ravix")) {
        CloseHandle(running);
        throw std::runtime_error("another copy of the program is running in this Wine prefix");
    }
    std::string unixProgram = folder.FilePath("Varnedo.exe").substr(2);
    for (char& c : unixProgram)
        if (c == '\\') c = '/';
    if (!testsupport::RunLinuxScript("../tests/e2e/support/start_from_linux.sh",
                                     unixProgram + " " + std::string(linuxLocale)))
        throw std::runtime_error("cannot start " + unixProgram);
    const bool shown = WaitUntil(
        [this] {
            HWND w = FindWindowExA(nullptr, nullptr, "UiForm", "Varnedo");
            if (!w || !IsWindowVisible(w)) return false;
            mainWindow = w;
            GetWindowThreadProcessId(w, &processId);
            return true;
        },
        30000);
    if (!shown) throw std::runtime_error("the main window did not appear");
    process.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
    if (!process.hProcess) throw std::runtime_error("cannot reach the started program");
}

RunningProgram::~RunningProgram() {
    if (Running()) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    if (process.hThread) CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

bool RunningProgram::Running() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> RunningProgram::WaitForExit(int timeoutMs) {
    if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

HWND RunningProgram::FindChild(const std::function<bool(HWND)>& match) const {
    ChildSearch search{&match, nullptr};
    EnumChildWindows(mainWindow, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND RunningProgram::Memo() const {
    return FindChild([](HWND w) { return ClassOf(w) == "UiTextArea"; });
}

HWND RunningProgram::StatusBar() const {
    return FindChild([](HWND w) { return ClassOf(w) == "msctls_statusbar32"; });
}

HWND RunningProgram::PortList() const {
    return FindChild([](HWND w) { return ClassOf(w) == "ComboBox"; });
}

HWND RunningProgram::TopBar() const {
    return FindChild([this](HWND w) { return GetParent(w) == mainWindow && ClassOf(w) == kPaintedControlClass; });
}

HWND RunningProgram::Lamp() const {
    const HWND topBar = TopBar();
    return FindChild([topBar](HWND w) {
        const POINT p = PlaceInParent(w);
        return GetParent(w) == topBar && ClassOf(w) == kPaintedControlClass && p.x == 95 && p.y == 10;
    });
}

HWND RunningProgram::Strip() const {
    const HWND topBar = TopBar();
    return FindChild([topBar](HWND w) {
        const POINT p = PlaceInParent(w);
        return GetParent(w) == topBar && ClassOf(w) == kPaintedControlClass && p.x == 4 && p.y == 52;
    });
}

HWND RunningProgram::ButtonCaptioned(std::string_view caption) const {
    return FindChild([caption](HWND w) { return ClassOf(w) == "Button" && WindowText(w) == caption; });
}

HWND RunningProgram::SchemeButton(int index) const {
    const std::string caption = std::to_string(index + 1);
    return FindChild([&caption](HWND w) {
        return ClassOf(w) == "Button" && (GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK) == BS_RADIOBUTTON &&
               WindowText(w) == caption;
    });
}

void RunningProgram::PostCommand(UINT commandId) const {
    PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

void RunningProgram::ChoosePort(int number) const {
    const HWND list = PortList();
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(number - 1), 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

void RunningProgram::Click(HWND button) const { SendMessageA(button, BM_CLICK, 0, 0); }

void RunningProgram::PressKey(WORD key, std::initializer_list<WORD> modifiers, HWND window) const {
    if (!window) window = mainWindow;
    SetForegroundWindow(window);
    WaitUntil([window] { return GetForegroundWindow() == window; });
    std::vector<INPUT> inputs;
    const auto add = [&](WORD k, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = k;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD modifier : modifiers) add(modifier, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    for (WORD modifier : modifiers) add(modifier, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::pair<int, int> RunningProgram::MemoSelection() const {
    const auto packed = static_cast<DWORD>(SendMessageA(Memo(), EM_GETSEL, 0, 0));
    return {LOWORD(packed), HIWORD(packed)};
}

COLORREF RunningProgram::PixelAt(HWND window, int x, int y) const {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

COLORREF RunningProgram::LampColour() const {
    // Below and right of the "COM" label, inside the bevel, where no glyph is drawn.
    RECT client;
    GetClientRect(Lamp(), &client);
    return PixelAt(Lamp(), client.right - 2, client.bottom - 3);
}

COLORREF RunningProgram::MemoBackground() const {
    RECT client;
    GetClientRect(Memo(), &client);
    return PixelAt(Memo(), client.right - 4, client.bottom - 4);
}

std::optional<MessageBoxSeen> RunningProgram::WaitForBox(std::string_view caption, int timeoutMs) const {
    BoxSearch search{processId, caption, nullptr};
    if (!WaitUntil([&search] { return !EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search)); }, timeoutMs))
        return std::nullopt;
    MessageBoxSeen seen;
    seen.box = search.found;
    seen.caption = WindowText(search.found);
    seen.text = WindowText(GetDlgItem(search.found, 0xFFFF));
    return seen;
}

void RunningProgram::Press(HWND box, int buttonId) const {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
}

HWND RunningProgram::WaitForFindDialog() const {
    constexpr int kFindTextBox = 0x480;  // edt1 of <dlgs.h>
    const std::optional<MessageBoxSeen> dialog = WaitForBox("");
    return dialog && GetDlgItem(dialog->box, kFindTextBox) ? dialog->box : nullptr;
}

bool SaveScreenshot(HWND window, const std::string& pngPath) {
    RECT r;
    GetWindowRect(window, &r);
    char geometry[64];
    std::snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld ", r.right - r.left, r.bottom - r.top, r.left, r.top);
    return testsupport::RunLinuxScript("screenshot.sh", geometry + pngPath);
}

}  // namespace e2e
