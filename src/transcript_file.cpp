#include "transcript_file.h"


#include "core/text_mode.h"
#include "ui/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace {

constexpr DWORD kReadChunkSize = 256 * 1024;
constexpr DWORD kWriteChunkSize = 1024 * 1024;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kWriteChunkSize));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool WriteAll(HANDLE file, const TranscriptBytes& bytes) {
    return bytes([file](std::string_view piece) { return WriteAll(file, piece); });
}

// Closing can be where a delayed write fails, so its result counts.
bool Close(ui::UniqueFile& file) {
    return CloseHandle(file.release()) != FALSE;
}

// A file created under a fresh name beside the target. It is deleted again unless it was moved
// into the target's place; only a file this object created is ever deleted.
class FileBeside {
public:
    FileBeside(const std::wstring& target, DWORD attributes) {
        wchar_t full[MAX_PATH];
        wchar_t* namePart = nullptr;
        const DWORD length = GetFullPathNameW(target.c_str(), MAX_PATH, full, &namePart);
        if (length == 0 || length >= MAX_PATH || namePart == nullptr) return;
        const std::wstring folder(full, namePart);
        static unsigned serial = 0;
        for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
            path_ = folder + L"~vn" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial) + L".tmp";
            // CREATE_NEW never opens something that is already there.
            file_.reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file_ && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
        }
        if (!file_) path_.clear();
    }
    ~FileBeside() {
        file_.reset();
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    FileBeside(const FileBeside&) = delete;
    FileBeside& operator=(const FileBeside&) = delete;

    bool Created() const { return static_cast<bool>(file_); }

    bool WriteAndClose(const TranscriptBytes& bytes) {
        return WriteAll(file_.get(), bytes) && FlushFileBuffers(file_.get()) && Close(file_);
    }

    bool MoveTo(const std::wstring& target, DWORD moveFlags) {
        if (!MoveFileExW(path_.c_str(), target.c_str(), moveFlags | MOVEFILE_WRITE_THROUGH)) return false;
        path_.clear();
        return true;
    }

private:
    std::wstring path_;
    ui::UniqueFile file_;
};

bool WriteBesideAndMove(const std::wstring& path, const TranscriptBytes& bytes, DWORD attributes, DWORD moveFlags) {
    FileBeside beside(path, attributes);
    return beside.Created() && beside.WriteAndClose(bytes) && beside.MoveTo(path, moveFlags);
}

void TakeLines(core::LineReader& reader, std::vector<std::string>& lines) {
    for (std::string& line : reader.TakeLines()) {
        lines.push_back(std::move(line));
    }
}

}  // namespace

bool WriteTranscriptFile(const std::wstring& path, std::string_view bytes) {
    return WriteTranscriptFile(path, [bytes](const TranscriptSink& write) { return write(bytes); });
}

bool WriteTranscriptFile(const std::wstring& path, const TranscriptBytes& bytes) {
    // Opening the target for writing tells whether it may be written at all, and what it is.
    ui::UniqueFile existing(
        CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;  // read-only, a folder, in use, no such folder
        // Without MOVEFILE_REPLACE_EXISTING: whatever appeared there meanwhile is left alone.
        return WriteBesideAndMove(path, bytes, 0, 0);
    }
    if (GetFileType(existing.get()) != FILE_TYPE_DISK) {
        // A device (Z:\dev\full under Wine) or a pipe: never put aside or replaced.
        return WriteAll(existing.get(), bytes) && Close(existing);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(existing.get(), &info)) return false;
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    // Our own open handle would keep the old file from being replaced.
    existing.reset();
    const DWORD keptAttributes = info.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return WriteBesideAndMove(path, bytes, keptAttributes, MOVEFILE_REPLACE_EXISTING);
}

TranscriptReadResult ReadTranscriptFile(const std::wstring& path, const std::function<bool(std::string_view)>& chunk) {
    // The help file lies in the program's folder, which may lie deeper than MAX_PATH.
    ui::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return TranscriptReadResult::CannotOpen;
    // A device or a pipe may never end or may wait for input, which would freeze the window.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return TranscriptReadResult::CannotOpen;

    std::string buffer(kReadChunkSize, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), kReadChunkSize, &got, nullptr)) return TranscriptReadResult::Failed;
        if (got == 0) return TranscriptReadResult::Complete;
        if (!chunk(std::string_view(buffer.data(), got))) return TranscriptReadResult::Complete;
    }
}

TranscriptLines ReadTranscriptFile(const std::wstring& path) {
    TranscriptLines read{TranscriptReadResult::CannotOpen, {}};
    core::LineReader reader;
    read.result = ReadTranscriptFile(path, [&](std::string_view chunk) {
        reader.Feed(chunk);
        TakeLines(reader, read.lines);
        return !reader.Ended();
    });
    // The line that was being read when an error struck is left out.
    if (read.result == TranscriptReadResult::Complete) {
        reader.Finish();
        TakeLines(reader, read.lines);
    }
    return read;
}
