#include "core/text_view.h"

#include "core/row_steps.h"

#include <algorithm>

namespace core {

TextView::TextView(TextDocument& document) : document_(document) { document_.Anchors().Add(&top_); }

TextView::~TextView() { document_.Anchors().Remove(&top_); }

void TextView::Settle() {
    const std::uint64_t version = document_.store_.Version();
    if (version == settledVersion_) return;
    settledVersion_ = version;
    // Bytes added at the end can join the rows before them (a CR and its LF, a first byte and its
    // second), so even a view at the end may now reach past it.
    top_ = std::min(document_.rows_.RowAt(std::min(top_, document_.Size())).start, LastTop());
    shownStale_ = true;
}

void TextView::SetSize(int columns, int rows) {
    Settle();
    const bool atEnd = AtEnd();
    document_.rows_.SetColumns(columns);
    rows_ = std::max(1, rows);
    // The view keeps the text it showed, its top the row that now holds the old top, unless that
    // would leave room below the end that the text above could fill.
    top_ = atEnd ? LastTop() : std::min(document_.rows_.RowAt(top_).start, LastTop());
    shownStale_ = true;
}

const std::vector<TextRow>& TextView::ShownRows() {
    Settle();
    if (!shownStale_) return shown_;
    shown_.clear();
    std::optional<TextRow> row = document_.rows_.RowAt(top_);
    for (int i = 0; row && i <= rows_; ++i) {
        shown_.push_back(*row);
        row = document_.rows_.NextRow(*row);
    }
    shownStale_ = false;
    return shown_;
}

ScrollFigures TextView::Figures() {
    Settle();
    return {document_.rows_.RowCount(), document_.rows_.RowIndexOf(top_), static_cast<std::size_t>(rows_)};
}

std::size_t TextView::LastTop() {
    RowMap& rows = document_.rows_;
    return StepRows(rows, rows.RowAt(document_.Size()), -(rows_ - 1)).start;
}

bool TextView::ScrollTo(std::size_t offset) {
    Settle();
    offset = document_.rows_.RowAt(std::min(offset, LastTop())).start;
    if (offset == top_) return false;
    top_ = offset;
    shownStale_ = true;
    return true;
}

bool TextView::ScrollRows(long long rows) {
    Settle();
    return ScrollTo(StepRows(document_.rows_, document_.rows_.RowAt(top_), rows).start);
}

bool TextView::ScrollToRowIndex(std::size_t index) { return ScrollTo(document_.rows_.RowAtIndex(index).start); }

bool TextView::ScrollToEnd() {
    // Looking at the last rows of a line of megabytes passes entries on to the blocks after the ones
    // looked at, which can move the rows found the next time: look until the top holds.
    bool moved = false;
    for (int look = 0; look < 4 && ScrollTo(LastTop()); ++look) moved = true;
    return moved;
}

bool TextView::AtEnd() {
    Settle();
    return top_ >= LastTop();
}

bool TextView::ScrollCaretIntoView() {
    Settle();
    const TextRow caretRow = document_.rows_.RowAt(document_.Caret());
    if (caretRow.start < top_) return ScrollTo(caretRow.start);
    const std::vector<TextRow>& shown = ShownRows();
    const std::size_t whole = std::min(shown.size(), static_cast<std::size_t>(rows_));
    for (std::size_t i = 0; i < whole; ++i) {
        if (shown[i].start == caretRow.start) return false;
    }
    return ScrollTo(StepRows(document_.rows_, caretRow, -(rows_ - 1)).start);
}

bool TextView::Centre(std::size_t offset) {
    Settle();
    const TextRow row = document_.rows_.RowAt(offset);
    const std::vector<TextRow>& shown = ShownRows();
    const std::size_t whole = std::min(shown.size(), static_cast<std::size_t>(rows_));
    for (std::size_t i = 0; i < whole; ++i) {
        if (shown[i].start == row.start) return false;
    }
    return ScrollTo(StepRows(document_.rows_, row, -(rows_ - 1) / 2).start);
}

CaretPlace TextView::Caret() {
    const std::size_t caret = document_.Caret();
    const std::size_t caretRow = document_.rows_.RowAt(caret).start;
    const std::vector<TextRow>& shown = ShownRows();
    int row = caretRow < top_ ? -1 : rows_ + 1;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].start == caretRow) row = static_cast<int>(i);
    }
    return {row, document_.CellOf(caret)};
}

std::size_t TextView::OffsetAt(int row, int halfCells) {
    const std::vector<TextRow>& shown = ShownRows();
    TextRow at = shown.front();
    if (row < 0) {
        at = StepRows(document_.rows_, at, row);
    } else {
        at = shown[std::min(shown.size() - 1, static_cast<std::size_t>(row))];
    }
    return document_.OffsetInRow(at, std::max(0, halfCells));
}

void TextView::Hold(ViewHold reason, bool held) noexcept {
    const unsigned bit = static_cast<unsigned>(reason);
    holds_ = held ? (holds_ | bit) : (holds_ & ~bit);
}

void TextView::Append(std::string_view bytes) {
    // The program's own additions are not the user's edits; a user reading back keeps the view and
    // the selection where they are.
    document_.Append(bytes, Held());
    if (!Held()) ScrollToEnd();
}

bool TextView::Refine(std::size_t byteBudget) {
    // Counts become exact; the rows on the screen are anchored by their offsets and stay, though a
    // row that was guessed in a line of megabytes may now start a little earlier or later.
    const bool more = document_.rows_.Refine(byteBudget);
    settledVersion_ = static_cast<std::uint64_t>(-1);
    return more;
}

}  // namespace core
