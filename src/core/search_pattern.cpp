#include "core/search_pattern.h"

#include "core/text_layout.h"

#include <algorithm>

namespace core {
namespace {

constexpr unsigned char kFullWidthLead = 0x82;
constexpr unsigned char kFullWidthUpperA = 0x60, kFullWidthUpperZ = 0x79, kFullWidthLowerA = 0x81;
constexpr unsigned char kFullWidthCaseStep = kFullWidthLowerA - kFullWidthUpperA;

unsigned char OtherAsciiCase(unsigned char b) {
    if (b >= 'A' && b <= 'Z') return static_cast<unsigned char>(b + ('a' - 'A'));
    if (b >= 'a' && b <= 'z') return static_cast<unsigned char>(b - ('a' - 'A'));
    return b;
}

// The second byte of the full-width letter's other case, given its first byte and second byte.
unsigned char OtherFullWidthCase(unsigned char lead, unsigned char second) {
    if (lead != kFullWidthLead) return second;
    if (second >= kFullWidthUpperA && second <= kFullWidthUpperZ) {
        return static_cast<unsigned char>(second + kFullWidthCaseStep);
    }
    if (second >= kFullWidthLowerA && second <= kFullWidthUpperZ + kFullWidthCaseStep) {
        return static_cast<unsigned char>(second - kFullWidthCaseStep);
    }
    return second;
}

}  // namespace

SearchPattern::SearchPattern(std::string_view sjis, bool matchCase) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(sjis[i]); };
    for (std::size_t i = 0; i < sjis.size();) {
        // The pattern is read in characters as the text area reads the text.
        if (CharacterLength(sjis, i) == 2) {
            choices_.push_back({byteAt(i), byteAt(i)});
            const unsigned char second = byteAt(i + 1);
            choices_.push_back({second, matchCase ? second : OtherFullWidthCase(byteAt(i), second)});
            i += 2;
        } else {
            choices_.push_back({byteAt(i), matchCase ? byteAt(i) : OtherAsciiCase(byteAt(i))});
            ++i;
        }
    }
    const std::size_t size = choices_.size();
    shift_.fill(size);
    for (std::size_t i = 0; i + 1 < size; ++i) {
        for (unsigned char b : choices_[i]) shift_[b] = size - 1 - i;
    }
    if (size > 0) {
        for (unsigned char b : choices_.back()) endsPattern_[b] = true;
    }
}

bool SearchPattern::MatchesAt(const unsigned char* at) const {
    for (std::size_t i = 0; i + 1 < choices_.size(); ++i) {
        if (at[i] != choices_[i][0] && at[i] != choices_[i][1]) return false;
    }
    return true;
}

std::size_t SearchPattern::FindBytes(std::string_view text, std::size_t from, std::size_t lastStart) const {
    const std::size_t size = choices_.size();
    if (size == 0 || text.size() < size) return std::string_view::npos;
    lastStart = std::min(lastStart, text.size() - size);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t at = from; at <= lastStart;) {
        const unsigned char last = bytes[at + size - 1];
        if (endsPattern_[last] && MatchesAt(bytes + at)) return at;
        at += shift_[last];
    }
    return std::string_view::npos;
}

bool IsShortLinePart(std::string_view selected) noexcept {
    return !selected.empty() && selected.size() <= kLongestProposedText &&
           selected.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace core
