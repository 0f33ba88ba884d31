// The real program started in hostile ways, driven from this separate process: ten copies at the
// same moment, and a program folder deeper than MAX_PATH. Larger counts with VARNEDO_LONG=1 (see
// docs/reliability.md).
#include <gtest/gtest.h>

#include "support/fault_helpers.h"
#include "support/linux_command.h"
#include "support/program_driver.h"
#include "support/run_length.h"

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

using e2e::Now;
using e2e::OwnerOf;
using e2e::ProgramFolder;
using e2e::SecondsSince;
using e2e::WaitUntil;
using testsupport::Scaled;

namespace {

constexpr const char* kWarning = "\x8C\x78\x8D\x90";              // 警告
constexpr const char* kHelpCaption = "\x83\x77\x83\x8B\x83\x76";  // ヘルプ
constexpr const char* kAlreadyRunning =                           // 既に起動しております
    "\x8A\xF9\x82\xC9\x8B\x4E\x93\xAE\x82\xB5\x82\xC4\x82\xA8\x82\xE8\x82\xDC\x82\xB7";

// Copies of the program started together, each ended at the latest when this object goes.
class Copies {
public:
    Copies(const ProgramFolder& folder, int count) {
        // All are created first and let go together, so they start at the same moment.
        const std::string program = folder.FilePath("Varnedo.exe");
        for (int i = 0; i < count; ++i) {
            std::string commandLine;
            commandLine.append(1, '"').append(program).append(1, '"');
            STARTUPINFOA startup{};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION process{};
            if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                               folder.Path().c_str(), &startup, &process))
                processes_.push_back(process);
        }
        for (const PROCESS_INFORMATION& process : processes_) ResumeThread(process.hThread);
    }
    ~Copies() {
        for (const PROCESS_INFORMATION& process : processes_) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.hProcess, 1);
                WaitForSingleObject(process.hProcess, 5000);
            }
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    Copies(const Copies&) = delete;
    Copies& operator=(const Copies&) = delete;

    std::size_t Started() const { return processes_.size(); }
    bool Owns(DWORD processId) const {
        return std::any_of(processes_.begin(), processes_.end(),
                           [&](const PROCESS_INFORMATION& p) { return p.dwProcessId == processId; });
    }
    std::optional<DWORD> ExitCode(DWORD processId, int timeoutMs) const {
        for (const PROCESS_INFORMATION& process : processes_) {
            if (process.dwProcessId != processId) continue;
            if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
                return std::nullopt;
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            return code;
        }
        return std::nullopt;
    }

private:
    std::vector<PROCESS_INFORMATION> processes_;
};

struct CopiesSeen {
    const Copies* copies;
    std::vector<HWND> mainWindows;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectWindowsOfCopies(HWND window, LPARAM parameter) {
    auto& seen = *reinterpret_cast<CopiesSeen*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (!seen.copies->Owns(owner) || !IsWindowVisible(window) || e2e::WindowText(window) != "Varnedo") return TRUE;
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "UiForm") seen.mainWindows.push_back(window);
    if (std::string(className) == "#32770") seen.boxes.push_back(window);
    return TRUE;
}

CopiesSeen WindowsOf(const Copies& copies) {
    CopiesSeen seen{&copies, {}, {}};
    EnumWindows(CollectWindowsOfCopies, reinterpret_cast<LPARAM>(&seen));
    return seen;
}

}  // namespace

// Ten copies started at the same moment give exactly one main window; each of the other nine says
// "既に起動しております" and, answered, ends with exit code 0; the one that runs ends normally.
TEST(RealProgramFaults, TenCopiesStartedAtOnceGiveOneMainWindow) {
    constexpr int kCopies = 10;
    const int rounds = Scaled(2, 10);
    ProgramFolder folder("ten-copies");
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        if (HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, "Ravix")) {
            CloseHandle(running);
            FAIL() << "another copy of the program is running in this Wine prefix";
        }
        const LARGE_INTEGER start = Now();
        Copies copies(folder, kCopies);
        ASSERT_EQ(static_cast<std::size_t>(kCopies), copies.Started());
        CopiesSeen seen;
        const bool settled = WaitUntil(
            [&] {
                seen = WindowsOf(copies);
                return seen.mainWindows.size() == 1 && seen.boxes.size() == kCopies - 1;
            },
            30000, 50);
        const double settledSeconds = SecondsSince(start);
        ASSERT_TRUE(settled) << seen.mainWindows.size() << " main windows and " << seen.boxes.size() << " boxes";

        const DWORD running = OwnerOf(seen.mainWindows.front());
        std::vector<DWORD> refused;
        for (HWND box : seen.boxes) {
            EXPECT_EQ(kAlreadyRunning, e2e::WindowText(GetDlgItem(box, 0xFFFF)));
            refused.push_back(OwnerOf(box));
            EXPECT_NE(running, refused.back()) << "the running copy shows the box";
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        }
        std::sort(refused.begin(), refused.end());
        EXPECT_EQ(refused.end(), std::unique(refused.begin(), refused.end())) << "a copy shows two boxes";
        for (DWORD copy : refused) EXPECT_EQ(std::optional<DWORD>(0), copies.ExitCode(copy, 10000)) << copy;
        EXPECT_EQ(1u, WindowsOf(copies).mainWindows.size());

        const HWND mainWindow = seen.mainWindows.front();
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        HWND question = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            question = FindWindowExA(nullptr, nullptr, "#32770", kWarning);
            return question && OwnerOf(question) == running && IsWindowVisible(question);
        }));
        PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(question, IDYES)));
        EXPECT_EQ(std::optional<DWORD>(0), copies.ExitCode(running, 10000));
        std::printf("round %d: %d copies settled on one window and %zu boxes in %.2f s\n", round + 1, kCopies,
                    seen.boxes.size(), settledSeconds);
    }
}

namespace {

// A path for the wide file functions that may be longer than MAX_PATH.
std::wstring LongWidePath(const std::string& path) {
    std::wstring wide(path.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    return L"\\\\?\\" + wide;
}

void RemoveLongTree(const std::string& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(LongWidePath(folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            std::string narrow(name.size() * 2 + 1, '\0');
            narrow.resize(static_cast<std::size_t>(
                WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), narrow.data(),
                                    static_cast<int>(narrow.size()), nullptr, nullptr)));
            const std::string full = folder + "\\" + narrow;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveLongTree(full);
            } else {
                DeleteFileW(LongWidePath(full).c_str());
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(LongWidePath(folder).c_str());
}

std::optional<std::string> ReadLongFile(const std::string& path) {
    HANDLE file =
        CreateFileW(LongWidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool WriteLongFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(LongWidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return wrote && written == bytes.size();
}

// A program folder deeper than MAX_PATH, made with the wide functions and removed at the end.
class DeepProgramFolder {
public:
    DeepProgramFolder() {
        root_ = "Z:\\tmp\\varnedo-e2e\\deep-" + std::to_string(GetCurrentProcessId());
        RemoveLongTree(root_);
        CreateDirectoryW(LongWidePath(root_).c_str(), nullptr);
        path_ = root_;
        for (int level = 1; level <= 5; ++level) {
            path_ += "\\a-folder-with-a-long-name-that-takes-the-path-past-max-path-" + std::to_string(level);
            CreateDirectoryW(LongWidePath(path_).c_str(), nullptr);
        }
        CopyFileW(LongWidePath(ZPath(VARNEDO_EXE_PATH)).c_str(), LongWidePath(File("Varnedo.exe")).c_str(), FALSE);
        CopyFileW(LongWidePath(ZPath(VARNEDO_README_PATH)).c_str(), LongWidePath(File("readme.txt")).c_str(), FALSE);
    }
    ~DeepProgramFolder() { RemoveLongTree(root_); }
    DeepProgramFolder(const DeepProgramFolder&) = delete;
    DeepProgramFolder& operator=(const DeepProgramFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

    static std::string ZPath(std::string unixPath) {
        for (char& c : unixPath)
            if (c == '/') c = '\\';
        return "Z:" + unixPath;
    }

private:
    std::string root_;
    std::string path_;
};

// The process running the program file at `programPath` (this Wine prefix's processes only).
DWORD ProcessRunning(const std::string& programPath) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    const std::wstring wanted = LongWidePath(programPath).substr(4);  // without the \\?\ prefix
    DWORD found = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process) continue;
        std::wstring image(32768, L'\0');
        DWORD length = static_cast<DWORD>(image.size());
        if (QueryFullProcessImageNameW(process, 0, image.data(), &length)) {
            image.resize(length);
            if (image == wanted || image == L"\\\\?\\" + wanted) found = entry.th32ProcessID;
        }
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return found;
}

struct OwnWindowSearch {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchOwnWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<OwnWindowSearch*>(parameter);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (!IsWindowVisible(window) || std::string(className) != search.className) return TRUE;
    if (search.processId != 0 && OwnerOf(window) != search.processId) return TRUE;
    if (search.caption && e2e::WindowText(window) != search.caption) return TRUE;
    search.found = window;
    return FALSE;
}

HWND VisibleWindow(DWORD processId, const char* className, const char* caption) {
    OwnWindowSearch search{processId, className, caption, nullptr};
    EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ChildSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchChildOfClass(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<ChildSearch*>(parameter);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != search.className) return TRUE;
    search.found = window;
    return FALSE;
}

HWND ChildOfClass(HWND parent, const char* className) {
    ChildSearch search{className, nullptr};
    EnumChildWindows(parent, MatchChildOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

// A program whose folder lies deeper than MAX_PATH (started from Linux: Windows itself starts no
// such program) comes up, reads its settings file, lists readme.txt in the help window without a
// failure message, and at the exit writes its settings there and ends with exit code 0.
TEST(RealProgramFaults, ProgramFolderDeeperThanMaxPathFindsItsFiles) {
    DeepProgramFolder folder;
    ASSERT_GT(folder.File("Varnedo.exe").size(), static_cast<std::size_t>(MAX_PATH));
    ASSERT_TRUE(WriteLongFile(folder.File("uinf"), "3\r\n1\r\n12\r\n622\r\n989"));
    const std::optional<std::string> readme = ReadLongFile(folder.File("readme.txt"));
    ASSERT_TRUE(readme.has_value()) << "the program and its files were not copied";
    const auto readmeLines = std::count(readme->begin(), readme->end(), '\n');
    if (HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, "Ravix")) {
        CloseHandle(running);
        FAIL() << "another copy of the program is running in this Wine prefix";
    }

    std::string unixProgram = folder.File("Varnedo.exe").substr(2);
    for (char& c : unixProgram)
        if (c == '\\') c = '/';
    ASSERT_TRUE(testsupport::RunLinuxScript("../tests/e2e/support/start_from_linux.sh", unixProgram));
    // Held from the moment the process exists, so that it is ended whatever happens below.
    DWORD processId = 0;
    ASSERT_TRUE(WaitUntil([&] { return (processId = ProcessRunning(folder.File("Varnedo.exe"))) != 0; }, 60000))
        << "the program did not start";
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
    ASSERT_NE(nullptr, process);
    struct Ender {
        HANDLE process;
        ~Ender() {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    } ender{process};
    HWND mainWindow = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (mainWindow = VisibleWindow(processId, "UiForm", "Varnedo")) != nullptr; }, 30000))
        << "the program's window did not come up";

    const HWND portList = ChildOfClass(mainWindow, "ComboBox");
    EXPECT_EQ("3", e2e::WindowText(portList)) << "the settings file was not read";

    PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(0x0301, 0), 0);  // Help > Help
    HWND help = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        if (HWND box = VisibleWindow(processId, "#32770", nullptr)) {
            ADD_FAILURE() << "message: " << e2e::WindowText(GetDlgItem(box, 0xFFFF));
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return (help = VisibleWindow(processId, "UiForm", kHelpCaption)) != nullptr;
    }));
    EXPECT_EQ(readmeLines, SendMessageA(ChildOfClass(help, "ListBox"), LB_GETCOUNT, 0, 0))
        << "readme.txt is not listed";
    PostMessageA(help, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(help); }));

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = VisibleWindow(processId, "#32770", kWarning)) != nullptr; }));
    PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(process, 10000));
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(std::optional<std::string>("3\r\n1\r\n12\r\n622\r\n989"), ReadLongFile(folder.File("uinf")));
    std::printf("program at a path of %zu bytes: settings read, %ld help lines listed, settings written\n",
                folder.File("Varnedo.exe").size(), static_cast<long>(readmeLines));
}
