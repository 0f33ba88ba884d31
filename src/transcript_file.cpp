#include "transcript_file.h"

#include "core/text_mode.h"
#include "ui/unique_handle.h"

#include <windows.h>

#include <utility>

namespace {

constexpr DWORD kReadChunkSize = 256 * 1024;

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
    return ReplaceFileContents(path, bytes, NonFileTarget::WriteDirectly);
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
