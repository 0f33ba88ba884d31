#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace devsim {

// A rectangle of assigned JIS X 0208 code points: rows (first byte) by
// cells (second byte), both in 0x21-0x7E.
struct JisBlock {
    std::uint8_t firstRow;
    std::uint8_t lastRow;
    std::uint8_t firstCell;
    std::uint8_t lastCell;
};

// Symbols, digits, Latin, kana, Greek, Cyrillic and box drawing (rows 1-8).
std::span<const JisBlock> JisNonKanjiBlocks();
// Level 1 and level 2 kanji (rows 16-84).
std::span<const JisBlock> JisKanjiBlocks();

std::uint32_t CellCount(std::span<const JisBlock> blocks);

// The `index`-th assigned code point of `blocks` (index < CellCount) as row
// and cell bytes.
std::array<std::uint8_t, 2> NthJisCode(std::span<const JisBlock> blocks, std::uint32_t index);

std::array<std::uint8_t, 2> JisToShiftJis(std::uint8_t row, std::uint8_t cell);

}  // namespace devsim
