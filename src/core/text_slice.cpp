#include "core/text_slice.h"

#include "core/sjis_boundary.h"

namespace core {

namespace {

bool IsControlCharacter(unsigned char b)
{
    return (b < 0x20 && b != '\t' && b != '\r' && b != '\n') || b == 0x7F;
}

// The length and weight of the character that starts at `at`.
struct Character {
    std::size_t length;
    std::size_t weight;
};

Character CharacterAt(std::string_view text, std::size_t at, std::size_t controlWeight)
{
    const auto b = static_cast<unsigned char>(text[at]);
    if (IsSjisLeadByte(b) && at + 1 < text.size()) return {2, 2};
    return {1, IsControlCharacter(b) ? controlWeight : 1};
}

}  // namespace

std::size_t TextWeight(std::string_view text, std::size_t controlWeight)
{
    std::size_t weight = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Character c = CharacterAt(text, at, controlWeight);
        weight += c.weight;
        at += c.length;
    }
    return weight;
}

std::size_t SliceLength(std::string_view text, std::size_t maxWeight, std::size_t controlWeight)
{
    std::size_t length = 0;
    std::size_t weight = 0;
    while (length < text.size()) {
        const Character c = CharacterAt(text, length, controlWeight);
        if (length > 0 && weight + c.weight > maxWeight) break;
        weight += c.weight;
        length += c.length;
    }
    return length;
}

}  // namespace core
