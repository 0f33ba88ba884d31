#include "sjis_text_source.h"

#include "jis_x0208.h"
#include "random_below.h"

namespace devsim {

namespace {

constexpr std::uint32_t kShortestLine = 10;
constexpr std::uint32_t kLongestLine = 80;

// Shares of the character kinds, in percent. Two-byte symbols and kana are
// weighted up because their lead bytes (0x81-0x84) are the ones the viewer
// treats specially; kanji bring the leads 0x88-0x9F and 0xE0-0xEA.
constexpr std::uint32_t kAsciiShare = 45;
constexpr std::uint32_t kHalfWidthKanaShare = 10;
constexpr std::uint32_t kNonKanjiShare = 20;

constexpr std::uint8_t kFirstPrintableAscii = 0x20;
constexpr std::uint32_t kPrintableAsciiCount = 0x7E - 0x20 + 1;
constexpr std::uint8_t kFirstHalfWidthKana = 0xA1;
constexpr std::uint32_t kHalfWidthKanaCount = 0xDF - 0xA1 + 1;

}  // namespace

SjisTextSource::SjisTextSource(std::uint32_t seed) : m_engine(seed) {}

std::size_t SjisTextSource::Read(std::span<std::uint8_t> buffer) {
    for (std::uint8_t& byte : buffer) {
        if (m_piecePosition == m_pieceSize) {
            GenerateNextPiece();
        }
        byte = m_piece[m_piecePosition++];
    }
    return buffer.size();
}

void SjisTextSource::GenerateNextPiece() {
    m_piecePosition = 0;
    if (m_charactersLeftInLine == 0) {
        if (m_lineOpen) {
            m_piece = {'\n', 0};
            m_pieceSize = 1;
            m_lineOpen = false;
            return;
        }
        m_charactersLeftInLine = kShortestLine + RandomBelow(m_engine, kLongestLine - kShortestLine + 1);
        m_lineOpen = true;
    }
    --m_charactersLeftInLine;

    const std::uint32_t kind = RandomBelow(m_engine, 100);
    if (kind < kAsciiShare) {
        m_piece = {static_cast<std::uint8_t>(kFirstPrintableAscii + RandomBelow(m_engine, kPrintableAsciiCount)), 0};
        m_pieceSize = 1;
        return;
    }
    if (kind < kAsciiShare + kHalfWidthKanaShare) {
        m_piece = {static_cast<std::uint8_t>(kFirstHalfWidthKana + RandomBelow(m_engine, kHalfWidthKanaCount)), 0};
        m_pieceSize = 1;
        return;
    }
    const auto blocks =
        kind < kAsciiShare + kHalfWidthKanaShare + kNonKanjiShare ? JisNonKanjiBlocks() : JisKanjiBlocks();
    const auto [row, cell] = NthJisCode(blocks, RandomBelow(m_engine, CellCount(blocks)));
    m_piece = JisToShiftJis(row, cell);
    m_pieceSize = 2;
}

}  // namespace devsim
