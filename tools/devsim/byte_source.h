#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace devsim {

// A stream of bytes that the device would send, in order.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Fills the front of `buffer` with the next bytes and returns how many;
    // 0 means the stream has ended. How the reads are split never changes
    // the bytes, so a paced run and a "--out -" run send the same stream.
    virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
};

}  // namespace devsim
