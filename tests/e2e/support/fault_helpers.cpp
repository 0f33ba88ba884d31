#include "support/fault_helpers.h"

#include "support/linux_command.h"

#include <algorithm>
#include <cstdio>

namespace e2e {
namespace {

constexpr COLORREF kGreen = 0x0000FF00;
constexpr int kFileNameBox = 0x47C;
constexpr const char* kWarning = "\x8C\x78\x8D\x90";  // 警告
// Run through the scripts directory's runner; the script lives beside the Windows test support.
constexpr const char* kDiskFixtures = "../tests/win/support/disk_fixtures.sh";

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchFileDialog(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<DialogSearch*>(parameter);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || std::string(className) != "#32770" || !IsWindowVisible(window) ||
        !GetDlgItem(window, kFileNameBox))
        return TRUE;
    search.found = window;
    return FALSE;
}

struct BoxSearch {
    DWORD processId;
    HWND question;  // a box with a Yes button (the save dialog's question whether to replace)
    HWND message;   // a plain message box of the program
};

BOOL CALLBACK MatchAnswerableBox(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<BoxSearch*>(parameter);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
    if (GetDlgItem(window, IDYES))
        search.question = window;
    else if (e2e::WindowText(window) == "Varnedo")
        search.message = window;
    return TRUE;
}

}  // namespace

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double SecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::optional<double> AnswerMilliseconds(HWND window, UINT limitMs) {
    const LARGE_INTEGER start = Now();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, limitMs, &result)) return std::nullopt;
    return SecondsSince(start) * 1000;
}

void AnswerProbe::Probe(HWND window) {
    const std::optional<double> ms = AnswerMilliseconds(window);
    if (ms) {
        times_.push_back(*ms);
    } else {
        ++unanswered_;
    }
}

double AnswerProbe::WorstMs() const { return times_.empty() ? 0 : *std::max_element(times_.begin(), times_.end()); }

double AnswerProbe::Percentile95Ms() const {
    if (times_.empty()) return 0;
    std::vector<double> sorted = times_;
    std::sort(sorted.begin(), sorted.end());
    return sorted[(sorted.size() - 1) * 95 / 100];
}

bool ConnectTo(const RunningProgram& program, int port) {
    program.ChoosePort(port);
    return WaitUntil([&] { return program.LampColour() == kGreen; });
}

std::string FirstDifference(const std::string& expected, const std::string& actual) {
    const auto [e, a] = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    const std::size_t at = static_cast<std::size_t>(e - expected.begin());
    char where[128];
    std::snprintf(where, sizeof where, "%zu bytes expected, %zu present, first difference at byte %zu", expected.size(),
                  actual.size(), at);
    std::string context = where;
    auto hex = [](const std::string& bytes, std::size_t from) {
        std::string out;
        char b[4];
        for (std::size_t i = from; i < std::min(bytes.size(), from + 24); ++i) {
            std::snprintf(b, sizeof b, "%02X ", static_cast<unsigned char>(bytes[i]));
            out += b;
        }
        return out;
    };
    const std::size_t from = at < 8 ? 0 : at - 8;
    context += "\nexpected from byte " + std::to_string(from) + ": " + hex(expected, from);
    context += "\npresent  from byte " + std::to_string(from) + ": " + hex(actual, from);
    (void)a;
    return context;
}

DWORD OwnerOf(HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner;
}

HWND ConfirmFileDialog(const RunningProgram& program, const std::string& path) {
    DialogSearch search{program.ProcessId(), nullptr};
    if (!WaitUntil([&] { return !EnumWindows(MatchFileDialog, reinterpret_cast<LPARAM>(&search)); })) return nullptr;
    SendDlgItemMessageA(search.found, kFileNameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    program.Press(search.found, IDOK);
    return search.found;
}

bool ChooseFileInDialog(const RunningProgram& program, const std::string& path) {
    const HWND dialog = ConfirmFileDialog(program, path);
    return dialog && WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

std::optional<std::string> MessageAfterTheDialog(const RunningProgram& program, int timeoutMs) {
    std::optional<std::string> text;
    WaitUntil(
        [&] {
            BoxSearch search{program.ProcessId(), nullptr, nullptr};
            EnumWindows(MatchAnswerableBox, reinterpret_cast<LPARAM>(&search));
            if (search.question) {
                program.Press(search.question, IDYES);
                Sleep(100);
            }
            if (!search.message) return false;
            text = e2e::WindowText(GetDlgItem(search.message, 0xFFFF));
            program.Press(search.message, IDOK);
            return true;
        },
        timeoutMs, 20);
    return text;
}

bool EndThroughTheExitQuestion(RunningProgram& program, std::optional<DWORD>& exitCode) {
    PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    const auto question = program.WaitForBox(kWarning);
    if (!question) return false;
    program.Press(question->box, IDYES);
    exitCode = program.WaitForExit();
    return true;
}

std::string UnixFolder(const std::string& windowsFolder) {
    std::string path = windowsFolder.substr(2);
    for (char& c : path)
        if (c == '\\') c = '/';
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

FolderCondition::FolderCondition(std::string unixFolder, const std::vector<std::string>& commands)
    : folder_(std::move(unixFolder)) {
    for (const std::string& command : commands) {
        // "own" takes the size of the small disk after the folder.
        const std::string size = command == "own" ? " 4096" : "";
        made_ = made_ && testsupport::RunLinuxScript(kDiskFixtures, command + " " + folder_ + size);
    }
}

FolderCondition::~FolderCondition() { testsupport::RunLinuxScript(kDiskFixtures, "unmount " + folder_); }

bool CanCreateFileIn(const std::string& folder) {
    const std::string probe = folder + "write-probe";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool wrote = WriteFile(file, "x", 1, &written, nullptr) && FlushFileBuffers(file);
    CloseHandle(file);
    DeleteFileA(probe.c_str());
    return wrote;
}

}  // namespace e2e
