#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// Only CR LF breaks a line in the text area; a lone LF is a character of its line.
bool EndsWithLineBreak(std::string_view text);

// The text to append after the text area's text so that the lines of a text-mode file of any size
// become its new last lines: a line after an empty text or a line break is added as line + CR LF,
// any other as CR LF + line, and lines added after a text that ended mid-line end with a CR LF
// too. The file is read in chunks, and the text to append comes out as the chunks go in.
// currentTextTail is the last 2 bytes of the area's current text, or all of it when shorter (empty
// for an empty area). Lines are read as LineReader reads them; a line is held until its end, except
// that a line longer than `heldBytesAtMost` is passed on in parts, so a file of one endless line
// takes no more memory than that.
class AddedLines {
public:
    explicit AddedLines(std::string_view currentTextTail, std::size_t heldBytesAtMost = 1u << 20);

    // False once the file's end mark was seen: the rest of the file is ignored.
    bool Feed(std::string_view fileBytes);
    // The end of the file: a last line without LF counts.
    void Finish();
    // Appends the text ready to append to `text`; it is handed out once.
    void MoveTo(std::string& text);

private:
    void AddToLine(std::string_view bytes);
    void BeginLine();
    void EndLine();

    std::string out_;
    std::string line_;
    std::size_t heldBytesAtMost_;
    bool atLineStart_;
    bool lineBegun_ = false;  // part of the current line has been passed on
    bool lineBegunAtStart_ = false;
    bool added_ = false;  // some line was passed on
    bool ended_ = false;
};

}  // namespace core
