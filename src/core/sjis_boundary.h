#pragma once

#include <cstddef>
#include <string_view>

namespace core {

// True for the bytes that open a two-byte character in code page 932.
constexpr bool IsSjisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
// True for the bytes that can close one.
constexpr bool IsSjisTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The length of the longest prefix of `bytes` (which starts on a character boundary) that ends on
// one. The text area converts each appended run to characters on its own, so a first byte appended
// without its second would show as a stray character and the second as another; the caller keeps
// the cut-off byte until its partner arrives.
std::size_t CompleteCharactersLength(std::string_view bytes);

// Whether a character starts at `offset` of `text` as the text area shows characters: a CR LF and
// a two-byte character are one character, a first byte before a line break or at the end stands
// alone. One must be known to start at `anchor` (at most `offset`). `offset` may be the size of
// `text`, which then ends the whole text; otherwise the byte at `offset` decides with the ones
// before it. Only the run of first-byte values just before `offset` is read: a byte that cannot
// open a two-byte character always ends one.
bool StartsCharacterAt(std::string_view text, std::size_t anchor, std::size_t offset);

}  // namespace core
