#include "core/page_file.h"

#include <iterator>

namespace core {

PageExtent PageSpace::Take(std::uint64_t size) {
    for (auto it = free_.begin(); it != free_.end(); ++it) {
        if (it->second < size) continue;
        const PageExtent taken{it->first, size};
        const std::uint64_t rest = it->second - size;
        free_.erase(it);
        if (rest != 0) free_.emplace(taken.position + size, rest);
        return taken;
    }
    const PageExtent taken{length_, size};
    length_ += size;
    return taken;
}

void PageSpace::Give(PageExtent extent) {
    if (extent.size == 0) return;
    auto next = free_.lower_bound(extent.position);
    if (next != free_.end() && extent.position + extent.size == next->first) {
        extent.size += next->second;
        next = free_.erase(next);
    }
    if (next != free_.begin()) {
        const auto previous = std::prev(next);
        if (previous->first + previous->second == extent.position) {
            extent.position = previous->first;
            extent.size += previous->second;
            free_.erase(previous);
        }
    }
    if (extent.position + extent.size == length_) {
        length_ = extent.position;
    } else {
        free_.emplace(extent.position, extent.size);
    }
}

void PageSpace::Reset() {
    free_.clear();
    length_ = 0;
}

}  // namespace core
