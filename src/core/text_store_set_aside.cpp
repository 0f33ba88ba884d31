// A cleared text kept aside, so that the Clear can be taken back.
#include "core/text_store.h"

#include <utility>

namespace core {

void TextStore::SetAside() {
    // Read first, since it may fail: the text's end tells whether what follows it begins a line.
    std::string tail = TwoBytesBefore(size_);
    ForgetSetAside();
    setAsideTail_ = std::move(tail);
    setAside_.swap(blocks_);
    setAsideSize_ = size_;
    size_ = 0;
    // The page file holds it where there is one; without, it stays in memory until memory is short.
    for (TextBlock& block : setAside_) {
        if (!block.resident) continue;
        try {
            if (!PageOut(block)) break;
        } catch (...) {
            break;
        }
    }
    Changed(0, 0, 0);
}

std::size_t TextStore::RestoreSetAside() {
    if (setAside_.empty()) return 0;
    const std::size_t kept = blocks_.size();
    const char firstByte = kept > 0 ? At(0) : '\0';
    std::vector<TextBlock> result;
    result.reserve(setAside_.size() + kept);
    if (listener_) listener_->Reserve(setAside_.size() + kept);
    // From here on nothing allocates.
    for (TextBlock& block : setAside_) result.push_back(std::move(block));
    for (TextBlock& block : blocks_) result.push_back(std::move(block));
    const std::size_t restored = setAsideSize_;
    const std::size_t firstKept = setAside_.size();
    setAside_.clear();
    setAsideSize_ = 0;
    blocks_.swap(result);
    size_ += restored;
    Renumber(0);
    if (kept > 0) {
        // What arrived since began the text; now it follows the restored text, which may not have
        // ended a line (and a one-byte block after it may complete a CR LF for the next).
        blocks_[firstKept].startsLine = setAsideTail_ == "\r\n";
        if (blocks_[firstKept].size == 1 && firstKept + 1 < blocks_.size()) {
            blocks_[firstKept + 1].startsLine = setAsideTail_.ends_with('\r') && firstByte == '\n';
        }
    }
    Changed(0, kept, 0);
    EnforceLimitsAfterChange();
    return restored;
}

void TextStore::ForgetSetAside() noexcept {
    for (TextBlock& block : setAside_) {
        Release(block);
        ForgetPage(block);
    }
    setAside_.clear();
    setAsideSize_ = 0;
}

}  // namespace core
