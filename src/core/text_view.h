// What the text area shows of its document: the row at the top of the screen (held as the offset
// where it starts, so that rows refined in the background never move the view), the rows on the
// screen, scrolling by rows, pages, the scroll bar's thumb and to the caret, and where the caret
// stands on the screen. Arriving text takes the view and the caret to the end, unless something
// holds the view: the user's mouse button in the text area or on its scroll bar, Scroll Lock, or a
// search being read back. Everything here costs what the screen shows.
#pragma once

#include "core/text_document.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace core {

enum class ViewHold : unsigned {
    MouseButton = 1,
    ScrollBar = 2,
    ScrollLock = 4,
    Search = 8,
};

// The scroll bar's figures: rows of the whole text (rows not laid out yet count by an estimate),
// the index of the top row, and the rows a page holds.
struct ScrollFigures {
    std::size_t rows = 1;
    std::size_t top = 0;
    std::size_t page = 1;
};

// Where the caret shows: its row counted from the top (-1 above the screen, past the last row
// below it) and its cell within the row.
struct CaretPlace {
    int row = 0;
    int cell = 0;
};

class TextView {
public:
    explicit TextView(TextDocument& document);
    ~TextView();
    TextView(const TextView&) = delete;
    TextView& operator=(const TextView&) = delete;

    // The screen in character cells and whole rows. The top keeps the text it showed; a view that
    // shows the end of the text still shows it afterwards, the last line at the bottom.
    void SetSize(int columns, int rows);
    int Columns() const noexcept { return document_.rows_.Columns(); }
    int Rows() const noexcept { return rows_; }

    std::size_t Top() {
        Settle();
        return top_;
    }
    // The rows from the top, one more than fit whole (it shows in part), fewer at the end.
    const std::vector<TextRow>& ShownRows();
    ScrollFigures Figures();

    // The rows of the whole text at the view's width, for readers that move by rows.
    std::size_t RowCount() { return document_.rows_.RowCount(); }
    TextRow RowAt(std::size_t offset) { return document_.rows_.RowAt(offset); }
    TextRow RowAtIndex(std::size_t index) { return document_.rows_.RowAtIndex(index); }
    std::size_t RowIndexOf(std::size_t offset) { return document_.rows_.RowIndexOf(offset); }
    std::optional<TextRow> NextRow(TextRow row) { return document_.rows_.NextRow(row); }
    std::optional<TextRow> PreviousRow(TextRow row) { return document_.rows_.PreviousRow(row); }

    // Each returns whether the view moved. The top never goes past the top that shows the end.
    bool ScrollTo(std::size_t offset);
    bool ScrollRows(long long rows);
    bool ScrollToRowIndex(std::size_t index);
    bool ScrollToEnd();
    bool AtEnd();
    // The least scrolling that brings the caret's row on the screen.
    bool ScrollCaretIntoView();
    // Shows the row of `offset`: where it is on the screen it stays, otherwise it comes to the middle.
    bool Centre(std::size_t offset);

    CaretPlace Caret();
    // The offset nearest to a point `halfCells` half cells from the left of the screen's row `row`
    // (counted from the top; a negative row is the row above the top).
    std::size_t OffsetAt(int row, int halfCells);

    void Hold(ViewHold reason, bool held) noexcept;
    bool Held() const noexcept { return holds_ != 0; }

    // Received text at the end: the caret and the view follow it unless the view is held.
    void Append(std::string_view bytes);

    // Lays out rows counted by estimates in the background; false once every row is exact.
    bool Refine(std::size_t byteBudget);
    bool Exact() { return document_.rows_.Exact(); }

private:
    std::size_t LastTop();
    // Puts the top back on a row's start after the text changed under it.
    void Settle();

    TextDocument& document_;
    std::size_t top_ = 0;
    int rows_ = 1;
    unsigned holds_ = 0;
    std::vector<TextRow> shown_;
    bool shownStale_ = true;
    // The text's version the top was last settled for.
    std::uint64_t settledVersion_ = static_cast<std::uint64_t>(-1);
};

}  // namespace core
