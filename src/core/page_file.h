// Where the text area keeps the blocks of text that it does not hold in memory: a file of the
// program's own, written and read at positions, and the bookkeeping of which parts of it are in use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string_view>

namespace core {

// A file read and written at 64-bit positions. The text area's file lives only as long as the
// program; a failure of either call is reported, never thrown.
class PageFile {
public:
    virtual ~PageFile() = default;
    virtual bool WriteAt(std::uint64_t position, std::string_view bytes) = 0;
    virtual bool ReadAt(std::uint64_t position, char* into, std::size_t size) = 0;
};

struct PageExtent {
    std::uint64_t position = 0;
    std::uint64_t size = 0;
};

// Hands out extents of the file: the first freed extent large enough, or new room at the end.
// Freed neighbours join, and free room at the end shrinks the file's length.
class PageSpace {
public:
    PageExtent Take(std::uint64_t size);
    void Give(PageExtent extent);
    void Reset();
    std::uint64_t Length() const noexcept { return length_; }

private:
    std::map<std::uint64_t, std::uint64_t> free_;  // position -> size
    std::uint64_t length_ = 0;
};

}  // namespace core
