// Slicing received text for the text area by weight: control characters count heavily, slices
// end on character boundaries and always take at least one character.

#include <gtest/gtest.h>

#include <string>

#include "core/text_slice.h"

namespace {

constexpr std::size_t kControl = 100;

// Ordinary bytes, both bytes of a two-byte character, tab, CR and LF weigh one each; a lone byte
// below 0x20 or 0x7F weighs as a control character.
TEST(TextSlice, ControlCharactersWeighMore) {
    const struct {
        std::string text;
        std::size_t weight;
    } rows[] = {
        {"", 0},
        {"abc", 3},
        {"a\tb\r\n", 5},
        {"\x01", kControl},
        {"a\x1B[0m", 4 + kControl},
        {std::string("\x7F\x00z", 3), 2 * kControl + 1},
        {"\x82\xA0\x93\xFA", 4},     // あ日
        {"\x81\x1F", 2},             // a first byte takes the next byte as its partner, whatever it is
        {"\x1F\x81", kControl + 1},  // a first byte at the end stands alone
    };
    for (const auto& row : rows) {
        EXPECT_EQ(core::TextWeight(row.text, kControl), row.weight) << testing::PrintToString(row.text);
    }
}

// A slice is the longest prefix within the weight, never ends between the two bytes of a
// character, and holds at least the first character however heavy.
TEST(TextSlice, SlicesStayWithinTheWeightOnCharacterBoundaries) {
    const struct {
        std::string text;
        std::size_t maxWeight;
        std::size_t length;
    } rows[] = {
        {"", 10, 0},
        {"abcdef", 10, 6},
        {"abcdef", 4, 4},
        {"ab\x82\xA0" "cd", 3, 2},   // the pair would make 4
        {"ab\x82\xA0" "cd", 4, 4},
        {"\x82\xA0" "cd", 1, 2},     // a pair heavier than the slice still goes whole
        {"\x01\x02\x03", 150, 1},
        {"\x01\x02\x03", 50, 1},
        {"ab\x01", 101, 2},
        {"ab\x01", 102, 3},
        {"\x81", 10, 1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(core::SliceLength(row.text, row.maxWeight, kControl), row.length)
            << testing::PrintToString(row.text) << " within " << row.maxWeight;
    }
}

}  // namespace
