#include "text_for_added_lines.h"

#include "core/text_area.h"

namespace testing_support {

std::string TextForAddedLines(std::string_view currentTextTail, std::span<const std::string> lines) {
    std::string appended;
    // Whether the text so far (the current text followed by what is appended) is empty or
    // ends with a line break; that alone decides where the next line's break goes.
    bool atLineStart = currentTextTail.empty() || core::EndsWithLineBreak(currentTextTail);
    for (const std::string& line : lines) {
        if (atLineStart) {
            appended += line;
            appended += "\r\n";
        } else {
            appended += "\r\n";
            appended += line;
            // The line may itself end in CR LF (or be empty), which puts the text at a line start.
            atLineStart = core::EndsWithLineBreak(appended);
        }
    }
    // Lines added after text that ended mid-line end with a break too, so that what comes next
    // starts a line of its own.
    if (!atLineStart && !lines.empty()) appended += "\r\n";
    return appended;
}

}  // namespace testing_support
