#include "core/sjis_boundary.h"

namespace core {

std::size_t CompleteCharactersLength(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (!IsSjisLeadByte(static_cast<unsigned char>(bytes[i]))) {
            ++i;
        } else if (i + 1 < bytes.size()) {
            i += 2;
        } else {
            return i;
        }
    }
    return i;
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
