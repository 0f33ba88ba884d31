// The rule for adding whole lines at the end of the text area, for lines held in memory at once:
// the reference that the text area's streaming AddedLines is checked against.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace testing_support {

// The text to append so that `lines` become the new last lines of the text area.
// currentTextTail is the last 2 bytes of the area's current text, or all of it when shorter
// (empty for an empty area). A line after an empty text or a line break is added as
// line + CR LF, any other as CR LF + line; the tail is followed from line to line, and lines added
// after a text that ended mid-line end with a CR LF too.
std::string TextForAddedLines(std::string_view currentTextTail, std::span<const std::string> lines);

}  // namespace testing_support
