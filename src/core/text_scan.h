// One pass of a search over a stretch of the text, fed in pieces as the store hands them out (a
// block at a time, in order), so that a match may lie across pieces. Only the matches that start
// and end on character boundaries count; the boundaries are found from a known one at the pass's
// start, and by looking back from a candidate only over the bytes that could open a two-byte
// character.
#pragma once

#include "core/search_pattern.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace core {

struct TextMatch {
    std::size_t start = 0;
    std::size_t end = 0;
};

struct ScanRange {
    std::size_t feedFrom = 0;      // a character starts here, and the first piece too
    std::size_t startsFrom = 0;    // matches start here or later (not before feedFrom)
    std::size_t startsBefore = 0;  // and before this
    std::size_t endsBy = 0;        // and end at or before this
};

class TextScan {
public:
    // With `keepLast` the pass goes on to the last match in the range, else it stops at the first.
    TextScan(const SearchPattern& pattern, ScanRange range, bool keepLast);

    // The bytes from where the previous piece ended (from `feedFrom` for the first piece).
    // False once the first match is found (never with `keepLast`).
    bool Feed(std::string_view piece);
    // No more pieces: `endsText` when nothing follows the last byte fed. The byte after a match
    // decides whether the match ends on a boundary, so feed one byte past `endsBy` when it exists.
    void Finish(bool endsText);

    // Bytes left the front of the text: every offset moves back by `bytes`. False when the kept
    // bytes went with them.
    bool MoveBack(std::size_t bytes) noexcept;

    const std::optional<TextMatch>& Match() const noexcept { return match_; }
    std::size_t FedTo() const noexcept { return fedTo_; }

private:
    // Checks the candidates in `bytes` (at offset `base`, a character starting at `anchor`) that
    // start in [from, before); those that start at or after `before` are checked later.
    void Check(std::string_view bytes, std::size_t base, std::size_t anchor, std::size_t from, std::size_t before);
    // Keeps the bytes from a character start at most a pattern's length before the end of `bytes`.
    void KeepTail(std::string_view bytes, std::size_t base, std::size_t anchor);
    bool Done() const noexcept { return match_.has_value() && !keepLast_; }

    const SearchPattern& pattern_;
    ScanRange range_;
    bool keepLast_;
    std::string tail_;  // bytes not yet checked as match starts; a character starts at tail_[0]
    std::size_t tailStart_;
    std::size_t checkedTo_;  // candidates before this are decided
    std::size_t fedTo_;
    std::string seam_;
    std::optional<TextMatch> match_;
};

}  // namespace core
