#include "core/text_store.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace core {
namespace {

bool EndsWithCrLf(std::string_view before2, std::string_view bytes, std::size_t count) {
    // Whether the bytes before2 + bytes[0, count) end with CR LF.
    if (count >= 2) return bytes[count - 2] == '\r' && bytes[count - 1] == '\n';
    if (count == 1) return bytes[0] == '\n' && !before2.empty() && before2.back() == '\r';
    return before2.size() >= 2 && before2.substr(before2.size() - 2) == "\r\n";
}

// How many of `bytes` still belong to a block that holds `blockSize` bytes ending in `tail` (its
// last two bytes at most): up to the target, then on to the first line end, at most to the most
// a block holds. All of them when the block may still grow after them.
std::size_t BytesForBlock(const StoreLimits& limits, std::string_view tail, std::size_t blockSize,
                          std::string_view bytes) {
    const std::size_t need = blockSize < limits.blockTargetBytes ? limits.blockTargetBytes - blockSize : 0;
    const std::size_t most = blockSize < limits.blockMostBytes ? limits.blockMostBytes - blockSize : 0;
    if (need >= bytes.size()) return bytes.size();
    if (EndsWithCrLf(tail, bytes, need)) return need;
    const std::size_t searchEnd = std::min(bytes.size(), most);
    for (std::size_t at = bytes.find('\n', need); at != std::string_view::npos && at < searchEnd;
         at = bytes.find('\n', at + 1)) {
        if (EndsWithCrLf(tail, bytes, at + 1)) return at + 1;
    }
    return most <= bytes.size() ? most : bytes.size();
}

std::uint32_t CountLineFeeds(std::string_view bytes) {
    return static_cast<std::uint32_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

std::string_view LastTwo(std::string_view bytes) { return bytes.substr(bytes.size() > 2 ? bytes.size() - 2 : 0); }

}  // namespace

TextStore::TextStore(PageFileOpener openPageFile, StoreLimits limits)
    : openPageFile_(std::move(openPageFile)), limits_(limits) {}

std::string TextStore::TwoBytesBefore(std::size_t offset) {
    std::string before;
    for (std::size_t at = offset >= 2 ? offset - 2 : 0; at < offset; ++at) before += At(at);
    return before;
}

std::vector<TextBlock> TextStore::MakeBlocks(std::string_view bytes, std::size_t start, bool startsLine,
                                             std::string before) {
    std::vector<TextBlock> made;
    while (!bytes.empty()) {
        const std::size_t count = BytesForBlock(limits_, {}, 0, bytes);
        TextBlock block;
        block.start = start;
        block.size = count;
        block.bytes.assign(bytes.substr(0, count));
        block.lineFeeds = CountLineFeeds(block.bytes);
        block.startsLine = made.empty() ? startsLine : EndsWithCrLf(before, {}, 0);
        before =
            block.bytes.size() >= 2 ? std::string(LastTwo(block.bytes)) : std::string(LastTwo(before + block.bytes));
        made.push_back(std::move(block));
        start += count;
        bytes.remove_prefix(count);
    }
    return made;
}

void TextStore::Append(std::string_view bytes) {
    if (bytes.empty()) return;
    std::size_t intoLast = 0;
    std::string tail;
    if (!blocks_.empty()) {
        TextBlock& last = blocks_.back();
        tail = TwoBytesBefore(size_);
        intoLast = BytesForBlock(limits_, tail, last.size, bytes);
    }
    // Everything that can fail comes first: the new blocks, room for them, the last block's growth.
    const std::string_view rest = bytes.substr(intoLast);
    const std::string restBefore(LastTwo(tail + std::string(LastTwo(bytes.substr(0, intoLast)))));
    std::vector<TextBlock> made =
        MakeBlocks(rest, size_ + intoLast, blocks_.empty() || EndsWithCrLf(restBefore, {}, 0), restBefore);
    // Room that grows by doubling, or every new block would move all the others.
    const std::size_t newCount = blocks_.size() + made.size();
    if (newCount > blocks_.capacity()) blocks_.reserve(std::max(newCount, 2 * blocks_.capacity()));
    if (listener_) listener_->Reserve(newCount);
    const std::size_t oldEnd = size_;
    const std::size_t keptFront = blocks_.size() - (intoLast > 0 ? 1 : 0);
    if (intoLast > 0) {
        TextBlock& last = blocks_.back();
        last.bytes.append(bytes.substr(0, intoLast));
        ForgetPage(last);
        last.size += intoLast;
        last.lineFeeds += CountLineFeeds(bytes.substr(0, intoLast));
        residentBytes_ += intoLast;
    }
    for (TextBlock& block : made) {
        Touch(block);
        residentBytes_ += block.size;
        blocks_.push_back(std::move(block));
    }
    size_ += bytes.size();
    Changed(keptFront, 0, oldEnd);
    EnforceLimitsAfterChange();
}

void TextStore::Replace(std::size_t from, std::size_t to, std::string_view bytes) {
    to = std::min(to, size_);
    from = std::min(from, to);
    if (from == to && bytes.empty()) return;
    if (from == size_) {
        Append(bytes);
        return;
    }
    const std::size_t first = BlockOf(from);
    const std::size_t last = to > from ? BlockOf(to - 1) : first;
    std::string content;
    content.reserve((from - blocks_[first].start) + bytes.size() + (blocks_[last].start + blocks_[last].size - to));
    content.append(Resident(first).substr(0, from - blocks_[first].start));
    content.append(bytes);
    content.append(Resident(last).substr(to - blocks_[last].start));
    const std::string beforeFirst = TwoBytesBefore(blocks_[first].start);
    std::vector<TextBlock> made = MakeBlocks(content, blocks_[first].start, blocks_[first].startsLine, beforeFirst);
    const LineStarts followers =
        LineStartsAfter(last + 1, std::string(LastTwo(beforeFirst + std::string(LastTwo(content)))),
                        blocks_[first].start == 0 && content.empty());
    const std::size_t keptBack = blocks_.size() - 1 - last;

    const std::size_t newCount = blocks_.size() - (last - first + 1) + made.size();
    std::vector<TextBlock> result;
    result.reserve(newCount);
    if (listener_) listener_->Reserve(newCount);
    // From here on nothing allocates: the blocks move into place.
    std::vector<TextBlock> removed;
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        if (i == first) {
            for (TextBlock& block : made) {
                Touch(block);
                residentBytes_ += block.size;
                result.push_back(std::move(block));
            }
        }
        if (i >= first && i <= last) {
            Release(blocks_[i]);
            ForgetPage(blocks_[i]);
            continue;
        }
        result.push_back(std::move(blocks_[i]));
    }
    blocks_.swap(result);
    size_ = size_ - (to - from) + bytes.size();
    Renumber(first);
    for (std::size_t i = 0; i < followers.count; ++i)
        blocks_[first + made.size() + i].startsLine = followers.startsLine[i];
    Changed(first, keptBack, from);
    EnforceLimitsAfterChange();
}

void TextStore::Clear() noexcept {
    setAside_.clear();
    setAsideSize_ = 0;
    blocks_.clear();
    size_ = 0;
    residentBytes_ = 0;
    pageSpace_.Reset();
    // A full disk may have room again once the old pages are given back.
    if (pageFile_) pagingFailed_ = false;
    fullNoticeGiven_ = false;
    Changed(0, 0, 0);
}

std::string TextStore::Read(std::size_t from, std::size_t to) {
    to = std::min(to, size_);
    std::string out;
    if (from >= to) return out;
    out.reserve(to - from);
    ForEachPiece(from, to, [&](std::string_view piece) {
        out.append(piece);
        return true;
    });
    return out;
}

bool TextStore::ForEachPiece(std::size_t from, std::size_t to, const std::function<bool(std::string_view)>& piece) {
    to = std::min(to, size_);
    if (from >= to) return true;
    for (std::size_t i = BlockOf(from); i < blocks_.size() && blocks_[i].start < to; ++i) {
        const TextBlock& block = blocks_[i];
        const std::size_t begin = std::max(from, block.start) - block.start;
        const std::size_t end = std::min(to, block.start + block.size) - block.start;
        const bool goOn = piece(Resident(i).substr(begin, end - begin));
        Trim();
        if (!goOn) return false;
    }
    return true;
}

bool TextStore::ScanPieces(std::size_t from, std::size_t to, const std::function<bool(std::string_view)>& piece) {
    to = std::min(to, size_);
    if (from >= to) return true;
    // Paged blocks [bufferedFrom, bufferedTo) are in the buffer, read together.
    std::size_t bufferedFrom = 0, bufferedTo = 0;
    for (std::size_t i = BlockOf(from); i < blocks_.size() && blocks_[i].start < to; ++i) {
        const TextBlock& block = blocks_[i];
        const std::size_t begin = std::max(from, block.start) - block.start;
        const std::size_t end = std::min(to, block.start + block.size) - block.start;
        std::string_view bytes = block.bytes;
        if (!block.resident) {
            if (i >= bufferedTo) {
                bufferedFrom = i;
                bufferedTo = ReadPagesFrom(i, to);
            }
            const std::size_t at = block.page->position - blocks_[bufferedFrom].page->position;
            bytes = std::string_view(scanBuffer_.data() + at, block.size);
        }
        if (!piece(bytes.substr(begin, end - begin))) return false;
    }
    return true;
}

char TextStore::At(std::size_t offset) {
    const std::size_t index = BlockOf(offset);
    return Resident(index)[offset - blocks_[index].start];
}

std::size_t TextStore::BlockOf(std::size_t offset) const {
    if (blocks_.empty()) return 0;
    const auto after = std::upper_bound(blocks_.begin(), blocks_.end(), offset,
                                        [](std::size_t value, const TextBlock& block) { return value < block.start; });
    return after == blocks_.begin() ? 0 : static_cast<std::size_t>(after - blocks_.begin()) - 1;
}

StoreNotices TextStore::TakeNotices() noexcept { return std::exchange(notices_, StoreNotices{}); }

void TextStore::Trim() {
    if (residentBytes_ > limits_.residentBytes) PageOutColdBlocks();
}

std::string_view TextStore::Resident(std::size_t index) {
    TextBlock& block = blocks_[index];
    Touch(block);
    if (block.resident) return block.bytes;
    std::string bytes(block.size, '\0');
    ReadPage(block, bytes.data());
    block.bytes = std::move(bytes);
    block.resident = true;
    residentBytes_ += block.size;
    return block.bytes;
}

std::size_t TextStore::ReadPagesFrom(std::size_t first, std::size_t to) {
    // The blocks after it that follow it in the page file as in the text come with it, in one read:
    // reading the page file a block at a time costs a system call for every 128 KB.
    constexpr std::size_t kScanReadBytes = 1u << 20;
    const std::uint64_t position = blocks_[first].page->position;
    std::size_t bytes = blocks_[first].size;
    std::size_t last = first + 1;
    for (; last < blocks_.size() && blocks_[last].start < to && !blocks_[last].resident; ++last) {
        const TextBlock& next = blocks_[last];
        if (next.page->position != position + bytes || bytes + next.size > kScanReadBytes) break;
        bytes += next.size;
    }
    if (scanBuffer_.size() < bytes) scanBuffer_.resize(bytes);
    if (!pageFile_ || !pageFile_->ReadAt(position, scanBuffer_.data(), bytes)) {
        throw PageReadError("a block of the text could not be read back from the page file");
    }
    return last;
}

void TextStore::ReadPage(const TextBlock& block, char* into) const {
    if (!pageFile_ || !pageFile_->ReadAt(block.page->position, into, block.size)) {
        throw PageReadError("a block of the text could not be read back from the page file");
    }
}

void TextStore::Changed(std::size_t keptFront, std::size_t keptBack, std::size_t changedAt) noexcept {
    ++version_;
    if (listener_) listener_->BlocksChanged({keptFront, keptBack, changedAt});
}

TextStore::LineStarts TextStore::LineStartsAfter(std::size_t next, std::string tail, bool atTextStart) {
    // Whether a block begins a line is told by the two bytes before it, so after an edit it may
    // change for the next block, and for the one after that when the next holds a single byte.
    LineStarts starts;
    for (std::size_t i = next; i < blocks_.size() && starts.count < 2; ++i) {
        starts.startsLine[starts.count++] = atTextStart || tail == "\r\n";
        if (blocks_[i].size > 1) break;
        tail = std::string(LastTwo(tail + At(blocks_[i].start)));
        atTextStart = false;
    }
    return starts;
}

void TextStore::Renumber(std::size_t fromBlock) noexcept {
    for (std::size_t i = fromBlock; i < blocks_.size(); ++i) {
        blocks_[i].start = i == 0 ? 0 : blocks_[i - 1].start + blocks_[i - 1].size;
    }
}

void TextStore::ForgetPage(TextBlock& block) noexcept {
    if (block.page) pageSpace_.Give(*block.page);
    block.page.reset();
}

void TextStore::Release(TextBlock& block) noexcept {
    if (!block.resident) return;
    residentBytes_ -= block.size;
    std::string().swap(block.bytes);
    block.resident = false;
}

bool TextStore::OpenPageFile() {
    if (pageFile_) return !pagingFailed_;
    if (pagingFailed_) return false;
    if (openPageFile_) pageFile_ = openPageFile_();
    if (!pageFile_) pagingFailed_ = true;
    return pageFile_ != nullptr;
}

bool TextStore::PageOut(TextBlock& block) {
    if (!block.page) {
        if (!OpenPageFile()) return false;
        const PageExtent extent = pageSpace_.Take(block.size);
        if (!pageFile_->WriteAt(extent.position, block.bytes)) {
            // The disk is full or gone: what is not written stays in memory from now on.
            pageSpace_.Give(extent);
            pagingFailed_ = true;
            return false;
        }
        block.page = extent;
    }
    Release(block);
    return true;
}

void TextStore::DropOldest(std::size_t bytesToDrop) {
    std::size_t count = 0;
    std::size_t dropped = 0;
    // Whole blocks, and on to the next line's start where one comes soon, so whole lines leave.
    while (count + 1 < blocks_.size() && dropped < bytesToDrop) dropped += blocks_[count++].size;
    for (int extra = 0; count + 1 < blocks_.size() && !blocks_[count].startsLine && extra < 16; ++extra) {
        dropped += blocks_[count++].size;
    }
    if (count == 0) return;
    // Text kept aside could come back only before a gap.
    ForgetSetAside();
    for (std::size_t i = 0; i < count; ++i) {
        Release(blocks_[i]);
        ForgetPage(blocks_[i]);
    }
    blocks_.erase(blocks_.begin(), blocks_.begin() + static_cast<std::ptrdiff_t>(count));
    blocks_[0].startsLine = true;
    // After a first block of one byte no CR LF can come before the second.
    if (blocks_.size() > 1 && blocks_[0].size == 1) blocks_[1].startsLine = false;
    size_ -= dropped;
    droppedBytes_ += dropped;
    Renumber(0);
    notices_.linesDropped = true;
    Changed(0, blocks_.size(), 0);
}

void TextStore::PageOutColdBlocks() {
    // The last block is where reception adds: it stays.
    while (residentBytes_ > limits_.residentBytes && !pagingFailed_) {
        TextBlock* coldest = nullptr;
        for (std::size_t i = 0; i + 1 < blocks_.size(); ++i) {
            TextBlock& block = blocks_[i];
            if (block.resident && (!coldest || block.lastUse < coldest->lastUse)) coldest = &block;
        }
        if (!coldest || !PageOut(*coldest)) break;
    }
}

void TextStore::EnforceLimitsAfterChange() noexcept {
    // The change itself is made; making room afterwards is tried again after the next change when
    // it fails here, so the change is never reported as failed.
    try {
        EnforceLimits();
    } catch (...) {
    }
}

void TextStore::EnforceLimits() {
    if (size_ > limits_.maxTextBytes) DropOldest(size_ - limits_.maxTextBytes / 16 * 15);
    PageOutColdBlocks();
    if (!pagingFailed_) return;
    // Without a page file the text stays in memory: warn once well before the end, and make room
    // at the limit rather than run out of memory.
    if (residentBytes_ > limits_.memoryBytes / 4 * 3 && !fullNoticeGiven_) {
        fullNoticeGiven_ = true;
        notices_.full = true;
    }
    // Text kept aside for undo goes before any text the user still sees.
    if (residentBytes_ > limits_.memoryBytes) ForgetSetAside();
    while (residentBytes_ > limits_.memoryBytes && blocks_.size() > 1) {
        const std::size_t before = size_;
        DropOldest(residentBytes_ - limits_.memoryBytes / 16 * 15);
        if (size_ == before) break;
    }
}

}  // namespace core
