#include "core/row_map.h"

#include <algorithm>

namespace core {
namespace {

// Layouts kept for the rows around the view and the caret.
constexpr std::size_t kKeptLayouts = 8;
// How far back a block's entry is looked for before it is guessed (a line of megabytes).
constexpr std::size_t kEntrySearchBlocks = 8;

// How many of the block's rows start at or before `relative`.
template <class Layout>
std::size_t RowsStartingBy(const Layout& layout, std::size_t relative) {
    const auto after = std::upper_bound(layout.rows.begin(), layout.rows.end(), relative,
                                        [](std::size_t value, const auto& row) { return value < row.first; });
    return static_cast<std::size_t>(after - layout.rows.begin());
}

}  // namespace

void RowMap::SetColumns(int columns) {
    // A row's bytes stay within the reach that edits look back over.
    columns = std::clamp(columns, 1, kMostColumns);
    if (columns == columns_) return;
    columns_ = columns;
    ++generation_;
    kept_.clear();
    refineFrom_ = 0;
}

std::size_t RowMap::RowsIn(std::size_t block) const {
    const TextBlock& b = store_.Block(block);
    const BlockRows& rows = blockRows_[block];
    if (rows.generation == generation_) return rows.count;
    // Rows of the lines, and more for lines longer than a row.
    const std::size_t lines = b.lineFeeds;
    const std::size_t wrapped = b.size / static_cast<std::size_t>(columns_);
    return std::max<std::size_t>(1, std::max(lines, wrapped + lines / 2));
}

std::size_t RowMap::RowsBefore(std::size_t block) const {
    std::size_t rows = 0;
    for (std::size_t i = 0; i < block; ++i) rows += RowsIn(i);
    return rows;
}

bool RowMap::IsExact(std::size_t block) const {
    const BlockRows& rows = blockRows_[block];
    return rows.generation == generation_ && rows.exact && KnownEntry(block).has_value();
}

std::optional<std::uint32_t> RowMap::KnownEntry(std::size_t block) const {
    const BlockRows& rows = blockRows_[block];
    if (block == 0 || store_.Block(block).startsLine) return 0;
    if (rows.entryKnown && rows.entryGeneration == generation_) return rows.entryBack;
    return std::nullopt;
}

std::size_t RowMap::RowCount() {
    if (store_.Empty()) return 1;
    return RowsBefore(store_.BlockCount());
}

const RowMap::Layout& RowMap::LayOut(std::size_t block, bool keep) {
    std::optional<std::uint32_t> entry = KnownEntry(block);
    bool guessed = false;
    if (!entry) {
        // The row that holds the block's start began in an earlier block: lay out from the nearest
        // block whose entry is known, or, in a line of megabytes, guess until Refine() gets here.
        std::size_t from = block;
        while (from > 0 && block - from < kEntrySearchBlocks && !KnownEntry(from)) --from;
        if (KnownEntry(from)) {
            for (std::size_t i = from; i < block; ++i) LayOut(i, false);
            entry = KnownEntry(block);
        }
        if (!entry) {
            entry = 0;
            guessed = true;
        }
    }
    for (std::size_t i = 0; i < kept_.size(); ++i) {
        const Layout& k = kept_[i];
        if (k.key == blockRows_[block].key && k.generation == generation_ && k.entryBack == *entry &&
            k.guessed == guessed) {
            std::rotate(kept_.begin() + static_cast<std::ptrdiff_t>(i),
                        kept_.begin() + static_cast<std::ptrdiff_t>(i) + 1, kept_.end());
            Record(block, kept_.back());
            return kept_.back();
        }
    }
    Layout layout = Scan(block, *entry, guessed);
    Record(block, layout);
    if (!keep && !kept_.empty()) {
        // A layout made only for its counts replaces the oldest kept one for the moment.
        kept_.front() = std::move(layout);
        return kept_.front();
    }
    if (kept_.size() >= kKeptLayouts) kept_.erase(kept_.begin());
    kept_.push_back(std::move(layout));
    return kept_.back();
}

RowMap::Layout RowMap::Scan(std::size_t block, std::uint32_t entryBack, bool guessed) {
    const TextBlock& b = store_.Block(block);
    const std::size_t blockStart = b.start;
    const std::size_t blockSize = b.size;
    const std::uint64_t key = blockRows_[block].key;
    const bool last = block + 1 == store_.BlockCount();
    const std::size_t from = blockStart - entryBack;
    const std::size_t to =
        std::min(store_.Size(), blockStart + blockSize + static_cast<std::size_t>(columns_) + kRowLookPast);
    const std::string window = store_.Read(from, to);

    Layout layout;
    layout.key = key;
    layout.generation = generation_;
    layout.entryBack = entryBack;
    layout.guessed = guessed;
    const std::size_t stopAt = last ? kTextEnd : entryBack + blockSize;
    std::size_t lastStart = 0;
    const std::size_t next =
        ScanRows(window, to == store_.Size(), 0, stopAt, columns_, [&](std::size_t start, std::size_t end) {
            lastStart = start;
            if (start < entryBack) {
                layout.entryRow = {start, end};
            } else {
                layout.rows.emplace_back(static_cast<std::uint32_t>(start - entryBack),
                                         static_cast<std::uint32_t>(end - entryBack));
            }
        });

    // Where the next block's first row began, for laying that block out on its own.
    if (!last) layout.exitBack = next == stopAt ? 0 : static_cast<std::uint32_t>(stopAt - lastStart);
    return layout;
}

void RowMap::Record(std::size_t block, const Layout& layout) {
    BlockRows& rows = blockRows_[block];
    rows.count = static_cast<std::uint32_t>(layout.rows.size());
    rows.generation = generation_;
    rows.exact = !layout.guessed;
    if (layout.guessed || block + 1 >= store_.BlockCount() || store_.Block(block + 1).startsLine) return;
    BlockRows& after = blockRows_[block + 1];
    const bool same = after.entryKnown && after.entryGeneration == generation_ && after.entryBack == layout.exitBack;
    if (same) return;
    after.entryBack = layout.exitBack;
    after.entryKnown = true;
    after.entryGeneration = generation_;
    after.exact = false;
}

TextRow RowMap::Absolute(std::size_t block, const Layout& layout, std::size_t row) const {
    const std::size_t start = store_.Block(block).start;
    return {start + layout.rows[row].first, start + layout.rows[row].second};
}

TextRow RowMap::RowAt(std::size_t offset) {
    if (store_.Empty()) return {0, 0};
    offset = std::min(offset, store_.Size());
    const std::size_t block = store_.BlockOf(offset);
    const Layout& layout = LayOut(block);
    const std::size_t inBlock = RowsStartingBy(layout, offset - store_.Block(block).start);
    if (inBlock == 0) {
        const std::size_t base = store_.Block(block).start - layout.entryBack;
        return {base + layout.entryRow.start, base + layout.entryRow.end};
    }
    return Absolute(block, layout, inBlock - 1);
}

std::size_t RowMap::RowIndexOf(std::size_t offset) {
    if (store_.Empty()) return 0;
    offset = std::min(offset, store_.Size());
    const std::size_t block = store_.BlockOf(offset);
    const Layout& layout = LayOut(block);
    const std::size_t inBlock = RowsStartingBy(layout, offset - store_.Block(block).start);
    const std::size_t before = RowsBefore(block);
    // Before the block's first row the offset lies in the row that began in an earlier block.
    return inBlock == 0 ? (before > 0 ? before - 1 : 0) : before + inBlock - 1;
}

TextRow RowMap::RowAtIndex(std::size_t index) {
    if (store_.Empty()) return {0, 0};
    std::size_t before = 0;
    const std::size_t blocks = store_.BlockCount();
    for (std::size_t block = 0; block < blocks; ++block) {
        const std::size_t rows = RowsIn(block);
        if (index < before + rows || block + 1 == blocks) {
            const Layout& layout = LayOut(block);
            if (layout.rows.empty()) return RowAt(store_.Block(block).start);
            return Absolute(block, layout, std::min(index - std::min(index, before), layout.rows.size() - 1));
        }
        before += rows;
    }
    return {0, 0};
}

std::optional<TextRow> RowMap::NextRow(TextRow row) {
    if (store_.Empty()) return std::nullopt;
    std::size_t block = store_.BlockOf(row.start);
    {
        const Layout& layout = LayOut(block);
        const std::size_t following =
            RowsStartingBy(layout, row.start - std::min(row.start, store_.Block(block).start));
        if (following < layout.rows.size()) return Absolute(block, layout, following);
    }
    for (++block; block < store_.BlockCount(); ++block) {
        const Layout& layout = LayOut(block);
        if (!layout.rows.empty()) return Absolute(block, layout, 0);
    }
    return std::nullopt;
}

std::optional<TextRow> RowMap::PreviousRow(TextRow row) {
    if (store_.Empty() || row.start == 0) return std::nullopt;
    std::size_t block = store_.BlockOf(row.start - 1) + 1;
    while (block-- > 0) {
        const Layout& layout = LayOut(block);
        const std::size_t start = store_.Block(block).start;
        for (std::size_t i = layout.rows.size(); i-- > 0;) {
            if (start + layout.rows[i].first < row.start) return Absolute(block, layout, i);
        }
    }
    return std::nullopt;
}

bool RowMap::Refine(std::size_t byteBudget) {
    if (refineVersion_ != store_.Version()) {
        refineVersion_ = store_.Version();
        refineFrom_ = 0;
    }
    std::size_t spent = 0;
    while (refineFrom_ < store_.BlockCount()) {
        if (!IsExact(refineFrom_)) {
            if (spent >= byteBudget) return true;
            spent += store_.Block(refineFrom_).size;
            LayOut(refineFrom_, false);
            refineVersion_ = store_.Version();
            if (!IsExact(refineFrom_)) return true;  // the text changed under it
        }
        ++refineFrom_;
    }
    return false;
}

bool RowMap::Exact() {
    for (std::size_t i = 0; i < store_.BlockCount(); ++i) {
        if (!IsExact(i)) return false;
    }
    return true;
}

}  // namespace core
