#include "workspace.h"

#include "support/linux_command.h"

#include <windows.h>

#include <algorithm>

namespace bench {

using testsupport::WindowsPathOf;

Workspace::Workspace()
    : unixFolder("/tmp/varnedo-bench-" + std::to_string(GetCurrentProcessId()) + "/"),
      windowsFolder(WindowsPathOf(unixFolder)) {
    CreateDirectoryA(windowsFolder.c_str(), nullptr);
}

Workspace::~Workspace() {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((windowsFolder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((windowsFolder + entry.cFileName).c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(windowsFolder.c_str());
}

bool Workspace::Write(std::string_view name, std::string_view bytes) const {
    HANDLE file = CreateFileA(WindowsPath(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    while (ok && !bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        DWORD written = 0;
        ok = WriteFile(file, bytes.data(), piece, &written, nullptr) && written > 0;
        bytes.remove_prefix(written);
    }
    return CloseHandle(file) && ok;
}

std::optional<std::string> Workspace::Read(std::string_view name) const { return ReadWholeFile(WindowsPath(name)); }

void Workspace::Remove(std::string_view name) const { DeleteFileA(WindowsPath(name).c_str()); }

std::optional<std::string> ReadWholeFile(const std::string& windowsPath) {
    HANDLE file = CreateFileA(windowsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    static char buffer[1 << 16];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

}  // namespace bench
