#include "core/text_area.h"

#include <algorithm>
#include <utility>

namespace core {
namespace {

// A file's bytes that the line rule acts on: the end mark, CR and NUL (dropped) and LF.
constexpr bool IsLineRuleByte(char byte) { return byte == '\x1A' || byte == '\r' || byte == '\0' || byte == '\n'; }

}  // namespace

bool EndsWithLineBreak(std::string_view text) { return text.ends_with("\r\n"); }

AddedLines::AddedLines(std::string_view currentTextTail, std::size_t heldBytesAtMost)
    : heldBytesAtMost_(heldBytesAtMost), atLineStart_(currentTextTail.empty() || EndsWithLineBreak(currentTextTail)) {}

bool AddedLines::Feed(std::string_view fileBytes) {
    // The runs between the bytes the line rule acts on are copied whole.
    while (!ended_ && !fileBytes.empty()) {
        std::size_t special = 0;
        while (special < fileBytes.size() && !IsLineRuleByte(fileBytes[special])) ++special;
        AddToLine(fileBytes.substr(0, special));
        if (special == fileBytes.size()) break;
        if (fileBytes[special] == '\x1A') ended_ = true;
        if (fileBytes[special] == '\n') EndLine();
        // A CR or a NUL is dropped.
        fileBytes.remove_prefix(special + 1);
    }
    return !ended_;
}

void AddedLines::AddToLine(std::string_view bytes) {
    // A line longer than the bytes held goes on to the text in pieces.
    while (!bytes.empty()) {
        const std::size_t room =
            std::max<std::size_t>(heldBytesAtMost_ > line_.size() ? heldBytesAtMost_ - line_.size() : 0, 1);
        const std::size_t taken = std::min(room, bytes.size());
        line_.append(bytes.substr(0, taken));
        bytes.remove_prefix(taken);
        if (line_.size() >= heldBytesAtMost_) {
            BeginLine();
            out_ += line_;
            line_.clear();
        }
    }
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
