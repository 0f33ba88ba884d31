// The rules for Shift_JIS text (code page 932) meeting the system's UTF-16 texts: messages in
// their Unicode form, typed characters and the clipboard. The conversion itself is the system's;
// these rules decide what is handed to it and what is made of its answer.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace core {

// The language of the clipboard's text: Japanese, so that other programs read the ANSI copy as
// Shift_JIS whatever their own code page.
inline constexpr unsigned kJapaneseLocale = 0x0411;

// Code page 932 holds only characters of the Basic Multilingual Plane, each one UTF-16 unit, so a
// Shift_JIS text of n characters is n units long in UTF-16.
std::size_t SjisCharacterCount(std::string_view bytes);

// The bytes of the first `units` characters of `bytes`; never half a two-byte character.
std::size_t SjisPrefixForUnits(std::string_view bytes, std::size_t units);

// The most bytes `units` characters can take, for reading only the start of a long text.
constexpr std::size_t MostSjisBytesForUnits(std::size_t units) { return 2 * units; }

// A character outside the Basic Multilingual Plane (a surrogate pair) has no Shift_JIS code; it
// becomes one "?", as any other character code page 932 lacks, and so does a lone half of a pair.
inline constexpr char16_t kUnmappable = u'?';
bool IsSurrogate(char16_t unit);
// `text` with every surrogate pair and lone surrogate replaced by one kUnmappable, in place;
// returns the new length.
std::size_t ReplaceSurrogates(char16_t* text, std::size_t length);

// Typed characters arrive one UTF-16 unit at a time; a character outside the Basic Multilingual
// Plane comes as two. Gives the character to convert once it is whole, nothing while a first half
// waits.
class TypedUnits {
public:
    std::optional<char16_t> Take(char16_t unit);

private:
    bool highWaits_ = false;
};

}  // namespace core
