// Transcript files on disk: written whole or not at all, and read back as lines.
#pragma once

#include "file_reader.h"
#include "file_replacement.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Paths are UTF-16, as the file dialogs give them, so any file name works whatever the system's
// code page; the contents are bytes, written and read unchanged.

// Writes `bytes` as the file at `path` (see ReplaceFileContents); false when it could not be
// written completely. An existing device or pipe is written to directly, never waited for long.
bool WriteTranscriptFile(const std::wstring& path, std::string_view bytes);

// The same for bytes made as they are written: the source hands its pieces to the sink in order and
// gives up when the sink returns false. A text of any size is written without being held whole.
using TranscriptSink = ByteSink;
using TranscriptBytes = ByteSource;
// `wait` as for ReplaceFileContents.
bool WriteTranscriptFile(const std::wstring& path, const TranscriptBytes& bytes, const FlushWait& wait = {});

// How reading a transcript ended: see FileReadResult.
using TranscriptReadResult = FileReadResult;

struct TranscriptLines {
    TranscriptReadResult result;
    // The lines read: the whole file when complete, the lines finished before a failure otherwise.
    std::vector<std::string> lines;
};

// The size of the file at `path` as it stands now, for telling how far a load has got; 0 when it
// cannot be asked.
std::uint64_t TranscriptFileSize(const std::wstring& path);

// Reads a text-mode file as lines (see core::LineReader): CRs and NULs dropped, Ctrl-Z ends the
// file, the LF ending a line is not part of it, and lines have no length limit.
TranscriptLines ReadTranscriptFile(const std::wstring& path);
