#include "core/text_area.h"

namespace core {

bool EndsWithLineBreak(std::string_view text) {
    return text.ends_with("\r\n");
}

std::string TextForAddedLines(std::string_view currentTextTail, std::span<const std::string> lines) {
    std::string appended;
    // Whether the text so far (the current text followed by what is appended) is empty or
    // ends with a line break; that alone decides where the next line's break goes.
    bool atLineStart = currentTextTail.empty() || EndsWithLineBreak(currentTextTail);
    for (const std::string& line : lines) {
        if (atLineStart) {
            appended += line;
            appended += "\r\n";
        } else {
            appended += "\r\n";
            appended += line;
            // The line may itself end in CR LF (or be empty), which puts the text at a line start.
            atLineStart = EndsWithLineBreak(appended);
        }
    }
    return appended;
}

}  // namespace core
