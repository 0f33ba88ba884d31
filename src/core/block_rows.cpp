#include "core/block_rows.h"

#include "core/text_layout.h"

#include <algorithm>

namespace core {

BlockRowTable::BlockRowTable(TextStore& store) : store_(store), rows_(store.BlockCount()) {
    for (std::size_t i = 0; i < rows_.size(); ++i) Fresh(i);
    store_.Listen(this);
}

void BlockRowTable::Reserve(std::size_t blockCount) {
    // Doubling, so that appending a block does not move all the others.
    if (blockCount > rows_.capacity()) rows_.reserve(std::max(blockCount, 2 * rows_.capacity()));
}

void BlockRowTable::BlocksChanged(const BlockChange& change) noexcept {
    const std::size_t oldCount = rows_.size();
    const std::size_t newCount = store_.BlockCount();
    const std::size_t front = std::min({change.keptFront, oldCount, newCount});
    const std::size_t back = std::min({change.keptBack, oldCount - front, newCount - front});
    const std::size_t oldMiddle = oldCount - front - back;
    const std::size_t newMiddle = newCount - front - back;
    // The store had the room reserved before it changed: nothing here allocates.
    const auto at = rows_.begin() + static_cast<std::ptrdiff_t>(front);
    if (newMiddle > oldMiddle) {
        rows_.insert(at, newMiddle - oldMiddle, BlockRows{});
    } else {
        rows_.erase(at, at + static_cast<std::ptrdiff_t>(oldMiddle - newMiddle));
    }
    for (std::size_t i = front; i < front + newMiddle; ++i) Fresh(i);
    RelayOutBefore(front, change.changedAt);
    RecheckAfter(front + newMiddle);
}

void BlockRowTable::Fresh(std::size_t block) noexcept {
    rows_[block] = BlockRows{};
    rows_[block].key = nextKey_++;
    rows_[block].startsLine = store_.Block(block).startsLine;
}

void BlockRowTable::RelayOutBefore(std::size_t block, std::size_t changedAt) noexcept {
    // A block's rows are laid out from its bytes and at most kRowReach bytes after them: those
    // that reach the change are laid out again, their counts standing as estimates meanwhile.
    while (block-- > 0) {
        const TextBlock& textBlock = store_.Block(block);
        if (textBlock.start + textBlock.size + kRowReach < changedAt) break;
        rows_[block].exact = false;
        rows_[block].key = nextKey_++;
    }
}

void BlockRowTable::RecheckAfter(std::size_t block) noexcept {
    // A block's first row begins at most a row before its start, so only the blocks soon after
    // the change may have their first row begin in it. A block that began a line and still does
    // keeps its rows.
    const std::size_t changeEnd = block < store_.BlockCount() ? store_.Block(block).start : store_.Size();
    for (; block < store_.BlockCount() && store_.Block(block).start < changeEnd + kRowReach; ++block) {
        if (store_.Block(block).startsLine && rows_[block].startsLine) continue;
        Fresh(block);
    }
}

}  // namespace core
