#include "core/offset_anchors.h"

#include <algorithm>

namespace core {

void OffsetAnchors::Add(std::size_t* offset) { offsets_.push_back(offset); }

void OffsetAnchors::Remove(std::size_t* offset) noexcept {
    offsets_.erase(std::remove(offsets_.begin(), offsets_.end(), offset), offsets_.end());
}

void OffsetAnchors::Edited(std::size_t from, std::size_t removed, std::size_t inserted) noexcept {
    for (std::size_t* offset : offsets_) {
        if (*offset >= from + removed) {
            *offset = *offset - removed + inserted;
        } else if (*offset > from) {
            *offset = from;
        }
    }
}

void OffsetAnchors::Dropped(std::size_t bytes) noexcept {
    for (std::size_t* offset : offsets_) *offset = *offset > bytes ? *offset - bytes : 0;
}

void OffsetAnchors::Reset() noexcept {
    for (std::size_t* offset : offsets_) *offset = 0;
}

}  // namespace core
