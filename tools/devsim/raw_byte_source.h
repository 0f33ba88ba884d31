#pragma once

#include "byte_source.h"

#include <random>

namespace devsim {

// Endless random bytes 0-255, the same for the same seed: line noise and
// every lead/trail combination, for robustness runs.
class RawByteSource final : public ByteSource {
public:
    explicit RawByteSource(std::uint32_t seed);

    std::size_t Read(std::span<std::uint8_t> buffer) override;

private:
    std::mt19937 m_engine;
};

}  // namespace devsim
