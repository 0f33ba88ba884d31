// The text area's bytes, kept in blocks of about a hundred kilobytes rather than in one piece, so
// that no operation needs one allocation the size of the text: appending touches the last block,
// an edit the blocks it covers. Blocks end after a line break where the text has one, so most
// blocks lay out on their own. Blocks not used lately go to a page file once the resident ones
// pass a budget, and come back when they are read.
//
// When no page file can be had, the text stays in memory: past a share of the memory limit the
// owner is told once that the text area is full, and at the limit (or at the largest text the
// offsets can address) the oldest lines leave the text.
#pragma once

#include "core/page_file.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace core {

struct TextBlock {
    std::size_t start = 0;
    std::size_t size = 0;
    std::uint32_t lineFeeds = 0;
    bool startsLine = true;  // the text's start, or right after a CR LF
    bool resident = true;
    std::string bytes;               // the bytes while resident
    std::optional<PageExtent> page;  // a copy in the page file, valid while the bytes stay
    std::uint64_t lastUse = 0;
};

// How the blocks changed: the first `keptFront` blocks and the last `keptBack` are the blocks they
// were, with the same bytes, and every block between them is new. No byte before `changedAt`
// changed (with no kept front the offsets may all have moved). The first block after the new ones
// may begin a line where it did not, or the reverse.
struct BlockChange {
    std::size_t keptFront = 0;
    std::size_t keptBack = 0;
    std::size_t changedAt = 0;
};

// Whoever keeps something per block, told of every change of the blocks as it happens.
class BlockListener {
public:
    // Room for `blockCount` blocks, before a change that may leave that many. When it throws, the
    // change does not happen.
    virtual void Reserve(std::size_t blockCount) = 0;
    // After the change, with the blocks as it left them.
    virtual void BlocksChanged(const BlockChange& change) noexcept = 0;

protected:
    ~BlockListener() = default;
};

// A block that went to the page file could not be read back (the disk failed under it).
class PageReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct StoreLimits {
    // A block closes at the first line end after the target, or at the most a line without end
    // may fill.
    std::size_t blockTargetBytes = 128u << 10;
    std::size_t blockMostBytes = 160u << 10;
    std::size_t residentBytes = 48u << 20;   // resident blocks beyond this go to the page file
    std::size_t memoryBytes = 768u << 20;    // without a page file: the most text kept in memory
    std::size_t maxTextBytes = 3072u << 20;  // the most text at all: offsets are 32 bits wide
};

// What happened to the text that the user should hear about. Each is reported once.
struct StoreNotices {
    bool full = false;          // no page file; memory fills: save and clear
    bool linesDropped = false;  // the oldest lines left the text
};

class TextStore {
public:
    using PageFileOpener = std::function<std::unique_ptr<PageFile>()>;

    explicit TextStore(PageFileOpener openPageFile = {}, StoreLimits limits = {});

    std::size_t Size() const noexcept { return size_; }
    bool Empty() const noexcept { return size_ == 0; }

    // Adds at the end. All or nothing: when it throws, the text is as it was.
    void Append(std::string_view bytes);
    // Replaces [from, to) by `bytes`. All or nothing as well.
    void Replace(std::size_t from, std::size_t to, std::string_view bytes);
    void Clear() noexcept;
    // Empties the text but keeps its blocks aside (in the page file where there is one), so that
    // RestoreSetAside() can put them back before whatever was added since. Kept until the next
    // SetAside or Clear, until the oldest lines would leave, or until memory runs short without a
    // page file.
    // All or nothing: when it throws, the text is as it was.
    void SetAside();
    // The bytes put back at the front; 0 when nothing was kept aside. All or nothing.
    std::size_t RestoreSetAside();
    void ForgetSetAside() noexcept;
    bool HasSetAside() const noexcept { return !setAside_.empty(); }

    std::string Read(std::size_t from, std::size_t to);
    // Hands [from, to) to `piece` a block at a time, so that a text of any size can be streamed;
    // stops early when `piece` returns false.
    bool ForEachPiece(std::size_t from, std::size_t to, const std::function<bool(std::string_view)>& piece);
    // The same for one pass over much of the text (Find, Save): a block in the page file is read
    // into one buffer of the store's and handed out from there, not made resident, so the pass
    // neither pushes out the blocks in use nor makes and frees a block's memory for each. A piece
    // holds only until `piece` returns.
    bool ScanPieces(std::size_t from, std::size_t to, const std::function<bool(std::string_view)>& piece);
    // The byte at `offset`, which lies before the end.
    char At(std::size_t offset);

    // Blocks, for the row layout.
    std::size_t BlockCount() const noexcept { return blocks_.size(); }
    const TextBlock& Block(std::size_t index) const { return blocks_[index]; }
    // The block that holds `offset`; the last block for the end of the text.
    std::size_t BlockOf(std::size_t offset) const;
    // Counts every change of the bytes, so that layouts can tell theirs is out of date.
    std::uint64_t Version() const noexcept { return version_; }
    // One listener at most; null for none.
    void Listen(BlockListener* listener) noexcept { listener_ = listener; }

    // Bytes dropped from the front so far: offsets held elsewhere move back by the difference.
    std::size_t DroppedBytes() const noexcept { return droppedBytes_; }
    StoreNotices TakeNotices() noexcept;

    // Resident bytes back within the budget (or the memory limit enforced) after reading.
    void Trim();

    std::size_t ResidentBytes() const noexcept { return residentBytes_; }
    bool Paging() const noexcept { return pageFile_ != nullptr; }
    bool PagingFailed() const noexcept { return pagingFailed_; }

private:
    std::string_view Resident(std::size_t index);
    void ReadPage(const TextBlock& block, char* into) const;
    // Reads paged block `first` into the scan buffer with those after it that lie next to it in the
    // page file, before `to`; returns the index after the last one read.
    std::size_t ReadPagesFrom(std::size_t first, std::size_t to);
    void Touch(TextBlock& block) noexcept { block.lastUse = ++useClock_; }
    // Blocks of `bytes` from `start` on; `before` is the text's last two bytes before `start`.
    std::vector<TextBlock> MakeBlocks(std::string_view bytes, std::size_t start, bool startsLine, std::string before);
    std::string TwoBytesBefore(std::size_t offset);
    void Renumber(std::size_t fromBlock) noexcept;
    // Whether the blocks from `next` on whose two bytes before them may have been edited begin a
    // line; `tail` is the two bytes before block `next`.
    struct LineStarts {
        std::size_t count = 0;
        bool startsLine[2] = {};
    };
    LineStarts LineStartsAfter(std::size_t next, std::string tail, bool atTextStart);
    // A new version, and how it came about.
    void Changed(std::size_t keptFront, std::size_t keptBack, std::size_t changedAt) noexcept;
    void ForgetPage(TextBlock& block) noexcept;
    void Release(TextBlock& block) noexcept;
    bool PageOut(TextBlock& block);
    bool OpenPageFile();
    void DropOldest(std::size_t bytesToDrop);
    void PageOutColdBlocks();
    void EnforceLimits();
    void EnforceLimitsAfterChange() noexcept;

    PageFileOpener openPageFile_;
    StoreLimits limits_;
    std::unique_ptr<PageFile> pageFile_;
    PageSpace pageSpace_;
    bool pagingFailed_ = false;
    std::vector<TextBlock> blocks_;
    std::vector<TextBlock> setAside_;
    std::size_t setAsideSize_ = 0;
    std::string setAsideTail_;  // its last two bytes
    std::size_t size_ = 0;
    std::size_t residentBytes_ = 0;
    std::size_t droppedBytes_ = 0;
    std::uint64_t useClock_ = 0;
    std::string scanBuffer_;  // paged blocks being scanned
    std::uint64_t version_ = 0;
    BlockListener* listener_ = nullptr;
    bool fullNoticeGiven_ = false;
    StoreNotices notices_;
};

}  // namespace core
