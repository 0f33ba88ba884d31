// Cutting text that goes into the text area at once into pieces without long runs between line
// breaks. The text area wraps the lines of each addition at a cost that grows with the square of
// the longest run added in one piece (under Wine 80 KB of one line take some 16 s, 1 MB most of an
// hour), while adding to the end of a long line costs little.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace core {

// Consecutive pieces of `text`, joined again exactly `text`, none of which holds more than
// `maxRun` bytes without a LF. Pieces end only where a run would grow longer, never between the
// two bytes of a Shift_JIS character; a character longer than `maxRun` stands in a piece of its own.
std::vector<std::string_view> SplitLongLineRuns(std::string_view text, std::size_t maxRun);

}  // namespace core
