// Stepping over rows: the one walk that scrolling, paging and the caret's Up and Down share.
#pragma once

#include "core/row_map.h"

#include <cstdlib>
#include <optional>

namespace core {

// Further than this many rows a step goes by the row counts instead of row by row.
inline constexpr long long kRowStepsAtMost = 4096;

// The row `count` rows after `row` (before it when negative), or the first or last row on the way.
inline TextRow StepRows(RowMap& rows, TextRow row, long long count) {
    if (std::llabs(count) > kRowStepsAtMost) {
        const long long index = static_cast<long long>(rows.RowIndexOf(row.start)) + count;
        return rows.RowAtIndex(static_cast<std::size_t>(index < 0 ? 0 : index));
    }
    for (long long i = 0; i < std::llabs(count); ++i) {
        const std::optional<TextRow> next = count > 0 ? rows.NextRow(row) : rows.PreviousRow(row);
        if (!next) break;
        row = *next;
    }
    return row;
}

}  // namespace core
