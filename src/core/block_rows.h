// What the row map keeps per block of the text, in a table kept in step with the store's blocks:
// blocks added at the end, replaced by an edit and dropped from the front all find their rows at
// the same index as the block. The table decides itself which blocks are laid out again after a
// change of the text.
#pragma once

#include "core/text_store.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace core {

struct BlockRows {
    std::uint64_t key = 0;         // new whenever the block must be laid out anew
    std::uint32_t count = 0;       // rows that start in the block: exact, or an estimate
    std::uint32_t generation = 0;  // the layout generation `count` belongs to; 0: none yet
    bool exact = false;
    bool startsLine = true;       // the block's own as the rows last saw it
    bool entryKnown = false;      // whether entryBack holds for the layout generation
    std::uint32_t entryBack = 0;  // how far before the block's start its first row began
    std::uint32_t entryGeneration = 0;
};

class BlockRowTable final : public BlockListener {
public:
    // Listens to the store from now on, its blocks so far without rows yet.
    explicit BlockRowTable(TextStore& store);
    ~BlockRowTable() { store_.Listen(nullptr); }
    BlockRowTable(const BlockRowTable&) = delete;
    BlockRowTable& operator=(const BlockRowTable&) = delete;

    BlockRows& operator[](std::size_t block) { return rows_[block]; }
    const BlockRows& operator[](std::size_t block) const { return rows_[block]; }

    void Reserve(std::size_t blockCount) override;
    // The new blocks have no rows yet; the blocks before the change whose rows may reach it are
    // laid out again, and so are the blocks after it whose first row may have begun in it.
    void BlocksChanged(const BlockChange& change) noexcept override;

private:
    void Fresh(std::size_t block) noexcept;
    void RelayOutBefore(std::size_t block, std::size_t changedAt) noexcept;
    void RecheckAfter(std::size_t block) noexcept;

    TextStore& store_;
    std::vector<BlockRows> rows_;
    std::uint64_t nextKey_ = 1;
};

}  // namespace core
