#include "core/text_scan.h"

#include "core/sjis_boundary.h"
#include "core/text_layout.h"

#include <algorithm>

namespace core {

TextScan::TextScan(const SearchPattern& pattern, ScanRange range, bool keepLast)
    : pattern_(pattern),
      range_(range),
      keepLast_(keepLast),
      tailStart_(range.feedFrom),
      checkedTo_(std::max(range.startsFrom, range.feedFrom)),
      fedTo_(range.feedFrom) {}

bool TextScan::Feed(std::string_view piece) {
    if (Done() || piece.empty()) return !Done();
    const std::size_t size = pattern_.Size();
    const std::size_t base = fedTo_;
    fedTo_ += piece.size();
    // The kept tail and the piece's first bytes hold the matches that reach over the seam, and
    // tell whether the piece begins with a character or with the second byte of one.
    seam_.assign(tail_);
    seam_.append(piece.substr(0, size));
    if (piece.size() <= size) {
        Check(seam_, tailStart_, 0, checkedTo_, tailStart_ + (seam_.size() > size ? seam_.size() - size : 0));
        KeepTail(seam_, tailStart_, 0);
        return !Done();
    }
    Check(seam_, tailStart_, 0, checkedTo_, base);
    const std::size_t anchor = StartsCharacterAt(seam_, 0, tail_.size()) ? 0 : 1;
    Check(piece, base, anchor, checkedTo_, base + piece.size() - size);
    KeepTail(piece, base, anchor);
    return !Done();
}

void TextScan::Finish(bool endsText) {
    if (Done()) return;
    const std::size_t size = pattern_.Size();
    const std::size_t reach = tail_.size() + (endsText ? 1 : 0);
    Check(tail_, tailStart_, 0, checkedTo_, tailStart_ + (reach > size ? reach - size : 0));
}

bool TextScan::MoveBack(std::size_t bytes) noexcept {
    if (tailStart_ < bytes || range_.endsBy < bytes) return false;
    const auto back = [bytes](std::size_t& offset) { offset = offset > bytes ? offset - bytes : 0; };
    for (std::size_t* offset :
         {&tailStart_, &checkedTo_, &fedTo_, &range_.feedFrom, &range_.startsFrom, &range_.endsBy}) {
        back(*offset);
    }
    if (range_.startsBefore != kTextEnd) back(range_.startsBefore);
    return true;
}

void TextScan::Check(std::string_view bytes, std::size_t base, std::size_t anchor, std::size_t from,
                     std::size_t before) {
    if (Done()) return;
    const std::size_t size = pattern_.Size();
    const std::size_t lowest = std::max(from, base + anchor);
    checkedTo_ = std::max(checkedTo_, before);
    if (range_.endsBy + 1 < size) return;
    const std::size_t beyond = std::min({before, range_.startsBefore, range_.endsBy + 1 - size});
    if (beyond <= lowest) return;
    std::size_t known = anchor;  // a character starts here, at or before the next candidate
    for (std::size_t at = pattern_.FindBytes(bytes, lowest - base, beyond - 1 - base); at != std::string_view::npos;
         at = pattern_.FindBytes(bytes, at + 1, beyond - 1 - base)) {
        const bool starts = StartsCharacterAt(bytes, known, at);
        // Where no character starts, the byte before opens one.
        known = starts ? at : at - 1;
        if (!starts || !StartsCharacterAt(bytes, at, at + size)) continue;
        match_ = TextMatch{base + at, base + at + size};
        if (!keepLast_) return;
    }
}

void TextScan::KeepTail(std::string_view bytes, std::size_t base, std::size_t anchor) {
    const std::size_t size = pattern_.Size();
    std::size_t cut = bytes.size() > size ? std::max(anchor, bytes.size() - size) : 0;
    if (!StartsCharacterAt(bytes, anchor, cut)) --cut;
    tail_.assign(bytes.substr(cut));
    tailStart_ = base + cut;
}

}  // namespace core
