// A page file in memory for the text store's tests and fuzzing, which can be told to fail from some
// write on (a disk that fills).
#pragma once

#include "core/page_file.h"
#include "core/text_store.h"

#include <cstring>
#include <string>

namespace testing_support {

// Blocks of a few bytes, most of them paged out, so that short texts cross blocks and pages.
inline core::StoreLimits SmallPagedBlocks() {
    core::StoreLimits limits;
    limits.blockTargetBytes = 20;
    limits.blockMostBytes = 28;
    limits.residentBytes = 60;
    return limits;
}

class MemoryPageFile : public core::PageFile {
public:
    explicit MemoryPageFile(int writesBeforeFailing = -1) : writesLeft_(writesBeforeFailing) {}
    bool WriteAt(std::uint64_t position, std::string_view bytes) override {
        if (writesLeft_ == 0) return false;
        if (writesLeft_ > 0) --writesLeft_;
        if (bytes_.size() < position + bytes.size()) bytes_.resize(position + bytes.size());
        std::memcpy(bytes_.data() + position, bytes.data(), bytes.size());
        return true;
    }
    bool ReadAt(std::uint64_t position, char* into, std::size_t size) override {
        if (position + size > bytes_.size()) return false;
        std::memcpy(into, bytes_.data() + position, size);
        return true;
    }

private:
    int writesLeft_;
    std::string bytes_;
};

}  // namespace testing_support
