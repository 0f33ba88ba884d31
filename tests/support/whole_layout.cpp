#include "whole_layout.h"

#include <algorithm>

namespace testing_support {

WholeLayout::WholeLayout() { rows_.push_back({}); }

void WholeLayout::Reset(std::string_view text, int columns) {
    columns_ = std::max(1, columns);
    rows_.clear();
    LayOutFrom(text, 0);
}

void WholeLayout::Extend(std::string_view text, std::size_t unchangedBytes) {
    // A row's end depends only on where it starts and on the bytes up to the character that no
    // longer fitted, which lies in the row itself or the next one (a line break is told by looking
    // one byte further). So the rows more than two before the one holding the first changed byte
    // keep their places, however long their line, and only the rest is laid out again.
    const std::size_t changedRow = RowOf(unchangedBytes);
    const std::size_t first = changedRow >= 2 ? changedRow - 2 : 0;
    const std::size_t start = rows_[first].start;
    rows_.resize(first);
    LayOutFrom(text, start);
}

void WholeLayout::LayOutFrom(std::string_view text, std::size_t start) {
    core::ScanRows(text, true, start, core::kTextEnd, columns_, [this](std::size_t rowStart, std::size_t rowEnd) {
        rows_.push_back({rowStart, rowEnd});
    });
}

std::size_t WholeLayout::RowOf(std::size_t offset) const {
    const auto after = std::upper_bound(rows_.begin(), rows_.end(), offset,
                                        [](std::size_t value, const core::TextRow& row) { return value < row.start; });
    return after == rows_.begin() ? 0 : static_cast<std::size_t>(after - rows_.begin()) - 1;
}

}  // namespace testing_support
