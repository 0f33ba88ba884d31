#include "core/sjis_boundary.h"

namespace core {

std::size_t CompleteCharactersLength(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length = SjisCharacterLength(bytes, at);
        if (length == 1 && IsSjisLeadByte(static_cast<unsigned char>(bytes[at]))) return at;
        at += length;
    }
    return at;
}

bool StartsCharacterAt(std::string_view text, std::size_t anchor, std::size_t offset) {
    if (offset == anchor || offset == text.size()) return true;
    // A line break never ends a two-byte character; the LF of a CR LF is inside one character.
    if (text[offset] == '\n') return text[offset - 1] != '\r';
    if (text[offset] == '\r') return true;
    // A first byte pairs only with a byte that can close it.
    if (!IsSjisTrailByte(static_cast<unsigned char>(text[offset]))) return true;
    std::size_t runStart = offset;
    while (runStart > anchor && IsSjisLeadByte(static_cast<unsigned char>(text[runStart - 1]))) --runStart;
    // From the run's start the first-byte values pair up, so every second one opens a character.
    return (offset - runStart) % 2 == 0;
}

}  // namespace core
