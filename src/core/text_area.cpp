#include "core/text_area.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace core {
namespace {

// A file's bytes that the line rule acts on: the end mark, CR and NUL (dropped) and LF.
constexpr bool IsLineRuleByte(char byte) { return byte == '\x1A' || byte == '\r' || byte == '\0' || byte == '\n'; }

// The first byte that the line rule acts on, or the size when there is none. They all lie below
// 0x20, where Shift_JIS text has no bytes but a few controls, so the search passes over eight bytes
// at a time while none of them is below 0x20: loading is mostly this search.
std::size_t FindLineRuleByte(std::string_view bytes) {
    constexpr std::uint64_t kEachByte = 0x0101010101010101ull;
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (at + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + at, sizeof word);
            // Nonzero exactly when some byte of the word is below 0x20.
            if (((word - kEachByte * 0x20) & ~word & kEachByte * 0x80) == 0) {
                at += 8;
                continue;
            }
        }
        for (const std::size_t end = std::min(at + 8, bytes.size()); at < end; ++at) {
            if (IsLineRuleByte(bytes[at])) return at;
        }
    }
    return bytes.size();
}

}  // namespace

bool EndsWithLineBreak(std::string_view text) { return text.ends_with("\r\n"); }

AddedLines::AddedLines(std::string_view currentTextTail, std::size_t heldBytesAtMost)
    : heldBytesAtMost_(heldBytesAtMost), atLineStart_(currentTextTail.empty() || EndsWithLineBreak(currentTextTail)) {}

bool AddedLines::Feed(std::string_view fileBytes) {
    // The runs between the bytes the line rule acts on are copied whole.
    while (!ended_ && !fileBytes.empty()) {
        const std::size_t special = FindLineRuleByte(fileBytes);
        if (special > 0 && special < fileBytes.size() && line_.empty() && !lineBegun_) {
            // A whole line ahead, its LF after no more than CRs, as nearly every line of a
            // transcript is: it needs no holding and goes on in one copy.
            std::size_t lineFeed = special;
            while (lineFeed < fileBytes.size() && fileBytes[lineFeed] == '\r') ++lineFeed;
            if (lineFeed < fileBytes.size() && fileBytes[lineFeed] == '\n') {
                BeginLine();
                out_.append(fileBytes.substr(0, special));
                EndLine();
                fileBytes.remove_prefix(lineFeed + 1);
                continue;
            }
        }
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

void AddedLines::MoveTo(std::string& text) {
    text += out_;
    // Keeps its room: the next chunk's text needs as much.
    out_.clear();
}

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
