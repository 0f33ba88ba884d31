#include "file_reader.h"

#include "ui/unique_handle.h"

#include <windows.h>

namespace {

constexpr DWORD kReadChunkSize = 256 * 1024;

}  // namespace

FileReadResult ReadFileInChunks(const std::wstring& path, const std::function<bool(std::string_view)>& chunk) {
    const ui::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return FileReadResult::CannotOpen;
    // A device or a pipe may never end or may wait for input, which would freeze the window.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return FileReadResult::CannotOpen;

    std::string buffer(kReadChunkSize, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), kReadChunkSize, &got, nullptr)) return FileReadResult::Failed;
        if (got == 0 || !chunk(std::string_view(buffer.data(), got))) return FileReadResult::Complete;
    }
}
