// Drives the real Varnedo.exe from a separate test process, as a user would: a copy of the program
// in a folder of its own, its windows found by class, caption and place, texts read with WM_GETTEXT,
// menu commands posted by id (Wine cannot read another process's menus), buttons clicked, message
// boxes answered, and the colours read back from the screen.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <string_view>

namespace e2e {

// Runs `condition` until it holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000, int pollMs = 10);

// The text of another process's window (WM_GETTEXT is marshalled across processes).
std::string WindowText(HWND window);
// The same in the Unicode form, as screen readers and automation tools read it.
std::wstring WideWindowText(HWND window);
// Shift_JIS bytes in UTF-16 (code page 932), to compare with what is read in the Unicode form.
std::wstring Wide(std::string_view shiftJis);
// A window's class name, and every window below one (children, their children, ...).
std::string ClassOf(HWND window);
std::vector<HWND> Descendants(HWND window);

// The items of another process's list box, through the wide messages (the ANSI item text is not
// carried across processes reliably under Wine) and back into Shift_JIS.
std::vector<std::string> ListItems(HWND list);

// A folder holding a fresh copy of the program (and its help file), removed at the end.
class ProgramFolder {
public:
    explicit ProgramFolder(std::string_view name);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // The folder as the program sees it, ending in a backslash.
    const std::string& Path() const { return path; }
    std::string FilePath(std::string_view name) const { return path + std::string(name); }
    void WriteFile(std::string_view name, std::string_view bytes) const;
    std::optional<std::string> ReadFile(std::string_view name) const;
    bool Exists(std::string_view name) const;

private:
    std::string path;
};

struct MessageBoxSeen {
    HWND box = nullptr;
    std::string caption;
    std::string text;
};

class RunningProgram {
public:
    enum class Expect { MainWindow, NoWindow };
    // Starts the program in the folder and (unless told otherwise) waits until its main window is
    // up and shown. `showCommand` is the start mode a shortcut hands the program (SW_SHOWMINNOACTIVE
    // for "minimised"); SW_SHOWDEFAULT hands none.
    explicit RunningProgram(const ProgramFolder& folder, Expect expect = Expect::MainWindow,
                            int showCommand = SW_SHOWDEFAULT);
    // Starts it from Linux under another locale (C.UTF-8: a Western system, code page 1252) and
    // waits until its main window is up and shown.
    RunningProgram(const ProgramFolder& folder, std::string_view linuxLocale);
    // Ends the program if a test left it running.
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    DWORD ProcessId() const { return processId; }
    HWND MainWindow() const { return mainWindow; }
    bool Running() const;
    // Waits for the process to end; its exit code, or nothing when it did not end in time.
    std::optional<DWORD> WaitForExit(int timeoutMs = 10000);

    // The controls, found by class, caption or place.
    HWND Memo() const;
    HWND StatusBar() const;
    HWND PortList() const;
    HWND TopBar() const;
    HWND Lamp() const;
    HWND Strip() const;
    HWND ButtonCaptioned(std::string_view caption) const;
    HWND SchemeButton(int index) const;  // the radio buttons "1", "2", "3"

    std::string MemoText() const { return WindowText(Memo()); }
    std::string StatusText() const { return WindowText(StatusBar()); }
    std::string StripText() const { return WindowText(Strip()); }

    void PostCommand(UINT commandId) const;
    // Picks a port in the list as a user would: the selection, then the change notification.
    void ChoosePort(int number) const;
    void Click(HWND button) const;
    // Brings a window of the program (the main window unless named) to the front and presses a key
    // there as the keyboard would, with the modifier keys (VK_CONTROL, VK_SHIFT) held.
    void PressKey(WORD key, std::initializer_list<WORD> modifiers = {}, HWND window = nullptr) const;
    // The text area's selection (EM_GETSEL's packed form: texts under 64 KB).
    std::pair<int, int> MemoSelection() const;

    // The colour the screen shows at a point of a window's client area.
    COLORREF PixelAt(HWND window, int x, int y) const;
    COLORREF LampColour() const;
    // The text area's background, read from a spot right of any text.
    COLORREF MemoBackground() const;

    // A visible message box or dialog of the program with this caption (any caption when empty).
    std::optional<MessageBoxSeen> WaitForBox(std::string_view caption, int timeoutMs = 5000) const;
    void Press(HWND box, int buttonId) const;
    // The program's Find dialog once it shows (the system's dialog, known by its text box).
    HWND WaitForFindDialog() const;

private:
    HWND FindChild(const std::function<bool(HWND)>& match) const;

    PROCESS_INFORMATION process{};
    DWORD processId = 0;
    HWND mainWindow = nullptr;
};

// Screenshot of a window's outer rectangle to a PNG (through the X display's root window).
bool SaveScreenshot(HWND window, const std::string& pngPath);

}  // namespace e2e
