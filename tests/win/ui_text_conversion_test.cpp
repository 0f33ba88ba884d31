// Conversion between the program's Shift_JIS and Windows' UTF-16, held against the system's own
// table of code page 932.
#include <gtest/gtest.h>

#include "ui/text_conversion.h"

#include <optional>
#include <string>
#include <vector>

namespace {

// Every UTF-16 unit that some Shift_JIS byte sequence decodes to, by the system's decoder.
std::vector<bool> CharactersOfCodePage932() {
    std::vector<bool> held(0x10000, false);
    auto decode = [&](const char* bytes, int count) {
        wchar_t unit = 0;
        if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, count, &unit, 1) == 1) held[unit] = true;
    };
    for (int first = 0; first < 0x100; ++first) {
        const char single = static_cast<char>(first);
        decode(&single, 1);
        for (int second = 0x40; second < 0x100; ++second) {
            const char pair[] = {static_cast<char>(first), static_cast<char>(second)};
            decode(pair, 2);
        }
    }
    // Windows' table maps the single bytes 0xA0 and 0xFD-0xFF to U+F8F0-U+F8F3 both ways; Wine's
    // encoder has them too, its decoder not.
    for (unsigned unit = 0xF8F0; unit <= 0xF8F3; ++unit) held[unit] = true;
    return held;
}

// Each character of the Basic Multilingual Plane that code page 932 lacks becomes exactly one "?",
// and the characters beside it are kept whole.
TEST(TextConversion, EveryCharacterTheCodePageLacksBecomesOneQuestionMark) {
    const std::vector<bool> held = CharactersOfCodePage932();
    std::size_t lacking = 0;
    std::string wrong;
    for (unsigned unit = 1; unit < 0x10000; ++unit) {
        if (held[unit] || (unit >= 0xD800 && unit <= 0xDFFF)) continue;
        ++lacking;
        const wchar_t text[] = {L'A', static_cast<wchar_t>(unit), L'B'};
        const std::string converted = ui::ToShiftJis(std::wstring_view(text, 3));
        if (converted != "A?B" && wrong.size() < 400) wrong += std::to_string(unit) + ":" + converted + " ";
    }
    EXPECT_GT(lacking, 50000u) << "most of the plane lies outside the code page";
    EXPECT_EQ("", wrong);
    EXPECT_EQ(
        "A?B C?D 25\x81\x8B"
        "C ? OK ??",
        ui::ToShiftJis(L"A\u00E9B C\u20ACD 25\u00B0C \u2013 OK \u00FC\u20AC"));
}

// A text to be sought converts only whole: one character the code page lacks, and there is none.
TEST(TextConversion, ExactlyOrNotAtAll) {
    EXPECT_EQ(std::optional<std::string>("25\x81\x8B"
                                         "C \x8C\x76\x97\xCA"),
              ui::ToShiftJisExactly(L"25\u00B0C \u8A08\u91CF"));  // 25°C 計量
    EXPECT_EQ(std::nullopt, ui::ToShiftJisExactly(L"caf\u00E9"));
    EXPECT_EQ(std::nullopt, ui::ToShiftJisExactly(L"A\U00020BB7"));  // a pair of surrogates
    EXPECT_EQ(std::nullopt, ui::ToShiftJisExactly(L"\u20AC"));
}

}  // namespace
