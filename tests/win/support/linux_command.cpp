#include "support/linux_command.h"

#include <windows.h>

#include <vector>

namespace testsupport {

std::string WindowsPathOf(const std::string& unixPath)
{
    std::string path = "Z:";
    for (char c : unixPath) path += c == '/' ? '\\' : c;
    return path;
}

bool RunLinuxScript(const std::string& script, const std::string& arguments, int timeoutMs)
{
    static int runs = 0;
    const std::string unixMarker = "/tmp/varnedo-done-" + std::to_string(GetCurrentProcessId()) + "-" +
                                   std::to_string(++runs);
    const std::string marker = WindowsPathOf(unixMarker);
    DeleteFileA(marker.c_str());

    SetEnvironmentVariableA("VARNEDO_DONE_FILE", unixMarker.c_str());
    std::string commandLine = std::string(VARNEDO_SCRIPTS_DIR) + "/" + script + " " + arguments;
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &process) != FALSE;
    SetEnvironmentVariableA("VARNEDO_DONE_FILE", nullptr);
    if (!started) return false;
    // Wine starts a Linux program without a Windows process behind it: it reports success but
    // gives back no process handle, and the thread handle is whatever was left in that place,
    // possibly a handle of this program's own (closing it once closed this program's standard
    // output). Only real handles are closed.
    if (process.hProcess) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() > deadline) return false;
        Sleep(5);
    }
    DeleteFileA(marker.c_str());
    return true;
}

}  // namespace testsupport
