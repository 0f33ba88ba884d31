#include "file_replacement.h"

#include "ui/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr DWORD kWriteChunkSize = 1024 * 1024;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A pipe whose reader takes nothing for this long is given up, rather than hold the window.
constexpr DWORD kDeviceWriteWaitMs = 2000;

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kWriteChunkSize));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A handle opened for overlapped writes: every piece is waited for at most kDeviceWriteWaitMs.
bool WriteAllWaitingBounded(HANDLE device, std::string_view bytes) {
    const ui::UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return false;
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kWriteChunkSize));
        OVERLAPPED pending{};
        pending.hEvent = done.get();
        DWORD written = 0;
        if (!WriteFile(device, bytes.data(), piece, nullptr, &pending)) {
            if (GetLastError() != ERROR_IO_PENDING) return false;
            if (WaitForSingleObject(done.get(), kDeviceWriteWaitMs) != WAIT_OBJECT_0) {
                CancelIo(device);
                GetOverlappedResult(device, &pending, &written, TRUE);
                return false;
            }
        }
        if (!GetOverlappedResult(device, &pending, &written, TRUE) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// The flush of a large file takes a while: it runs on a thread of its own while `wait` waits.
bool Flush(HANDLE file, const FlushWait& wait) {
    if (!wait) return FlushFileBuffers(file) != FALSE;
    const ui::UniqueKernelHandle flushed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!flushed) return FlushFileBuffers(file) != FALSE;
    std::atomic<bool> done{false};
    std::thread flusher([&] {
        done = FlushFileBuffers(file) != FALSE;
        SetEvent(flushed.get());
    });
    const bool goOn = wait(flushed.get());
    flusher.join();
    return goOn && done;
}

// Closing can be where a delayed write fails, so its result counts.
bool Close(ui::UniqueFile& file) { return CloseHandle(file.release()) != FALSE; }

std::wstring FullPath(const std::wstring& path) {
    std::vector<wchar_t> full(MAX_PATH);
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return {};
        if (length < full.size()) return std::wstring(full.data(), length);
        full.resize(length + 1);
    }
}

// Where the file behind an open handle really lies: a symbolic link leads to it.
std::wstring FinalPath(HANDLE file, const std::wstring& fallback) {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return fallback;
        if (length < path.size()) return std::wstring(path.data(), length);
        path.resize(length + 1);
    }
}

std::wstring FolderOf(const std::wstring& fullPath) {
    const std::size_t slash = fullPath.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : fullPath.substr(0, slash + 1);
}

// Files of this process's name left in the folder by an earlier process that had the same id and
// ended before it could remove them; no running process can be writing them.
void ClearStaleBesideFiles(const std::wstring& folder, const std::wstring& prefix) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + prefix + L"*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// For a folder that lets a file be changed but not created: the old file, truncated and written.
bool WriteInPlace(const std::wstring& path, const ByteSource& bytes) {
    ui::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    return bytes([&file](std::string_view piece) { return WriteAll(file.get(), piece); }) &&
           FlushFileBuffers(file.get()) && Close(file);
}

// A file created under a fresh name beside the target. It is deleted again unless it took the
// target's place; only a file this object created is ever deleted.
class FileBeside {
public:
    FileBeside(const std::wstring& folder, DWORD attributes) {
        const std::wstring prefix = BesideFilePrefix();
        ClearStaleBesideFiles(folder, prefix);
        static unsigned serial = 0;
        for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
            path_ = folder + prefix + std::to_wstring(++serial) + L".tmp";
            // CREATE_NEW never opens something that is already there.
            file_.reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file_) {
                error_ = GetLastError();
                if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) break;
            }
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
    // Why it could not be created.
    DWORD Error() const { return error_; }

    bool WriteAndClose(const ByteSource& bytes, const FlushWait& wait) {
        return bytes([this](std::string_view piece) { return WriteAll(file_.get(), piece); }) &&
               Flush(file_.get(), wait) && Close(file_);
    }

    // The old file gives its attributes, security and creation time to the new contents.
    bool Replace(const std::wstring& target) {
        if (!ReplaceFileW(target.c_str(), path_.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            return false;
        }
        path_.clear();
        return true;
    }

    // For a file with more than one name: the contents, complete on the disk beside it, copied
    // into the old file itself, so every name keeps showing the same file.
    bool CopyInto(const std::wstring& target) {
        ui::UniqueFile source(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!source) return false;
        return WriteInPlace(target, [&source](const ByteSink& write) {
            std::string buffer(kWriteChunkSize, '\0');
            for (;;) {
                DWORD got = 0;
                if (!ReadFile(source.get(), buffer.data(), kWriteChunkSize, &got, nullptr)) return false;
                if (got == 0) return true;
                if (!write(std::string_view(buffer.data(), got))) return false;
            }
        });
    }

    // Without MOVEFILE_REPLACE_EXISTING: whatever appeared there meanwhile is left alone.
    bool MoveTo(const std::wstring& target) {
        if (!MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return false;
        path_.clear();
        return true;
    }

private:
    std::wstring path_;
    ui::UniqueFile file_;
    DWORD error_ = ERROR_SUCCESS;
};

// The user's folder for temporary files, ending in a separator; empty when there is none.
std::wstring TempFolder() {
    std::vector<wchar_t> path(MAX_PATH + 1);
    const DWORD length = GetTempPathW(static_cast<DWORD>(path.size()), path.data());
    if (length == 0 || length >= path.size()) return {};
    return std::wstring(path.data(), length);
}

// A folder that lets the old file be changed but no new file be made beside it: the contents are
// made whole among the temporary files first and only then copied into the old file, so that a
// failure or a cancel while they are made leaves the old file as it was. Without a temporary
// folder the old file is written in place directly.
bool WriteInPlaceStaged(const std::wstring& target, const ByteSource& bytes, const FlushWait& wait) {
    const std::wstring temp = TempFolder();
    if (!temp.empty()) {
        FileBeside staged(temp, 0);
        if (staged.Created()) return staged.WriteAndClose(bytes, wait) && staged.CopyInto(target);
    }
    return WriteInPlace(target, bytes);
}

}  // namespace

std::wstring BesideFilePrefix() { return L"~vn" + std::to_wstring(GetCurrentProcessId()) + L"-"; }

bool ReplaceFileContents(const std::wstring& path, const ByteSource& bytes, NonFileTarget nonFile,
                         const FlushWait& wait) {
    const std::wstring full = FullPath(path);
    const std::wstring folder = FolderOf(full);
    if (full.empty() || folder.empty()) return false;
    // Opening the target for writing tells whether it may be written at all, and what it is.
    ui::UniqueFile existing(
        CreateFileW(full.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!existing) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;  // read-only, a folder, in use, no such folder
        FileBeside beside(folder, 0);
        return beside.Created() && beside.WriteAndClose(bytes, wait) && beside.MoveTo(full);
    }
    if (GetFileType(existing.get()) != FILE_TYPE_DISK) {
        // A device (Z:\dev\full under Wine) or a pipe: never put aside or replaced.
        if (nonFile == NonFileTarget::LeaveAlone) return false;
        return bytes([&existing](std::string_view piece) { return WriteAllWaitingBounded(existing.get(), piece); }) &&
               Close(existing);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(existing.get(), &info)) return false;
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    // A symbolic link stays a link: the file it leads to is the one replaced.
    const std::wstring target = FinalPath(existing.get(), full);
    // Our own open handle would keep the old file from being replaced.
    existing.reset();
    // Given to the new file as well: Wine's ReplaceFileW does not carry them over.
    const DWORD keptAttributes = info.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    FileBeside beside(FolderOf(target), keptAttributes);
    if (!beside.Created()) {
        return beside.Error() == ERROR_ACCESS_DENIED && WriteInPlaceStaged(target, bytes, wait);
    }
    if (!beside.WriteAndClose(bytes, wait)) return false;
    return info.nNumberOfLinks > 1 ? beside.CopyInto(target) : beside.Replace(target);
}
