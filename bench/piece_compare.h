// Streamed comparison of texts of any size: a file read a megabyte at a time against pieces made
// as they are needed, so that neither side is ever held whole.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace bench {

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
