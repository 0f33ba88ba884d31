#include "core/wide_text.h"

#include "core/sjis_boundary.h"

#include <utility>

namespace core {
namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

bool IsSurrogate(char16_t unit) { return IsHighSurrogate(unit) || IsLowSurrogate(unit); }

std::size_t SjisPrefixForUnits(std::string_view bytes, std::size_t units) {
    std::size_t at = 0;
    for (std::size_t taken = 0; taken < units && at < bytes.size(); ++taken) at += SjisCharacterLength(bytes, at);
    return at;
}

std::size_t SjisCharacterCount(std::string_view bytes) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < bytes.size(); ++count) at += SjisCharacterLength(bytes, at);
    return count;
}

std::size_t ReplaceSurrogates(char16_t* text, std::size_t length) {
    std::size_t out = 0;
    for (std::size_t in = 0; in < length; ++in) {
        const char16_t unit = text[in];
        if (!IsSurrogate(unit)) {
            text[out++] = unit;
            continue;
        }
        if (IsHighSurrogate(unit) && in + 1 < length && IsLowSurrogate(text[in + 1])) ++in;
        text[out++] = kUnmappable;
    }
    return out;
}

std::optional<char16_t> TypedUnits::Take(char16_t unit) {
    const bool highWaited = std::exchange(highWaits_, IsHighSurrogate(unit));
    // A first half after another first half: the earlier one was lone.
    if (highWaits_) return highWaited ? std::optional<char16_t>(kUnmappable) : std::nullopt;
    // The end of a pair, or a lone second half.
    if (IsLowSurrogate(unit)) return kUnmappable;
    // A lone first half before an ordinary unit is dropped; the unit is what was typed.
    return unit;
}

}  // namespace core
