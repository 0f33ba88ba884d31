#include "core/text_area.h"

#include <utility>

namespace core {

bool EndsWithLineBreak(std::string_view text) { return text.ends_with("\r\n"); }

AddedLines::AddedLines(std::string_view currentTextTail, std::size_t heldBytesAtMost)
    : heldBytesAtMost_(heldBytesAtMost), atLineStart_(currentTextTail.empty() || EndsWithLineBreak(currentTextTail)) {}

bool AddedLines::Feed(std::string_view fileBytes) {
    for (const char byte : fileBytes) {
        if (ended_) break;
        switch (byte) {
        case '\x1A': ended_ = true; break;
        case '\r':
        case '\0': break;
        case '\n': EndLine(); break;
        default:
            line_ += byte;
            if (line_.size() >= heldBytesAtMost_) {
                BeginLine();
                out_ += line_;
                line_.clear();
            }
            break;
        }
    }
    return !ended_;
}

void AddedLines::Finish() {
    if (lineBegun_ || !line_.empty()) EndLine();
    // Lines added after text that ended mid-line end with a break too, so that what is received
    // next starts a line of its own.
    if (added_ && !atLineStart_) {
        out_ += "\r\n";
        atLineStart_ = true;
    }
}

std::string AddedLines::Take() { return std::exchange(out_, std::string()); }

void AddedLines::BeginLine() {
    if (lineBegun_) return;
    lineBegun_ = true;
    added_ = true;
    lineBegunAtStart_ = atLineStart_;
    // After a line that does not end in a break, the new line begins with one.
    if (!atLineStart_) out_ += "\r\n";
}

void AddedLines::EndLine() {
    const bool empty = !lineBegun_ && line_.empty();
    BeginLine();
    out_ += line_;
    line_.clear();
    if (lineBegunAtStart_) out_ += "\r\n";
    // A line added after a break ends with its own; one added as break + line ends with a break
    // only when it was empty (a line holds no CR).
    atLineStart_ = lineBegunAtStart_ || empty;
    lineBegun_ = false;
}

}  // namespace core
