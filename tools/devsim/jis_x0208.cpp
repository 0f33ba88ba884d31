#include "jis_x0208.h"

namespace devsim {

namespace {

// Only assigned code points: a gap code would be an invalid character on
// the wire, which the sjis source promises never to send.
constexpr JisBlock kNonKanji[] = {
    {0x21, 0x21, 0x21, 0x7E},  // 、。・ー＋ and the other punctuation
    {0x22, 0x22, 0x21, 0x2E},  // ◆□■△▲▽▼※〒→←↑↓〓
    {0x22, 0x22, 0x3A, 0x41},  // set operators
    {0x22, 0x22, 0x4A, 0x50},  // logic operators
    {0x22, 0x22, 0x5C, 0x6A},  // geometry and analysis signs
    {0x22, 0x22, 0x72, 0x79},  // Å‰♯♭♪†‡¶
    {0x22, 0x22, 0x7E, 0x7E},  // ◯
    {0x23, 0x23, 0x30, 0x39},  // full-width digits
    {0x23, 0x23, 0x41, 0x5A},  // full-width capitals
    {0x23, 0x23, 0x61, 0x7A},  // full-width small letters
    {0x24, 0x24, 0x21, 0x73},  // hiragana
    {0x25, 0x25, 0x21, 0x76},  // katakana
    {0x26, 0x26, 0x21, 0x38},  // Greek capitals
    {0x26, 0x26, 0x41, 0x58},  // Greek small letters
    {0x27, 0x27, 0x21, 0x41},  // Cyrillic capitals
    {0x27, 0x27, 0x51, 0x71},  // Cyrillic small letters
    {0x28, 0x28, 0x21, 0x40},  // box drawing
};

constexpr JisBlock kKanji[] = {
    {0x30, 0x4E, 0x21, 0x7E},  // level 1, 亜 to ...
    {0x4F, 0x4F, 0x21, 0x53},  // ... 腕, the end of level 1
    {0x50, 0x73, 0x21, 0x7E},  // level 2, 弌 to ...
    {0x74, 0x74, 0x21, 0x26},  // ... 熙, the end of level 2
};

std::uint32_t BlockSize(const JisBlock& block) {
    return static_cast<std::uint32_t>(block.lastRow - block.firstRow + 1) *
           static_cast<std::uint32_t>(block.lastCell - block.firstCell + 1);
}

}  // namespace

std::span<const JisBlock> JisNonKanjiBlocks() { return kNonKanji; }

std::span<const JisBlock> JisKanjiBlocks() { return kKanji; }

std::uint32_t CellCount(std::span<const JisBlock> blocks) {
    std::uint32_t count = 0;
    for (const JisBlock& block : blocks) {
        count += BlockSize(block);
    }
    return count;
}

std::array<std::uint8_t, 2> NthJisCode(std::span<const JisBlock> blocks, std::uint32_t index) {
    for (const JisBlock& block : blocks) {
        const std::uint32_t size = BlockSize(block);
        if (index < size) {
            const std::uint32_t width = block.lastCell - block.firstCell + 1u;
            return {static_cast<std::uint8_t>(block.firstRow + index / width),
                    static_cast<std::uint8_t>(block.firstCell + index % width)};
        }
        index -= size;
    }
    const JisBlock& last = blocks.back();
    return {last.lastRow, last.lastCell};
}

std::array<std::uint8_t, 2> JisToShiftJis(std::uint8_t row, std::uint8_t cell) {
    // Two JIS rows share one lead byte; odd rows take the lower half of the
    // trail range (0x40-0x9E, skipping 0x7F), even rows the upper (0x9F-0xFC).
    const unsigned lead = ((row + 1u) >> 1) + (row <= 0x5E ? 0x70u : 0xB0u);
    unsigned trail = 0;
    if (row % 2 == 1) {
        trail = cell + (cell >= 0x60 ? 0x20u : 0x1Fu);
    } else {
        trail = cell + 0x7Eu;
    }
    return {static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail)};
}

}  // namespace devsim
