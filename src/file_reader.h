// The one way the program reads a file: a chunk at a time, for the settings file, transcripts and
// the help file alike.
#pragma once

#include <functional>
#include <string>
#include <string_view>

enum class FileReadResult {
    Complete,    // read to its end, or to where the reader stopped
    CannotOpen,  // missing, not readable, or not a file on a disk
    Failed,      // a read failed part way through
};

// Reads the file at `path` (UTF-16, so any name works whatever the code page, and deeper than
// MAX_PATH) a chunk at a time, its bytes as they are; others may go on reading and writing it
// meanwhile. Stops early, complete, when `chunk` returns false.
FileReadResult ReadFileInChunks(const std::wstring& path, const std::function<bool(std::string_view)>& chunk);
