// Find in the text area's text, run in slices so that the window stays alive over gigabytes: each
// Step() reads about a budget of bytes (paged-out blocks come back one at a time and the store
// trims after each) and says whether the search goes on, found a match, or found none.
//
// Down finds the first match that starts at or after the start offset (the selection's end) and
// ends by the text's size when the search began: bytes that arrive during the search are beyond
// it. Up finds the last match that ends at or before the start offset (the selection's start).
// Neither wraps around. A match starts and ends on a character boundary as the text area shows
// characters: never on the second byte of a two-byte character, never between CR and LF.
//
// The owner cancels (drops the search) when the text is cleared, loaded or edited. Bytes added at
// the end do not disturb a search, and bytes dropped from the front move its offsets back with
// the rest: a match is given in the offsets of the text as it is when found.
#pragma once

#include "core/search_pattern.h"
#include "core/text_scan.h"
#include "core/text_store.h"

#include <cstddef>
#include <optional>
#include <string>

namespace core {

enum class SearchDirection { Down, Up };

struct SearchRequest {
    // Shift_JIS, converted from the dialog's text; an empty one finds nothing. A search text with a
    // character Shift_JIS lacks can match nothing, so the owner reports it not found unsearched.
    std::string pattern;
    bool matchCase = false;
    SearchDirection direction = SearchDirection::Down;
    std::size_t from = 0;
};

enum class SearchState { Running, Found, NotFound };

struct SearchStep {
    SearchState state = SearchState::Running;
    TextMatch match;  // when Found
};

class TextSearch {
public:
    TextSearch(const SearchRequest& request, const TextStore& store);

    // Goes on for about `byteBudget` bytes of the text. Once Found or NotFound, says so again.
    SearchStep Step(TextStore& store, std::size_t byteBudget);

private:
    SearchStep StepDown(TextStore& store, std::size_t byteBudget);
    SearchStep StepUp(TextStore& store, std::size_t byteBudget);
    // False when the bytes the search had still to read left the text.
    bool FollowDroppedBytes(const TextStore& store);
    SearchStep Finish(const std::optional<TextMatch>& match);

    SearchPattern pattern_;
    SearchDirection direction_;
    std::size_t from_;
    std::size_t bound_;  // matches end by this
    std::size_t dropped_;
    std::optional<TextScan> down_;  // one pass over the whole range, fed step by step
    std::size_t upTo_;              // up: the text before this is still to search
    std::optional<SearchStep> result_;
};

}  // namespace core
