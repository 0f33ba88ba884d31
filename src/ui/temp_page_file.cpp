#include "ui/temp_page_file.h"

#include "ui/unique_handle.h"

#include <windows.h>

#include <string>

namespace ui {
namespace {

class TempPageFile : public core::PageFile {
public:
    explicit TempPageFile(UniqueFile file) : file_(std::move(file)) {}

    bool WriteAt(std::uint64_t position, std::string_view bytes) override {
        OVERLAPPED at = At(position);
        DWORD written = 0;
        return WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, &at) &&
               written == bytes.size();
    }

    bool ReadAt(std::uint64_t position, char* into, std::size_t size) override {
        OVERLAPPED at = At(position);
        DWORD got = 0;
        return ReadFile(file_.get(), into, static_cast<DWORD>(size), &got, &at) && got == size;
    }

private:
    static OVERLAPPED At(std::uint64_t position) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        return at;
    }

    UniqueFile file_;
};

}  // namespace

std::unique_ptr<core::PageFile> OpenTempPageFile() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return nullptr;
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring path = std::wstring(folder) + L"~vnpage" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++serial) + L".tmp";
        // Nobody else may open it, and it goes when its handle closes, however the program ends.
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (file) return std::make_unique<TempPageFile>(std::move(file));
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return nullptr;
    }
    return nullptr;
}

}  // namespace ui
