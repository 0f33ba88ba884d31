#include "core/text_search.h"

#include "core/sjis_boundary.h"
#include "core/text_layout.h"

#include <algorithm>

namespace core {
namespace {

// A run of first-byte values longer than this is noise, not text: the looking back for a
// character start gives up there and takes the run's far end as one.
constexpr std::size_t kLongestLeadRun = 64u << 10;

// A character start at or before `offset`: after the last byte before it that cannot open a
// two-byte character (or at it, for a CR, which may open a CR LF), or the text's start.
std::size_t CharacterStartBefore(TextStore& store, std::size_t offset) {
    for (std::size_t reach = 16;; reach *= 4) {
        const std::size_t from = offset > reach ? offset - reach : 0;
        const std::string bytes = store.Read(from, offset);
        for (std::size_t i = bytes.size(); i-- > 0;) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (!IsSjisLeadByte(b)) return from + i + (b == '\r' ? 0 : 1);
        }
        if (from == 0 || reach >= kLongestLeadRun) return from;
    }
}

}  // namespace

TextSearch::TextSearch(const SearchRequest& request, const TextStore& store)
    : pattern_(request.pattern, request.matchCase),
      direction_(request.direction),
      from_(std::min(request.from, store.Size())),
      bound_(direction_ == SearchDirection::Down ? store.Size() : from_),
      dropped_(store.DroppedBytes()),
      upTo_(from_) {
    if (pattern_.Size() == 0) result_ = SearchStep{SearchState::NotFound, {}};
}

SearchStep TextSearch::Step(TextStore& store, std::size_t byteBudget) {
    if (result_) return *result_;
    // The text shrank under the search without the owner cancelling it: nothing is left to find.
    if (!FollowDroppedBytes(store) || bound_ > store.Size()) return Finish(std::nullopt);
    byteBudget = std::max<std::size_t>(byteBudget, 1);
    return direction_ == SearchDirection::Down ? StepDown(store, byteBudget) : StepUp(store, byteBudget);
}

SearchStep TextSearch::StepDown(TextStore& store, std::size_t byteBudget) {
    if (!down_) {
        down_.emplace(pattern_, ScanRange{CharacterStartBefore(store, from_), from_, kTextEnd, bound_}, false);
    }
    // One byte past the bound tells whether a match that ends there ends on a boundary.
    const std::size_t readEnd = std::min(bound_ + 1, store.Size());
    const std::size_t stop = std::min(readEnd, down_->FedTo() + byteBudget);
    store.ScanPieces(down_->FedTo(), stop, [this](std::string_view piece) { return down_->Feed(piece); });
    if (down_->Match()) return Finish(down_->Match());
    if (down_->FedTo() < readEnd) return {};
    down_->Finish(readEnd == store.Size());
    return Finish(down_->Match());
}

SearchStep TextSearch::StepUp(TextStore& store, std::size_t byteBudget) {
    // Each step searches the stretch just before the last one, for its last match; a match may
    // reach a pattern's length into the stretch after.
    const std::size_t chunkStart = upTo_ > byteBudget ? upTo_ - byteBudget : 0;
    const std::size_t feedFrom = CharacterStartBefore(store, chunkStart);
    TextScan scan(pattern_, ScanRange{feedFrom, chunkStart, upTo_, bound_}, true);
    const std::size_t readEnd = std::min({upTo_ + pattern_.Size(), bound_ + 1, store.Size()});
    store.ScanPieces(feedFrom, readEnd, [&scan](std::string_view piece) { return scan.Feed(piece); });
    scan.Finish(readEnd == store.Size());
    upTo_ = chunkStart;
    if (scan.Match() || upTo_ == 0) return Finish(scan.Match());
    return {};
}

bool TextSearch::FollowDroppedBytes(const TextStore& store) {
    const std::size_t dropped = store.DroppedBytes() - dropped_;
    if (dropped == 0) return true;
    dropped_ = store.DroppedBytes();
    if (bound_ < dropped) return false;
    bound_ -= dropped;
    from_ = from_ > dropped ? from_ - dropped : 0;
    if (direction_ == SearchDirection::Up) {
        if (upTo_ <= dropped) return false;
        upTo_ -= dropped;
        return true;
    }
    // The kept bytes may have left with the rest: the pass then starts again at the text's start.
    if (down_ && !down_->MoveBack(dropped)) down_.reset();
    return true;
}

SearchStep TextSearch::Finish(const std::optional<TextMatch>& match) {
    result_ = match ? SearchStep{SearchState::Found, *match} : SearchStep{SearchState::NotFound, {}};
    return *result_;
}

}  // namespace core
