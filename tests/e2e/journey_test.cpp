// A user's whole journey with the real program, from the first start in an empty folder to the next
// start that finds everything as it was left: one run, step by step, the device played by the device
// simulator behind a virtual COM port, and every step checked on what the windows show.
#include <gtest/gtest.h>

#include "Main.h"
#include "support/linux_command.h"
#include "support/program_driver.h"
#include "support/virtual_port.h"
#include "ui/device_context.h"
#include "ui/unique_handle.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

using e2e::ClassOf;
using e2e::Descendants;
using e2e::ListItems;
using e2e::ProgramFolder;
using e2e::RunningProgram;
using e2e::WaitUntil;
using e2e::WindowText;
using testsupport::VirtualPort;

namespace {

constexpr int kNoDevicePort = 9;
constexpr int kDevicePort = 10;

constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kGreen = 0x0000FF00;
constexpr COLORREF kSilver = 0x00C0C0C0;
constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kLightCyan = 0x00FFFF80;
constexpr COLORREF kDarkRed = 0x00000055;

constexpr const char* kAlreadyRunning =  // 既に起動しております
    "\x8A\xF9\x82\xC9\x8B\x4E\x93\xAE\x82\xB5\x82\xC4\x82\xA8\x82\xE8\x82\xDC\x82\xB7";
constexpr const char* kClockLabel = "\x8C\xBB\x8D\xDD\x8E\x9E\x8D\x8F\x81\x46";               // 現在時刻：
constexpr const char* kConnectionLabel = "\x81\x40\x90\xDA\x91\xB1\x8E\x9E\x8A\xD4\x81\x46";  // 　接続時間：
constexpr const char* kWarning = "\x8C\x78\x8D\x90";                                          // 警告
constexpr const char* kExitQuestion =  // ソフトウェアを終了します。宜しいですか？
    "\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41\x82\xF0\x8F\x49\x97\xB9\x82\xB5\x82\xDC\x82\xB7\x81\x42"
    "\x8B\x58\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48";
constexpr const char* kClear = "\x83\x4E\x83\x8A\x83\x41";        // クリア
constexpr const char* kLarger = "\x91\xE5";                       // 大
constexpr const char* kSmaller = "\x8F\xAC";                      // 小
constexpr const char* kHelpCaption = "\x83\x77\x83\x8B\x83\x76";  // ヘルプ
constexpr const char* kVersionCaption =                           // バージョン情報
    "\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93\x8F\xEE\x95\xF1";
constexpr const char* kCloseButton = "\x95\xC2\x82\xB6\x82\xE9";  // 閉じる
constexpr int kFileNameBox = 0x47C;

// What the device sends first, one byte every 83 ms, slower than the 50 ms tick, so that the two
// bytes of every two-byte character arrive in different ticks:
// 計量 12.48kg 合格 CR LF / 温度 23.5℃ 受信 OK LF.
const std::string kFirstLines =
    "\x8C\x76\x97\xCA\x20\x31\x32\x2E\x34\x38\x6B\x67\x20\x8D\x87\x8A\x69\x0D\x0A"
    "\x89\xB7\x93\x78\x20\x32\x33\x2E\x35\x81\x8E\x20\x8E\xF3\x90\x4D\x20\x4F\x4B\x0A";
// The text area shows them with the CR dropped and each LF as a line break.
const std::string kFirstText =
    "\x8C\x76\x97\xCA\x20\x31\x32\x2E\x34\x38\x6B\x67\x20\x8D\x87\x8A\x69\x0D\x0A"
    "\x89\xB7\x93\x78\x20\x32\x33\x2E\x35\x81\x8E\x20\x8E\xF3\x90\x4D\x20\x4F\x4B\x0D\x0A";
// The strip restarted when it held 31 bytes: 信 OK.
const std::string kFirstStrip = "\x90\x4D\x20\x4F\x4B";

// What the device sends after it was plugged in again, at the line's own pace:
// ライン1 計量 12.51kg 合格 LF / ライン2 温度 23.6℃ 正常 LF / ロット A-07 開始 LF.
const std::string kLaterLines =
    "\x83\x89\x83\x43\x83\x93\x31\x20\x8C\x76\x97\xCA\x20\x31\x32\x2E\x35\x31\x6B\x67\x20\x8D\x87\x8A\x69\x0A"
    "\x83\x89\x83\x43\x83\x93\x32\x20\x89\xB7\x93\x78\x20\x32\x33\x2E\x36\x81\x8E\x20\x90\xB3\x8F\xED\x0A"
    "\x83\x8D\x83\x62\x83\x67\x20\x41\x2D\x30\x37\x20\x8A\x4A\x8E\x6E\x0A";
const std::string kLaterText =
    "\x83\x89\x83\x43\x83\x93\x31\x20\x8C\x76\x97\xCA\x20\x31\x32\x2E\x35\x31\x6B\x67\x20\x8D\x87\x8A\x69\x0D\x0A"
    "\x83\x89\x83\x43\x83\x93\x32\x20\x89\xB7\x93\x78\x20\x32\x33\x2E\x36\x81\x8E\x20\x90\xB3\x8F\xED\x0D\x0A"
    "\x83\x8D\x83\x62\x83\x67\x20\x41\x2D\x30\x37\x20\x8A\x4A\x8E\x6E\x0D\x0A";

// COM10, scheme "3", a 14-point strip, the window 700 high and 1040 wide.
const std::string kSettings = "\x31\x30\x0D\x0A\x32\x0D\x0A\x31\x34\x0D\x0A\x37\x30\x30\x0D\x0A\x31\x30\x34\x30";

// ---- the device -----------------------------------------------------------------------------

std::string UnixPathOf(const std::string& windowsPath) {
    std::string path = windowsPath.substr(2);  // drops "Z:"
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

// The device simulator (scripts/devsim-feed.sh) playing a file into a port's device side.
class DeviceSimulator {
public:
    explicit DeviceSimulator(int port) : port(port) {}
    ~DeviceSimulator() { testsupport::RunLinuxScript("devsim-feed.sh", "stop " + std::to_string(port)); }
    DeviceSimulator(const DeviceSimulator&) = delete;
    DeviceSimulator& operator=(const DeviceSimulator&) = delete;

    bool Play(const std::string& windowsFile, int bytesPerSecond, int chunk = 0) const {
        std::string arguments = "start ";
        arguments.append(std::to_string(port)).append(" ").append(UnixPathOf(windowsFile));
        arguments.append(" ").append(std::to_string(bytesPerSecond));
        if (chunk > 0) arguments.append(" ").append(std::to_string(chunk));
        return testsupport::RunLinuxScript("devsim-feed.sh", arguments);
    }

    // What the simulator said, for a failure message.
    std::string Log() const {
        char directory[4096] = {};
        GetEnvironmentVariableA("VARNEDO_SERIAL_DIR", directory, sizeof directory);
        const std::string log =
            testsupport::WindowsPathOf(std::string(directory) + "/com" + std::to_string(port) + "-devsim.log");
        ui::UniqueFile file(CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        if (!file) return "(no simulator log)";
        char text[2048] = {};
        DWORD got = 0;
        ReadFile(file.get(), text, sizeof text - 1, &got, nullptr);
        return std::string("simulator: ") + text;
    }

private:
    int port;
};

// The lengths at which Shift_JIS text can be cut without splitting a character.
std::set<std::size_t> CharacterBoundaries(std::string_view text) {
    std::set<std::size_t> boundaries{0};
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const bool pair = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        i += pair ? 2 : 1;
        boundaries.insert(i);
    }
    return boundaries;
}

// ---- what the screen shows ------------------------------------------------------------------

SIZE SizeOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

RECT ScreenRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientRectOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// How many pixels of a window's client area show exactly this colour, from one picture of the screen.
int PixelsOfColour(HWND window, COLORREF colour) {
    const RECT area = ClientRectOnScreen(window);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const ui::WindowDC screen(nullptr);
    const ui::MemoryDC memory(screen.get());
    const ui::UniqueBitmap picture(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture) return 0;
    {
        const ui::SelectedObject selected(memory.get(), picture.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    }
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    // DIB pixels are 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    int count = 0;
    for (int i = 0; i < width * height; ++i)
        if ((pixels[i] & 0x00FFFFFF) == wanted) ++count;
    return count;
}

bool LampShows(const RunningProgram& program, COLORREF colour, int timeoutMs = 3000) {
    return WaitUntil([&] { return program.LampColour() == colour; }, timeoutMs);
}

// Watches the lamp without a pause until it has shown these colours in this order.
bool LampGoesThrough(const RunningProgram& program, const std::vector<COLORREF>& colours, int timeoutMs = 3000) {
    std::size_t next = 0;
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (next < colours.size() && GetTickCount64() < deadline) {
        if (program.LampColour() == colours[next]) ++next;
    }
    return next == colours.size();
}

// Whether text has the shape of a pattern in which '9' stands for any digit.
bool HasShape(std::string_view text, std::string_view pattern) {
    if (text.size() != pattern.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == '9' ? !digit : text[i] != pattern[i]) return false;
    }
    return true;
}

long long SecondsOf(const SYSTEMTIME& time) {
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    return static_cast<long long>((ULARGE_INTEGER{{file.dwLowDateTime, file.dwHighDateTime}}.QuadPart) / 10000000);
}

// The status line as the user reads it: the clock, and the connection time when one runs.
struct StatusLine {
    bool wellFormed = false;
    long long clockAheadSeconds = 0;  // the clock shown minus this machine's local time now
    std::optional<int> connectedSeconds;
};

StatusLine ReadStatusLine(const RunningProgram& program) {
    const std::string text = program.StatusText();
    SYSTEMTIME now;
    GetLocalTime(&now);
    StatusLine line;
    const std::string_view clockLabel = kClockLabel;
    const std::string_view connectionLabel = kConnectionLabel;
    const std::size_t clockEnd = clockLabel.size() + 19;
    if (text.size() < clockEnd || text.compare(0, clockLabel.size(), clockLabel) != 0 ||
        !HasShape(std::string_view(text).substr(clockLabel.size(), 19), "9999/99/99 99:99:99"))
        return line;
    SYSTEMTIME shown{};
    std::sscanf(text.c_str() + clockLabel.size(), "%hu/%hu/%hu %hu:%hu:%hu", &shown.wYear, &shown.wMonth, &shown.wDay,
                &shown.wHour, &shown.wMinute, &shown.wSecond);
    line.clockAheadSeconds = SecondsOf(shown) - SecondsOf(now);
    if (text.size() == clockEnd) {
        line.wellFormed = true;
        return line;
    }
    const std::string_view rest = std::string_view(text).substr(clockEnd);
    if (rest.size() != connectionLabel.size() + 8 || rest.substr(0, connectionLabel.size()) != connectionLabel ||
        !HasShape(rest.substr(connectionLabel.size()), "99:99:99"))
        return line;
    int hours = 0, minutes = 0, seconds = 0;
    std::sscanf(text.c_str() + clockEnd + connectionLabel.size(), "%d:%d:%d", &hours, &minutes, &seconds);
    line.connectedSeconds = hours * 3600 + minutes * 60 + seconds;
    line.wellFormed = true;
    return line;
}

HWND DescendantWhere(HWND window, std::string_view className, std::optional<std::string_view> text = {}) {
    for (HWND child : Descendants(window))
        if (ClassOf(child) == className && (!text || WindowText(child) == *text)) return child;
    return nullptr;
}

// A visible top-level window of the program with this caption, once it has appeared.
HWND WaitForProgramWindow(const RunningProgram& program, const char* caption) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "UiForm", caption)) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == program.ProcessId() && IsWindowVisible(w)) {
                found = w;
                return true;
            }
        }
        return false;
    });
    return found;
}

std::vector<std::string> LinesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchFileDialog(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<DialogSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || ClassOf(window) != "#32770" || !IsWindowVisible(window) ||
        !GetDlgItem(window, kFileNameBox))
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND WaitForFileDialog(const RunningProgram& program) {
    DialogSearch search{program.ProcessId(), nullptr};
    WaitUntil([&] { return !EnumWindows(MatchFileDialog, reinterpret_cast<LPARAM>(&search)); });
    return search.found;
}

// Types a name into the file dialog's name box and confirms it, as a user would.
bool ChooseFile(const RunningProgram& program, HWND dialog, const std::string& path) {
    SendDlgItemMessageA(dialog, kFileNameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    program.Press(dialog, IDOK);
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

// "yyyymmddhhnn" of a moment some minutes from now.
std::string MinuteStamp(int minutesFromNow) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME file{};
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(minutesFromNow) * 60 * 10000000);
    file = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME then{};
    FileTimeToSystemTime(&file, &then);
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%04u%02u%02u%02u%02u", then.wYear, then.wMonth, then.wDay, then.wHour,
                  then.wMinute);
    return stamp;
}

int CheckedScheme(const RunningProgram& program) {
    for (int i = 0; i < 3; ++i)
        if (SendMessageA(program.SchemeButton(i), BM_GETCHECK, 0, 0) == BST_CHECKED) return i;
    return -1;
}

// The top bar, the text area and the status bar share the client area from top to bottom, each as
// wide as the window.
void ExpectStackedLayout(const RunningProgram& program, int topBarHeight) {
    const RECT client = ClientRectOnScreen(program.MainWindow());
    const RECT topBar = ScreenRectOf(program.TopBar());
    const RECT memo = ScreenRectOf(program.Memo());
    const RECT status = ScreenRectOf(program.StatusBar());
    EXPECT_EQ(client.top, topBar.top);
    EXPECT_EQ(topBarHeight, topBar.bottom - topBar.top);
    EXPECT_EQ(client.right - client.left, topBar.right - topBar.left);
    EXPECT_EQ(topBar.bottom, memo.top);
    EXPECT_EQ(client.right - client.left, memo.right - memo.left);
    EXPECT_EQ(memo.bottom, status.top);
    EXPECT_EQ(client.bottom, status.bottom);
}

void ExpectCentredOnDesktop(const RunningProgram& program, SIZE size) {
    const RECT r = ScreenRectOf(program.MainWindow());
    EXPECT_EQ(size.cx, r.right - r.left);
    EXPECT_EQ(size.cy, r.bottom - r.top);
    EXPECT_EQ(std::max(0L, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - size.cx) / 2), r.left);
    EXPECT_EQ(std::max(0L, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - size.cy) / 2), r.top);
}

void ExitWithYes(RunningProgram& program) {
    program.PostCommand(TMainForm::CloseC1);
    const auto question = program.WaitForBox(kWarning);
    ASSERT_TRUE(question.has_value());
    program.Press(question->box, IDYES);
    ASSERT_EQ(std::optional<DWORD>(0), program.WaitForExit());
}

// Sends a menu command and returns once the program has carried it out.
void RunCommand(const RunningProgram& program, UINT command) {
    SendMessageA(program.MainWindow(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

// ---- the journey ----------------------------------------------------------------------------

class UserJourney : public ::testing::Test {
protected:
    UserJourney() : folder("journey"), device(kDevicePort), simulator(kDevicePort) {
        testsupport::RunPortScript("stop " + std::to_string(kNoDevicePort));
    }

    // Waits until the text area holds `expected`; every text seen on the way is a part of it that
    // ends between two characters, never in the middle of one. Counts the texts seen.
    ::testing::AssertionResult TextArrivesWhole(const std::string& expected, std::size_t from, int& statesSeen) {
        const std::set<std::size_t> boundaries = CharacterBoundaries(expected);
        std::string last;
        statesSeen = 0;
        const bool arrived = WaitUntil(
            [&] {
                const std::string shown = program->MemoText();
                if (shown != last) {
                    ++statesSeen;
                    last = shown;
                    EXPECT_TRUE(expected.compare(0, shown.size(), shown) == 0 && shown.size() >= from &&
                                boundaries.count(shown.size()))
                        << "the text area showed " << shown.size() << " bytes that are not a whole part of the text";
                }
                return shown == expected;
            },
            15000, 5);
        if (arrived) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << program->MemoText().size() << " of " << expected.size() << " bytes arrived; " << simulator.Log();
    }

    ProgramFolder folder;
    VirtualPort device;
    DeviceSimulator simulator;
    std::optional<RunningProgram> program;
    std::string text;           // what the text area should hold
    ULONGLONG connectedAt = 0;  // when the lamp turned green
};

}  // namespace

TEST_F(UserJourney, FromTheFirstStartToTheNextStartThatRestoresEverything) {
    const ULONGLONG journeyStarted = GetTickCount64();

    // Without a settings file the program starts at its laid-out size in the middle of the desktop,
    // with no port and no scheme chosen, the lamp red and the clock alone in the status line.
    ASSERT_FALSE(folder.Exists("uinf"));
    program.emplace(folder);
    ExpectCentredOnDesktop(*program, {989, 622});
    EXPECT_TRUE(LampShows(*program, kRed));
    EXPECT_EQ(CB_ERR, SendMessageA(program->PortList(), CB_GETCURSEL, 0, 0));
    EXPECT_EQ("", WindowText(program->PortList()));
    EXPECT_EQ(-1, CheckedScheme(*program));
    EXPECT_EQ(kSilver, program->MemoBackground());
    EXPECT_EQ("", program->MemoText());
    EXPECT_EQ("", program->StripText());
    EXPECT_EQ(533, SizeOf(program->Strip()).cx);
    EXPECT_EQ(25, SizeOf(program->Strip()).cy);
    ExpectStackedLayout(*program, 89);
    ASSERT_TRUE(WaitUntil([&] { return ReadStatusLine(*program).wellFormed; })) << program->StatusText();
    EXPECT_LE(std::abs(ReadStatusLine(*program).clockAheadSeconds), 2);
    EXPECT_FALSE(ReadStatusLine(*program).connectedSeconds.has_value());

    // A second start says that the program already runs and ends with exit code 0; the first runs on.
    {
        RunningProgram second(folder, RunningProgram::Expect::NoWindow);
        const auto message = second.WaitForBox("Varnedo", 15000);
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(kAlreadyRunning, message->text);
        second.Press(message->box, IDOK);
        EXPECT_EQ(std::optional<DWORD>(0), second.WaitForExit());
    }
    EXPECT_TRUE(program->Running());
    EXPECT_TRUE(IsWindowVisible(program->MainWindow()));

    // A port without a device keeps the lamp red; the device's port turns it green and starts the
    // connection time.
    program->ChoosePort(kNoDevicePort);
    Sleep(300);
    EXPECT_EQ(kRed, program->LampColour());
    EXPECT_FALSE(ReadStatusLine(*program).connectedSeconds.has_value());
    program->ChoosePort(kDevicePort);
    ASSERT_TRUE(LampShows(*program, kGreen));
    connectedAt = GetTickCount64();
    EXPECT_EQ("10", WindowText(program->PortList()));
    EXPECT_TRUE(WaitUntil([&] { return ReadStatusLine(*program).connectedSeconds.has_value(); }))
        << program->StatusText();

    // The device's text appears as it comes, a character at a time and never half of one, with
    // its line breaks; the strip holds the newest characters.
    folder.WriteFile("device-first.bin", kFirstLines);
    ASSERT_TRUE(simulator.Play(folder.FilePath("device-first.bin"), 12, 1));
    int states = 0;
    ASSERT_TRUE(TextArrivesWhole(kFirstText, 0, states));
    EXPECT_GE(states, 15) << "the text arrived in fewer pieces than the device sent";
    text = kFirstText;
    EXPECT_EQ(kFirstStrip, program->StripText());

    // The status line shows the clock and how long the port has been open.
    const StatusLine status = ReadStatusLine(*program);
    ASSERT_TRUE(status.wellFormed) << program->StatusText();
    EXPECT_LE(std::abs(status.clockAheadSeconds), 2);
    ASSERT_TRUE(status.connectedSeconds.has_value());
    const int sinceGreen = static_cast<int>((GetTickCount64() - connectedAt) / 1000);
    EXPECT_LE(std::abs(*status.connectedSeconds - sinceGreen), 2) << program->StatusText();

    // Reconnect: the lamp turns red, then green again when the port has reopened, and the
    // connection time starts again.
    ASSERT_TRUE(WaitUntil([&] { return ReadStatusLine(*program).connectedSeconds.value_or(0) >= 3; }, 5000));
    RunCommand(*program, TMainForm::OpenO1);
    EXPECT_TRUE(LampGoesThrough(*program, {kRed, kGreen}));
    EXPECT_TRUE(WaitUntil([&] { return ReadStatusLine(*program).connectedSeconds.value_or(9) <= 1; }))
        << program->StatusText();

    // An unplugged device turns the lamp red; plugged in again, the port reopens by itself and
    // reception goes on.
    device.Unplug();
    EXPECT_TRUE(LampShows(*program, kRed));
    Sleep(300);
    EXPECT_EQ(kRed, program->LampColour());
    EXPECT_TRUE(program->Running());
    device.Plug();
    ASSERT_TRUE(LampShows(*program, kGreen, 5000));
    folder.WriteFile("device-later.bin", kLaterLines);
    ASSERT_TRUE(simulator.Play(folder.FilePath("device-later.bin"), 960));
    ASSERT_TRUE(TextArrivesWhole(text + kLaterText, text.size(), states));
    text += kLaterText;

    // Each colour scheme paints the whole text area at once: "1" green on black, "3" dark red on
    // light cyan.
    program->Click(program->SchemeButton(0));
    EXPECT_TRUE(WaitUntil([&] { return program->MemoBackground() == kBlack; }));
    EXPECT_TRUE(WaitUntil([&] { return PixelsOfColour(program->Memo(), kGreen) > 20; })) << "no green text";
    program->Click(program->SchemeButton(2));
    EXPECT_EQ(2, CheckedScheme(*program));
    EXPECT_TRUE(WaitUntil([&] { return program->MemoBackground() == kLightCyan; }));
    EXPECT_TRUE(WaitUntil([&] { return PixelsOfColour(program->Memo(), kDarkRed) > 20; })) << "no dark red text";
    EXPECT_EQ(0, PixelsOfColour(program->Memo(), kGreen));

    // The text size steps grow and shrink the strip and the top bar, and the text area takes the
    // rest; a larger window gives the text area the room.
    program->Click(program->ButtonCaptioned(kLarger));
    program->Click(program->ButtonCaptioned(kLarger));
    EXPECT_EQ(573, SizeOf(program->Strip()).cx);
    EXPECT_EQ(29, SizeOf(program->Strip()).cy);
    ExpectStackedLayout(*program, 93);
    program->Click(program->ButtonCaptioned(kSmaller));
    EXPECT_EQ(553, SizeOf(program->Strip()).cx);
    EXPECT_EQ(27, SizeOf(program->Strip()).cy);
    ExpectStackedLayout(*program, 91);
    SetWindowPos(program->MainWindow(), nullptr, 0, 0, 1040, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(1040, SizeOf(program->MainWindow()).cx);
    EXPECT_EQ(700, SizeOf(program->MainWindow()).cy);
    ExpectStackedLayout(*program, 91);
    EXPECT_EQ(553, SizeOf(program->Strip()).cx);

    // Save: the dialog proposes the date and time as the name; text that arrives while it is open
    // is saved too, and the file holds exactly what the text area shows.
    program->PostCommand(TMainForm::SaveS1);
    HWND dialog = WaitForFileDialog(*program);
    ASSERT_NE(nullptr, dialog);
    const std::string proposed = WindowText(GetDlgItem(dialog, kFileNameBox));
    EXPECT_TRUE(proposed == MinuteStamp(0) || proposed == MinuteStamp(-1)) << proposed;
    ASSERT_TRUE(device.Send("\x8A\xBF\x8E\x9A\x0A"));  // 漢字 LF
    text += "\x8A\xBF\x8E\x9A\x0D\x0A";
    EXPECT_TRUE(WaitUntil([&] { return program->MemoText() == text; })) << "nothing received behind the dialog";
    ASSERT_TRUE(ChooseFile(*program, dialog, folder.FilePath("transcript.txt")));
    EXPECT_TRUE(WaitUntil([&] { return folder.ReadFile("transcript.txt") == text; }));

    // Clear empties the text area and the strip; loading the transcript shows the same text again.
    program->Click(program->ButtonCaptioned(kClear));
    EXPECT_EQ("", program->MemoText());
    EXPECT_EQ("", program->StripText());
    program->PostCommand(TMainForm::LoadL1);
    dialog = WaitForFileDialog(*program);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(ChooseFile(*program, dialog, folder.FilePath("transcript.txt")));
    EXPECT_TRUE(WaitUntil([&] { return program->MemoText() == text; })) << program->MemoText();

    // Help lists readme.txt line by line while the text area goes on filling behind it; Version
    // shows the program's name and version. Both keep the main window from input while open.
    program->PostCommand(TMainForm::H2);
    const HWND help = WaitForProgramWindow(*program, kHelpCaption);
    ASSERT_NE(nullptr, help);
    EXPECT_FALSE(IsWindowEnabled(program->MainWindow()));
    EXPECT_EQ(LinesOf(folder.ReadFile("readme.txt").value_or("")), ListItems(DescendantWhere(help, "ListBox")));
    ASSERT_TRUE(device.Send("help\n"));
    text += "help\r\n";
    EXPECT_TRUE(WaitUntil([&] { return program->MemoText() == text; })) << "nothing received behind help";
    program->Click(DescendantWhere(help, "Button", kCloseButton));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(help) && IsWindowEnabled(program->MainWindow()); }));

    program->PostCommand(TMainForm::V1);
    const HWND version = WaitForProgramWindow(*program, kVersionCaption);
    ASSERT_NE(nullptr, version);
    EXPECT_FALSE(IsWindowEnabled(program->MainWindow()));
    EXPECT_NE(nullptr, DescendantWhere(version, "Static", "Varnedo"));
    EXPECT_NE(nullptr, DescendantWhere(version, "Static", "1.0.8.2"));
    program->Click(DescendantWhere(version, "Button", "OK"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(version) && IsWindowEnabled(program->MainWindow()); }));

    // Closing asks first; No leaves everything as it was and writes no settings.
    PostMessageA(program->MainWindow(), WM_CLOSE, 0, 0);
    auto question = program->WaitForBox(kWarning);
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(kExitQuestion, question->text);
    program->Press(question->box, IDNO);
    Sleep(300);
    EXPECT_TRUE(program->Running());
    EXPECT_TRUE(IsWindowVisible(program->MainWindow()));
    EXPECT_EQ(kGreen, program->LampColour());
    EXPECT_EQ(text, program->MemoText());
    EXPECT_FALSE(folder.Exists("uinf"));

    // Yes ends the program with exit code 0 and writes the choices into the settings file.
    ASSERT_NO_FATAL_FAILURE(ExitWithYes(*program));
    program.reset();
    EXPECT_EQ(kSettings, folder.ReadFile("uinf"));

    // The next start opens the same port on its first ticks and shows the same scheme, text size
    // and window size.
    program.emplace(folder);
    const ULONGLONG shownAt = GetTickCount64();
    ASSERT_TRUE(LampShows(*program, kGreen, 1000)) << "COM10 did not open at once";
    std::printf("the port opened %llu ms after the window appeared\n", GetTickCount64() - shownAt);
    EXPECT_EQ(9, SendMessageA(program->PortList(), CB_GETCURSEL, 0, 0));
    EXPECT_EQ("10", WindowText(program->PortList()));
    EXPECT_EQ(2, CheckedScheme(*program));
    EXPECT_EQ(kLightCyan, program->MemoBackground());
    EXPECT_EQ(553, SizeOf(program->Strip()).cx);
    EXPECT_EQ(27, SizeOf(program->Strip()).cy);
    ExpectCentredOnDesktop(*program, {1040, 700});
    ExpectStackedLayout(*program, 91);
    EXPECT_EQ("", program->MemoText());
    ASSERT_TRUE(device.Send(kFirstLines));
    EXPECT_TRUE(WaitUntil([&] { return program->MemoText() == kFirstText; })) << program->MemoText();
    EXPECT_TRUE(WaitUntil([&] { return PixelsOfColour(program->Memo(), kDarkRed) > 20; })) << "no dark red text";

    ASSERT_NO_FATAL_FAILURE(ExitWithYes(*program));
    EXPECT_EQ(kSettings, folder.ReadFile("uinf")) << "an exit without changes writes the same file";

    std::printf("the journey took %.1f s\n", static_cast<double>(GetTickCount64() - journeyStarted) / 1000.0);
}
