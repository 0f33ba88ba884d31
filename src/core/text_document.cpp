#include "core/text_document.h"

#include "core/row_steps.h"
#include "core/sjis_boundary.h"

#include <algorithm>
#include <utility>

namespace core {
namespace {

// How far a double click or Ctrl with an arrow looks for the ends of a word.
constexpr std::size_t kWordReach = 4096;

}  // namespace

TextDocument::TextDocument(TextStore::PageFileOpener openPageFile, StoreLimits limits)
    : store_(std::move(openPageFile), limits), rows_(store_) {
    anchors_.Add(&anchor_);
    anchors_.Add(&caret_);
}

TextNotices TextDocument::TakeNotices() noexcept {
    const StoreNotices notices = store_.TakeNotices();
    const bool dropped = notices.linesDropped && !droppedNoticeGiven_;
    droppedNoticeGiven_ = droppedNoticeGiven_ || notices.linesDropped;
    return {notices.full, dropped};
}

void TextDocument::Append(std::string_view bytes, bool keepSelection) {
    if (bytes.empty()) return;
    store_.Append(bytes);
    FollowDroppedBytes();
    if (!keepSelection) {
        anchor_ = caret_ = store_.Size();
        goalStale_ = true;
    }
}

void TextDocument::SetText(std::string_view bytes) {
    Clear();
    store_.Append(bytes);
    droppedSeen_ = store_.DroppedBytes();
}

void TextDocument::Clear() noexcept {
    store_.Clear();
    ForgetAllButTheText();
}

void TextDocument::ClearForUndo() noexcept {
    try {
        store_.SetAside();
    } catch (...) {
        // The text could not be read to keep it: cleared all the same, for good.
        store_.Clear();
    }
    ForgetAllButTheText();
}

void TextDocument::ForgetAllButTheText() noexcept {
    undo_.Forget();
    anchors_.Reset();
    goalCell_ = 0;
    droppedSeen_ = store_.DroppedBytes();
    droppedNoticeGiven_ = false;
}

void TextDocument::ForgetUndo() noexcept {
    undo_.Forget();
    store_.ForgetSetAside();
}

void TextDocument::TakeBackFrom(std::size_t from) {
    const std::size_t size = store_.Size();
    if (from >= size) return;
    store_.Replace(from, size, {});
    anchors_.Edited(from, size - from, 0);
    goalStale_ = true;
}

TextSelection TextDocument::Selected() const noexcept { return {std::min(anchor_, caret_), std::max(anchor_, caret_)}; }

std::string TextDocument::SelectedText() {
    const TextSelection s = Selected();
    return store_.Read(s.start, s.end);
}

void TextDocument::Select(std::size_t anchor, std::size_t caret) {
    anchor_ = CharacterStart(std::min(anchor, store_.Size()));
    caret_ = anchor == caret ? anchor_ : CharacterStart(std::min(caret, store_.Size()));
    goalStale_ = true;
}

void TextDocument::SelectWordAt(std::size_t offset) {
    const Window window = WindowAround(offset, kWordReach);
    const TextRow word = WordAround(window.text, Boundaries(window.text), offset - window.base);
    Select(window.base + word.start, window.base + word.end);
}

void TextDocument::ReplaceSelection(std::string_view bytes, EditKind kind) {
    const TextSelection s = Selected();
    if (s.end - s.start > kMostUndoBytes) {
        undo_.Forget();
        Replace(s, bytes);
        return;
    }
    const std::string removed = store_.Read(s.start, s.end);
    Replace(s, bytes);
    try {
        undo_.Note(s.start, removed, bytes.size(), kind);
    } catch (...) {
        undo_.Forget();
    }
}

void TextDocument::ReplaceSelectionForGood(std::string_view bytes) {
    undo_.Forget();
    Replace(Selected(), bytes);
}

void TextDocument::Replace(TextSelection range, std::string_view bytes) {
    if (range.start == range.end && bytes.empty()) return;
    store_.Replace(range.start, range.end, bytes);
    // An edit ends the time a Clear can be taken back.
    store_.ForgetSetAside();
    anchors_.Edited(range.start, range.end - range.start, bytes.size());
    // The caret stands after the new bytes (and moves back with them if old lines left meanwhile).
    anchor_ = caret_ = range.start + bytes.size();
    FollowDroppedBytes();
    Select(caret_, caret_);
}

bool TextDocument::Undo() {
    if (store_.HasSetAside()) {
        // The cleared text comes back before what arrived since; the caret stays with that.
        const std::size_t restored = store_.RestoreSetAside();
        anchors_.Edited(0, 0, restored);
        FollowDroppedBytes();
        return true;
    }
    const std::optional<TextEdit> step = undo_.Take();
    if (!step || step->start + step->insertedLength > store_.Size()) return false;
    const std::string inserted = store_.Read(step->start, step->start + step->insertedLength);
    Replace({step->start, step->start + step->insertedLength}, step->removed);
    // The reverse edit is the next undo, so a second undo puts the edit back.
    undo_.Note(step->start, inserted, step->removed.size(), EditKind::Other);
    Select(step->start, step->start + step->removed.size());
    return true;
}

void TextDocument::Type(unsigned char byte) {
    if (typedLeadByte_) {
        const char pair[2] = {*typedLeadByte_, static_cast<char>(byte)};
        typedLeadByte_.reset();
        ReplaceSelection(std::string_view(pair, 2), EditKind::Typing);
        return;
    }
    switch (byte) {
    case '\b':
        if (!HasSelection()) Select(PreviousBoundaryOf(caret_), caret_);
        ReplaceSelection({}, EditKind::Typing);
        return;
    case '\r': ReplaceSelection("\r\n", EditKind::Typing); return;
    case '\t': ReplaceSelection("\t", EditKind::Typing); return;
    default: break;
    }
    if (byte < 0x20 || byte == 0x7F) return;
    if (IsSjisLeadByte(byte)) {
        typedLeadByte_ = static_cast<char>(byte);
        return;
    }
    const char typed = static_cast<char>(byte);
    ReplaceSelection(std::string_view(&typed, 1), EditKind::Typing);
}

void TextDocument::DeleteForward() {
    if (!HasSelection()) Select(caret_, NextBoundaryOf(caret_));
    ReplaceSelection({}, EditKind::Typing);
}

void TextDocument::Move(CaretStep step, bool extend, std::size_t pageRows) {
    const TextSelection s = Selected();
    const bool collapse = !extend && s.start != s.end;
    std::size_t to = caret_;
    bool vertical = false;
    switch (step) {
    case CaretStep::Left: to = collapse ? s.start : PreviousBoundaryOf(caret_); break;
    case CaretStep::Right: to = collapse ? s.end : NextBoundaryOf(caret_); break;
    case CaretStep::WordLeft: {
        const Window window = WindowAround(caret_, kWordReach);
        to = window.base + PreviousWordStart(window.text, Boundaries(window.text), caret_ - window.base);
        break;
    }
    case CaretStep::WordRight: {
        const Window window = WindowAround(caret_, kWordReach);
        to = window.base + NextWordStart(window.text, Boundaries(window.text), caret_ - window.base);
        break;
    }
    case CaretStep::Up:
    case CaretStep::Down:
    case CaretStep::PageUp:
    case CaretStep::PageDown: {
        if (goalStale_) goalCell_ = CellOf(caret_);
        const bool down = step == CaretStep::Down || step == CaretStep::PageDown;
        const bool page = step == CaretStep::PageUp || step == CaretStep::PageDown;
        const long long count = page ? std::max<long long>(1, static_cast<long long>(pageRows)) : 1;
        const TextRow row = StepRows(rows_, rows_.RowAt(caret_), down ? count : -count);
        to = OffsetInRow(row, 2 * goalCell_);
        vertical = true;
        break;
    }
    case CaretStep::RowStart: to = rows_.RowAt(caret_).start; break;
    case CaretStep::RowEnd: to = rows_.RowAt(caret_).end; break;
    case CaretStep::TextStart: to = 0; break;
    case CaretStep::TextEnd: to = store_.Size(); break;
    }
    const int goal = goalCell_;
    Select(extend ? anchor_ : to, to);
    if (vertical) {
        // Up and down keep to the column the caret came from, over shorter rows too.
        goalCell_ = goal;
        goalStale_ = false;
    }
}

std::size_t TextDocument::OffsetInRow(TextRow row, int halfCells) {
    const std::string text = store_.Read(row.start, row.end + 2);
    return row.start + OffsetAtHalfCell(text, {0, row.end - row.start}, halfCells);
}

int TextDocument::CellOf(std::size_t offset) {
    const TextRow row = rows_.RowAt(offset);
    const std::string text = store_.Read(row.start, row.end + 2);
    return CellInRow(text, {0, row.end - row.start}, offset - row.start);
}

void TextDocument::FollowDroppedBytes() noexcept {
    const std::size_t dropped = store_.DroppedBytes() - droppedSeen_;
    if (dropped == 0) return;
    droppedSeen_ = store_.DroppedBytes();
    anchors_.Dropped(dropped);
    undo_.Forget();
}

std::size_t TextDocument::CharacterStart(std::size_t offset) {
    if (offset == 0 || offset >= store_.Size()) return offset;
    const TextRow row = rows_.RowAt(offset);
    const std::string text = store_.Read(row.start, offset + 2);
    std::size_t at = 0;
    while (row.start + at < offset) {
        const std::size_t next = at + CharacterLength(text, at);
        if (row.start + next > offset) break;
        at = next;
    }
    return row.start + at;
}

std::size_t TextDocument::PreviousBoundaryOf(std::size_t offset) {
    if (offset == 0) return 0;
    const std::size_t from = rows_.RowAt(offset - 1).start;
    const std::string text = store_.Read(from, offset + 2);
    return from + Boundaries(text).Before(offset - from);
}

std::size_t TextDocument::NextBoundaryOf(std::size_t offset) {
    if (offset >= store_.Size()) return store_.Size();
    return offset + CharacterLength(store_.Read(offset, offset + 2), 0);
}

TextDocument::Window TextDocument::WindowAround(std::size_t offset, std::size_t reach) {
    const std::size_t from = rows_.RowAt(offset > reach ? offset - reach : 0).start;
    const std::size_t to = std::min(store_.Size(), offset + reach + 2);
    return {store_.Read(from, to), from};
}

}  // namespace core
