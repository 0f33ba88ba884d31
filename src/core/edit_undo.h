// The one step of undo a text area keeps, as users know it from the system's edit control: the last
// edit, where a run of typing, of Backspace or of Delete counts as one edit, and undoing it makes a
// new edit, so that a second undo brings the text back (redo). Text added at the end by the program
// itself is not an edit and leaves the step as it was: it never moves the bytes the step refers to.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace core {

struct TextEdit {
    std::size_t start = 0;
    std::string removed;             // the bytes the edit took out at `start`
    std::size_t insertedLength = 0;  // how many bytes it put in their place
};

enum class EditKind {
    Typing,  // one key's worth: joins the run before it when it carries on where that ended
    Other,   // paste, cut, an undo: an edit of its own
};

class EditUndo {
public:
    // `removed` at `start` was replaced by `insertedLength` bytes.
    void Note(std::size_t start, std::string_view removed, std::size_t insertedLength, EditKind kind);
    bool CanUndo() const noexcept { return last_.has_value(); }
    // Hands out the step and forgets it; the caller applies it and notes the reverse edit.
    std::optional<TextEdit> Take() noexcept;
    void Forget() noexcept;

private:
    bool Joins(std::size_t start, std::string_view removed, std::size_t insertedLength) const;

    std::optional<TextEdit> last_;
    bool lastWasTyping_ = false;
};

// The edit that takes `edit` back once `edit` has been made to `text`; nothing when `edit` does not
// fit in `text`.
std::optional<TextEdit> ReverseOf(std::string_view text, const TextEdit& edit);

}  // namespace core
