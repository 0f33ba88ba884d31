// The text laid out whole, row by row, as the tests' and the fuzzers' reference for the row map,
// which lays out a block at a time and only where it is looked at.
#pragma once

#include "core/text_layout.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace testing_support {

class WholeLayout {
public:
    WholeLayout();

    // Lays out the whole text at `columns` cells a row (at least one).
    void Reset(std::string_view text, int columns);
    // The text has changed from `unchangedBytes` on (bytes added at the end, or an edit): lays out
    // again only from a couple of rows before the first changed byte.
    void Extend(std::string_view text, std::size_t unchangedBytes);

    int Columns() const { return columns_; }
    // At least one: an empty text, and a text ending in CR LF, end with an empty row.
    std::size_t RowCount() const { return rows_.size(); }
    core::TextRow Row(std::size_t index) const { return rows_[index]; }
    // The row that shows `offset`; an offset where a row wraps belongs to the row it starts.
    std::size_t RowOf(std::size_t offset) const;

private:
    void LayOutFrom(std::string_view text, std::size_t start);

    std::vector<core::TextRow> rows_;
    int columns_ = 1;
};

}  // namespace testing_support
