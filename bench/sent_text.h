// What the endurance run's device sends, made again here from the same seed a piece at a time, as
// the text area shows it (each LF as CR LF): the check of a transcript of gigabytes never holds
// more than one piece.
#pragma once

#include "sjis_text_source.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace bench {

class SentText {
public:
    // The first `count` bytes that the simulator's random Shift_JIS lines from `seed` are.
    SentText(std::uint32_t seed, std::uint64_t count);

    // The next piece of the text as shown; empty once all of it was given.
    std::string_view Next();

private:
    devsim::SjisTextSource source;
    std::uint64_t left;
    std::string piece;
};

// A file's bytes a megabyte at a time, then `tail`; empty at the end, or when a read failed.
class FilePieces {
public:
    FilePieces(const std::string& windowsPath, std::string tail = {});
    ~FilePieces();
    FilePieces(const FilePieces&) = delete;
    FilePieces& operator=(const FilePieces&) = delete;

    std::string_view Next();
    bool Failed() const { return failed; }

private:
    void* file;
    std::string tail;
    bool tailGiven = false;
    bool failed = false;
    std::string buffer;
};

// Compares two series of pieces (an empty piece ends a series) byte by byte: the offset of the
// first byte that differs (the shorter one's length when one is the start of the other), or -1
// when they are the same.
std::int64_t FirstDifference(const std::function<std::string_view()>& a, const std::function<std::string_view()>& b);

}  // namespace bench
