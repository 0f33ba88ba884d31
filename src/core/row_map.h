// The text area's rows over a text kept in blocks, at a width in character cells. A block is laid
// out exactly when it is looked at, from the row that holds its start (its entry): for a block that
// begins a line that is the block's start, whatever the width, so such a block lays out on its own.
// Blocks not yet laid out at the current width count by an estimate; Refine() lays them out a
// slice at a time, in order, until every count is exact. Offsets anchor the view, so a refinement
// changes the row numbers of the scroll bar, never the rows on the screen.
#pragma once

#include "core/block_rows.h"
#include "core/text_layout.h"
#include "core/text_store.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace core {

class RowMap {
public:
    explicit RowMap(TextStore& store) : store_(store), blockRows_(store) {}

    // A new width: every block counts by its estimate again until laid out.
    void SetColumns(int columns);
    int Columns() const noexcept { return columns_; }

    // At least one: an empty text, and a text ending in CR LF, end with an empty row.
    std::size_t RowCount();
    // The row that shows `offset`; an offset where a row wraps belongs to the row it starts.
    TextRow RowAt(std::size_t offset);
    std::size_t RowIndexOf(std::size_t offset);
    // The row at `index` (counted with the estimates); the last row beyond the end.
    TextRow RowAtIndex(std::size_t index);
    std::optional<TextRow> NextRow(TextRow row);
    std::optional<TextRow> PreviousRow(TextRow row);

    // Lays out blocks whose rows are estimated, about `byteBudget` bytes of them; false once every
    // block is exact.
    bool Refine(std::size_t byteBudget);
    bool Exact();

private:
    struct Layout {
        std::uint64_t key = 0;  // the key of the block's rows it was laid out for
        std::uint32_t generation = 0;
        std::uint32_t entryBack = 0;
        bool guessed = false;
        std::uint32_t exitBack = 0;  // the next block's entry
        TextRow entryRow{};          // relative to the block's start - entryBack; empty when entryBack is 0
        std::vector<std::pair<std::uint32_t, std::uint32_t>> rows;  // relative to the block's start
    };

    std::size_t RowsIn(std::size_t block) const;
    std::size_t RowsBefore(std::size_t block) const;
    bool IsExact(std::size_t block) const;
    std::optional<std::uint32_t> KnownEntry(std::size_t block) const;
    const Layout& LayOut(std::size_t block, bool keep = true);
    Layout Scan(std::size_t block, std::uint32_t entryBack, bool guessed);
    // Counts the block's rows as laid out, and passes its end on as the next block's entry.
    void Record(std::size_t block, const Layout& layout);
    TextRow Absolute(std::size_t block, const Layout& layout, std::size_t row) const;

    TextStore& store_;
    BlockRowTable blockRows_;
    int columns_ = 1;
    std::uint32_t generation_ = 1;
    std::vector<Layout> kept_;  // the blocks laid out lately, newest last
    std::size_t refineFrom_ = 0;
    std::uint64_t refineVersion_ = 0;
};

}  // namespace core
