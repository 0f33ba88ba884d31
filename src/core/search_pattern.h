// What a search looks for, as bytes: the Shift_JIS search text with, for each of its bytes, the
// byte that may stand in its place when case does not matter. Without match case an ASCII letter
// matches its other case, and a full-width Latin letter (Ａ–Ｚ 0x8260–0x8279, ａ–ｚ 0x8281–0x829A)
// its other case; nothing else is folded, so ASCII and full-width letters stay different, and so
// do half-width and full-width katakana. Letters are folded only as whole characters: the second
// byte of ア (0x83 0x41) is no "A".
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace core {

// The Find dialog proposes the selection as the search text only when it is a short part of one
// line; a caller reads no longer selection than this.
inline constexpr std::size_t kLongestProposedText = 128;
bool IsShortLinePart(std::string_view selected) noexcept;

class SearchPattern {
public:
    SearchPattern(std::string_view sjis, bool matchCase);

    std::size_t Size() const noexcept { return choices_.size(); }
    // The first offset in [from, lastStart] at which the pattern's bytes stand in `text` (whether
    // they start a character is the caller's question); npos when there is none.
    std::size_t FindBytes(std::string_view text, std::size_t from, std::size_t lastStart) const;

private:
    using Choice = std::array<unsigned char, 2>;  // the byte, and the byte that may replace it
    bool MatchesAt(const unsigned char* at) const;

    std::vector<Choice> choices_;
    // Horspool's table: how far the pattern may move on when the byte under its last one is `b`.
    std::array<std::size_t, 256> shift_{};
    std::array<bool, 256> endsPattern_{};
};

}  // namespace core
