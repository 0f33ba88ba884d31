#include "transcript_file.h"

#include "core/text_mode.h"

#include <windows.h>

#include <utility>

namespace {

void TakeLines(core::LineReader& reader, std::vector<std::string>& lines) {
    for (std::string& line : reader.TakeLines()) {
        lines.push_back(std::move(line));
    }
}

}  // namespace

bool WriteTranscriptFile(const std::wstring& path, std::string_view bytes) {
    return WriteTranscriptFile(path, [bytes](const TranscriptSink& write) { return write(bytes); });
}

bool WriteTranscriptFile(const std::wstring& path, const TranscriptBytes& bytes, const FlushWait& wait) {
    return ReplaceFileContents(path, bytes, NonFileTarget::WriteDirectly, wait);
}

std::uint64_t TranscriptFileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TranscriptLines ReadTranscriptFile(const std::wstring& path) {
    TranscriptLines read{TranscriptReadResult::CannotOpen, {}};
    core::LineReader reader;
    read.result = ReadFileInChunks(path, [&](std::string_view chunk) {
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
