// Shift_JIS text meeting UTF-16: how many units a text takes, which bytes fill a buffer of a given
// size, and what becomes of characters code page 932 lacks.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/wide_text.h"

namespace {

// "A" (1 byte), "漢" (0x8A 0xBF), "ｱ" (half-width katakana, 1 byte), "字" (0x8E 0x9A).
const std::string kMixed = "A\x8A\xBF\xB1\x8E\x9A";

// Every character is one unit, whatever its byte length; a first byte at the very end stands alone.
TEST(WideText, CharactersCountOneUnitEach) {
    EXPECT_EQ(core::SjisCharacterCount(""), 0u);
    EXPECT_EQ(core::SjisCharacterCount(kMixed), 4u);
    EXPECT_EQ(core::SjisCharacterCount("\r\n\x82\xA0"), 3u);
    EXPECT_EQ(core::SjisCharacterCount("A\x8A"), 2u);
}

// A buffer of n units takes the first n characters and never half of one.
TEST(WideText, PrefixForUnitsEndsOnCharacters) {
    const struct { std::size_t units, bytes; } rows[] = {{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 6}, {9, 6}};
    for (const auto& row : rows) {
        EXPECT_EQ(core::SjisPrefixForUnits(kMixed, row.units), row.bytes) << row.units;
        EXPECT_LE(row.bytes, core::MostSjisBytesForUnits(row.units)) << row.units;
    }
}

// Pairs and lone halves each become one "?"; everything else stays.
TEST(WideText, SurrogatesBecomeOneQuestionMark) {
    const struct {
        std::u16string in, out;
    } rows[] = {
        {u"\u65E5\u672C", u"\u65E5\u672C"},
        {u"a\U00020BB7b", u"a?b"},       // 𠮷, outside the Basic Multilingual Plane
        {u"\xD842", u"?"},               // a first half at the end
        {u"\xDFB7x", u"?x"},             // a second half alone
        {u"\xD842\xD842\xDFB7", u"??"},  // a lone first half, then a pair
    };
    for (const auto& row : rows) {
        std::u16string text = row.in;
        text.resize(core::ReplaceSurrogates(text.data(), text.size()));
        EXPECT_EQ(text, row.out);
    }
}

// Typed units: a pair gives one "?" at its second half, a lone second half "?", a lone first half
// nothing.
TEST(WideText, TypedUnitsWaitForTheSecondHalf) {
    core::TypedUnits typed;
    std::vector<std::optional<char16_t>> got;
    for (char16_t unit : std::u16string(u"\u3042\xD842\xDFB7\xDFB7\xD842x")) got.push_back(typed.Take(unit));
    const std::vector<std::optional<char16_t>> expected{u'\u3042', std::nullopt, u'?', u'?', std::nullopt, u'x'};
    EXPECT_EQ(got, expected);
}

}  // namespace
