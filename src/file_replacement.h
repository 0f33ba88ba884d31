// The one way the program writes a file whole: the settings file and transcripts alike.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Bytes made as they are written: the source hands its pieces to the sink in order and gives up
// when the sink returns false, so a text of any size is written without being held whole.
using ByteSink = std::function<bool(std::string_view)>;
using ByteSource = std::function<bool(const ByteSink&)>;

// How the writer waits while the new file's contents go to the disk: it is handed an event that is
// set once they are there, and returns false when the work was cancelled meanwhile. Empty: the
// writer simply waits. A window's thread waits with its messages running.
using FlushWait = std::function<bool(void* flushedEvent)>;

// What a path that holds no file on a disk (a device, a pipe) gets.
enum class NonFileTarget { LeaveAlone, WriteDirectly };

// Writes the bytes as the file at `path` (UTF-16, any length, any characters); false when they
// could not be written completely. A file on a disk is written beside under a name of its own,
// flushed, and only then put in the old file's place (ReplaceFileW, which keeps the old file's
// attributes and security), so a failure leaves an earlier file as it was and nothing beside it.
// Where the folder refuses a new file but the old one may be written, the contents are made among
// the temporary files and then copied into the old file, which a failure before the copy leaves
// as it was.
// A read-only file and a folder are refused. A device or a pipe is written directly, each piece
// waited for a bounded time, or left alone, as `nonFile` says.
bool ReplaceFileContents(const std::wstring& path, const ByteSource& bytes, NonFileTarget nonFile,
                         const FlushWait& wait = {});

// The name part of this process's files beside a target, before their serial number.
std::wstring BesideFilePrefix();
