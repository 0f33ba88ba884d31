// Offsets into the text that must stay on the same text while it changes: the caret and the
// selection's anchor, the top of the view, a match being shown, the ends of a screen reader's range.
// The document moves every one of them, here and nowhere else, when bytes are edited or the oldest
// lines leave a full text.
#pragma once

#include <cstddef>
#include <vector>

namespace core {

class OffsetAnchors {
public:
    OffsetAnchors() = default;
    OffsetAnchors(const OffsetAnchors&) = delete;
    OffsetAnchors& operator=(const OffsetAnchors&) = delete;

    // The owner keeps `offset` alive until it is removed again.
    void Add(std::size_t* offset);
    void Remove(std::size_t* offset) noexcept;

    // [from, from + removed) became `inserted` bytes: offsets after it move with the text behind
    // it, offsets inside it go to its start.
    void Edited(std::size_t from, std::size_t removed, std::size_t inserted) noexcept;
    // The first `bytes` of the text left it.
    void Dropped(std::size_t bytes) noexcept;
    // The text was emptied or replaced whole.
    void Reset() noexcept;

private:
    std::vector<std::size_t*> offsets_;
};

}  // namespace core
