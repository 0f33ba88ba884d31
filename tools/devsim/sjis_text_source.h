#pragma once

#include "byte_source.h"

#include <array>
#include <random>

namespace devsim {

// Endless random Shift_JIS text that is valid character by character:
// printable ASCII, half-width katakana and assigned JIS X 0208 two-byte
// characters, with an LF after every 10 to 80 characters. The same seed
// gives the same bytes.
class SjisTextSource final : public ByteSource {
public:
    explicit SjisTextSource(std::uint32_t seed);

    std::size_t Read(std::span<std::uint8_t> buffer) override;

private:
    void GenerateNextPiece();

    std::mt19937 m_engine;
    // Characters still to come before the line's LF.
    std::uint32_t m_charactersLeftInLine = 0;
    bool m_lineOpen = false;
    // A two-byte character may straddle two reads; its bytes wait here.
    std::array<std::uint8_t, 2> m_piece{};
    std::size_t m_pieceSize = 0;
    std::size_t m_piecePosition = 0;
};

}  // namespace devsim
