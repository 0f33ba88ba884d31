#include "core/edit_undo.h"

namespace core {

bool EditUndo::Joins(std::size_t start, std::string_view removed, std::size_t insertedLength) const {
    if (!last_ || !lastWasTyping_) return false;
    const TextEdit& last = *last_;
    const std::size_t lastEnd = last.start + last.insertedLength;
    // Typing on where the run ends.
    if (removed.empty() && start == lastEnd) return true;
    if (insertedLength != 0) return false;
    // Backspace inside what the run typed, or before a run of deleting.
    if (start + removed.size() == lastEnd && removed.size() <= last.insertedLength) return true;
    if (last.insertedLength == 0 && start + removed.size() == last.start) return true;
    // Delete at the place where a run of deleting stands.
    return last.insertedLength == 0 && start == last.start;
}

void EditUndo::Note(std::size_t start, std::string_view removed, std::size_t insertedLength, EditKind kind) {
    if (removed.empty() && insertedLength == 0) return;
    const bool typing = kind == EditKind::Typing;
    if (typing && Joins(start, removed, insertedLength)) {
        TextEdit& last = *last_;
        if (removed.empty()) {
            last.insertedLength += insertedLength;
        } else if (last.insertedLength != 0) {
            last.insertedLength -= removed.size();
            // Typing taken back key by key leaves nothing to undo.
            if (last.insertedLength == 0 && last.removed.empty()) Forget();
        } else if (start < last.start) {
            last.removed.insert(0, removed);
            last.start = start;
        } else {
            last.removed.append(removed);
        }
        return;
    }
    last_ = TextEdit{start, std::string(removed), insertedLength};
    lastWasTyping_ = typing;
}

std::optional<TextEdit> EditUndo::Take() noexcept {
    std::optional<TextEdit> step = std::move(last_);
    Forget();
    return step;
}

void EditUndo::Forget() noexcept {
    last_.reset();
    lastWasTyping_ = false;
}

std::optional<TextEdit> ReverseOf(std::string_view text, const TextEdit& edit) {
    if (edit.start > text.size() || edit.insertedLength > text.size() - edit.start) return std::nullopt;
    return TextEdit{edit.start, std::string(text.substr(edit.start, edit.insertedLength)), edit.removed.size()};
}

}  // namespace core
