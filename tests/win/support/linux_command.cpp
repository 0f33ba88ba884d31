#include "support/linux_command.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace testsupport {

std::string WindowsPathOf(const std::string& unixPath) {
    std::string path = "Z:";
    for (char c : unixPath) path += c == '/' ? '\\' : c;
    return path;
}

LinuxJob::LinuxJob(const std::string& script, const std::string& arguments) {
    static int jobs = 0;
    const std::string unixMarker =
        "/tmp/varnedo-job-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++jobs);
    marker = WindowsPathOf(unixMarker);
    DeleteFileA(marker.c_str());

    SetEnvironmentVariableA("VARNEDO_DONE_FILE", unixMarker.c_str());
    std::string commandLine = std::string(VARNEDO_SCRIPTS_DIR) + "/" + script + " " + arguments;
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    started = CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process) != FALSE;
    SetEnvironmentVariableA("VARNEDO_DONE_FILE", nullptr);
    if (!started) return;
    // Wine starts a Linux program without a Windows process behind it: it reports success but
    // gives back no process handle, and the thread handle is whatever was left in that place,
    // possibly a handle of this program's own (closing it once closed this program's standard
    // output). Only real handles are closed.
    if (process.hProcess) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

LinuxJob::~LinuxJob() { DeleteFileA(marker.c_str()); }

std::optional<int> LinuxJob::ExitStatus() {
    if (status || !started) return status;
    // The script moves the finished status file into place, so a file that exists is complete.
    HANDLE file = CreateFileA(marker.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    char text[16] = {};
    DWORD got = 0;
    ReadFile(file, text, sizeof text - 1, &got, nullptr);
    CloseHandle(file);
    status = std::atoi(text);
    return status;
}

std::optional<int> LinuxJob::Wait(int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!ExitStatus()) {
        if (!started || GetTickCount64() > deadline) return std::nullopt;
        Sleep(5);
    }
    return status;
}

bool RunLinuxScript(const std::string& script, const std::string& arguments, int timeoutMs) {
    LinuxJob job(script, arguments);
    return job.Wait(timeoutMs).has_value();
}

}  // namespace testsupport
