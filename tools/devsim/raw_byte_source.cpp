#include "raw_byte_source.h"

namespace devsim {

RawByteSource::RawByteSource(std::uint32_t seed) : m_engine(seed) {}

std::size_t RawByteSource::Read(std::span<std::uint8_t> buffer) {
    // One engine step per byte, top bits, so the stream does not depend on
    // how it is read.
    for (std::uint8_t& byte : buffer) {
        byte = static_cast<std::uint8_t>(m_engine() >> 24);
    }
    return buffer.size();
}

}  // namespace devsim
