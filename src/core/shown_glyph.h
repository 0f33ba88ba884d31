// What the text area draws for a character of its text. Control bytes and bytes that form no
// character have no glyph in a Shift_JIS font: the font would draw its box, wider than the cell, over
// the characters beside it. Each such byte shows as a middle dot in its own cell instead.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

inline constexpr char kNoGlyphMark = '\xA5';  // the half-width middle dot

// Whether the byte `b` at the start of a one-byte character has a glyph of its own.
constexpr bool HasSingleByteGlyph(unsigned char b) { return (b >= 0x20 && b < 0x7F) || (b >= 0xA1 && b <= 0xDF); }

// The bytes to draw for the character of `length` bytes at `at`: as many cells as it takes.
inline std::string ShownGlyph(std::string_view text, std::size_t at, std::size_t length) {
    const auto first = static_cast<unsigned char>(text[at]);
    if (first == '\t') return " ";
    if (length == 2) return std::string(text.substr(at, 2));
    return HasSingleByteGlyph(first) ? std::string(1, text[at]) : std::string(1, kNoGlyphMark);
}

}  // namespace core
