#include "buffer_source.h"

#include <algorithm>

namespace devsim {

BufferSource::BufferSource(std::vector<std::uint8_t> bytes, bool repeat)
    : m_bytes(std::move(bytes)), m_repeat(repeat) {}

std::size_t BufferSource::Read(std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    // An empty buffer ends at once even when repeating, rather than spinning.
    while (filled < buffer.size() && !m_bytes.empty()) {
        if (m_position == m_bytes.size()) {
            if (!m_repeat) {
                break;
            }
            m_position = 0;
        }
        const std::size_t take = std::min(buffer.size() - filled, m_bytes.size() - m_position);
        std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_position), take,
                    buffer.begin() + static_cast<std::ptrdiff_t>(filled));
        m_position += take;
        filled += take;
    }
    return filled;
}

}  // namespace devsim
