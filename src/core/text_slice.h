// How much received text one addition to the text area takes. Each addition costs the text area
// a fixed part and a part per character, and a control character far more than any other, so
// text is shown in slices bounded by a weight rather than by a count of bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace core {

// One per byte; `controlWeight` for a control character: a byte below 0x20 other than tab, CR and
// LF, or 0x7F, standing on its own rather than as the second byte of a two-byte character.
std::size_t TextWeight(std::string_view text, std::size_t controlWeight);

// The length of the longest prefix of `text` that weighs at most `maxWeight` and ends on a
// character boundary; never less than the first character, so a slice always makes progress.
// `text` starts on a character boundary (a trailing first byte counts as a character).
std::size_t SliceLength(std::string_view text, std::size_t maxWeight, std::size_t controlWeight);

}  // namespace core
