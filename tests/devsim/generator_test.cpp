#include "buffer_source.h"
#include "demo_text.h"
#include "jis_x0208.h"
#include "raw_byte_source.h"
#include "sjis_text_source.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace devsim {
namespace {

using test::DecodesCleanly;
using test::ReadFromSource;
using Bytes = std::vector<std::uint8_t>;

bool Contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

// The two-byte characters come from exactly the assigned JIS X 0208 code
// points: 524 non-kanji and 6355 kanji (2965 of level 1, 3390 of level 2),
// each a complete character for glibc's strict SHIFT_JIS converter.
TEST(JisX0208, TablesHoldEveryAssignedCharacterAndNothingElse) {
    EXPECT_EQ(CellCount(JisNonKanjiBlocks()), 524u);
    EXPECT_EQ(CellCount(JisKanjiBlocks()), 6355u);

    for (const auto blocks : {JisNonKanjiBlocks(), JisKanjiBlocks()}) {
        for (std::uint32_t index = 0; index < CellCount(blocks); ++index) {
            const auto [row, cell] = NthJisCode(blocks, index);
            const auto sjis = JisToShiftJis(row, cell);
            ASSERT_TRUE(DecodesCleanly("SHIFT_JIS", sjis)) << std::hex << int(row) << ' ' << int(cell);
        }
    }
}

struct ConversionCase {
    std::uint8_t row;
    std::uint8_t cell;
    Bytes shiftJis;
};

// Both halves of the lead-byte formula (rows up to 0x5E and above) and both
// trail halves (odd and even rows, either side of the 0x7F gap).
TEST(JisX0208, ConvertsToTheShiftJisCodesOfKnownCharacters) {
    const ConversionCase cases[] = {
        {0x21, 0x21, {0x81, 0x40}},  // ideographic space
        {0x21, 0x26, {0x81, 0x45}},  // ・
        {0x21, 0x3C, {0x81, 0x5B}},  // ー
        {0x21, 0x5D, {0x81, 0x7C}},  // －
        {0x21, 0x5C, {0x81, 0x7B}},  // ＋
        {0x21, 0x6E, {0x81, 0x8E}},  // ℃
        {0x21, 0x7E, {0x81, 0x9E}},  // ◇
        {0x22, 0x21, {0x81, 0x9F}},  // ◆
        {0x30, 0x21, {0x88, 0x9F}},  // 亜
        {0x4F, 0x53, {0x98, 0x72}},  // 腕
        {0x5F, 0x21, {0xE0, 0x40}},  // 漾
        {0x74, 0x26, {0xEA, 0xA4}},  // 熙
    };
    for (const ConversionCase& testCase : cases) {
        const auto sjis = JisToShiftJis(testCase.row, testCase.cell);
        EXPECT_EQ(Bytes(sjis.begin(), sjis.end()), testCase.shiftJis)
            << std::hex << int(testCase.row) << ' ' << int(testCase.cell);
    }
}

// The sjis source sends text the viewer can show: valid Shift_JIS only,
// printable, LF after every 10 to 80 characters, with every kind of character
// and the lead-byte ranges the viewer treats differently all present.
TEST(SjisTextSource, SendsOnlyValidPrintableShiftJisInShortLines) {
    SjisTextSource source(7);
    const Bytes text = ReadFromSource(source, 300'000, 4096);
    ASSERT_EQ(text.size(), 300'000u);

    const auto lastLineEnd = std::find(text.rbegin(), text.rend(), '\n').base();
    ASSERT_TRUE(DecodesCleanly("SHIFT_JIS", Bytes(text.begin(), lastLineEnd)));

    std::set<int> kinds;
    std::size_t lineLength = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint8_t byte = text[i];
        if (byte == '\n') {
            EXPECT_GE(lineLength, 10u);
            EXPECT_LE(lineLength, 80u);
            lineLength = 0;
            continue;
        }
        ++lineLength;
        ASSERT_GE(byte, 0x20) << "control byte at " << i;
        if (byte <= 0x7E) {
            kinds.insert(0);
        } else if (byte >= 0xA1 && byte <= 0xDF) {
            kinds.insert(1);
        } else {
            kinds.insert(byte <= 0x8F ? 2 : byte <= 0x9F ? 3 : 4);
            ++i;  // the trail byte, already judged by the converter
        }
    }
    EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4}));
}

// Mersenne Twister seeded with 1 starts 1791095845, 4282876139, 3093770124,
// 4005303368, 491263, 550290313, 1298508491, 4290846341; the raw source sends
// the top byte of each, so the same seed gives the same bytes on any build.
TEST(RawByteSource, SendsTheTopByteOfEachMersenneTwisterOutput) {
    RawByteSource source(1);
    EXPECT_EQ(ReadFromSource(source, 8, 8), (Bytes{0x6A, 0xFF, 0xB8, 0xEE, 0x00, 0x20, 0x4D, 0xFF}));
}

// A stream depends on its seed alone: neither the size of the reads (which
// follows --rate and --chunk) nor anything else may change a byte, or a
// "--out -" run would not tell what a paced run sent.
TEST(SeededSources, SameSeedGivesTheSameBytesWhateverTheReadSize) {
    for (const bool sjis : {true, false}) {
        const auto make = [sjis](std::uint32_t seed) -> std::unique_ptr<ByteSource> {
            if (sjis) {
                return std::make_unique<SjisTextSource>(seed);
            }
            return std::make_unique<RawByteSource>(seed);
        };
        SCOPED_TRACE(sjis ? "sjis" : "raw");
        const Bytes reference = ReadFromSource(*make(42), 20'000, 4096);
        for (const std::size_t readSize : {1u, 2u, 3u, 19u, 20'000u}) {
            EXPECT_EQ(ReadFromSource(*make(42), 20'000, readSize), reference) << readSize;
        }
        EXPECT_NE(ReadFromSource(*make(43), 20'000, 4096), reference);
    }
}

// The demo is device output the viewer must cope with: valid code page 932,
// LF line ends only, the lead-0x81 symbols ・ ＋ ℃ ー, kanji with leads from
// 0x90-0x9F (測 91 AA) and 0xE0-0xEA (濾 E0 68, 閾 E8 87), half-width katakana.
TEST(DemoText, IsShiftJisDeviceOutputWithTheCharactersTheViewerMustHandle) {
    const auto demo = DemoText();
    const Bytes text(demo.begin(), demo.end());
    EXPECT_TRUE(DecodesCleanly("CP932", text));
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 0);
    const auto lines = std::count(text.begin(), text.end(), '\n');
    EXPECT_GE(lines, 15);
    EXPECT_LE(lines, 30);
    for (const Bytes& character : {Bytes{0x81, 0x45}, Bytes{0x81, 0x7B}, Bytes{0x81, 0x8E}, Bytes{0x81, 0x5B},
                                   Bytes{0x91, 0xAA}, Bytes{0xE0, 0x68}, Bytes{0xE8, 0x87}, Bytes{0xCA, 0xDE}}) {
        EXPECT_TRUE(Contains(text, character)) << std::hex << int(character[0]) << ' ' << int(character[1]);
    }
}

// Fixed bytes run once, or repeat seamlessly across read boundaries; nothing
// to send ends the stream even when repeating.
TEST(BufferSource, SendsItsBytesOnceOrRepeatedWithoutSeams) {
    BufferSource once(Bytes{'a', 'b', 'c'}, false);
    EXPECT_EQ(ReadFromSource(once, 10, 2), (Bytes{'a', 'b', 'c'}));

    BufferSource repeated(Bytes{'a', 'b', 'c'}, true);
    EXPECT_EQ(ReadFromSource(repeated, 10, 4), (Bytes{'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c', 'a'}));

    BufferSource empty(Bytes{}, true);
    EXPECT_EQ(ReadFromSource(empty, 10, 4), Bytes{});
}

}  // namespace
}  // namespace devsim
