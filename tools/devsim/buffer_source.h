#pragma once

#include "byte_source.h"

#include <vector>

namespace devsim {

// Fixed bytes (the demo text or a file), sent once or repeated forever.
class BufferSource final : public ByteSource {
public:
    BufferSource(std::vector<std::uint8_t> bytes, bool repeat);

    std::size_t Read(std::span<std::uint8_t> buffer) override;

private:
    std::vector<std::uint8_t> m_bytes;
    bool m_repeat;
    std::size_t m_position = 0;
};

}  // namespace devsim
