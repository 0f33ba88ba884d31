// Long work on a file (a save, a load) runs on the window's thread in slices, and the message loop
// runs between them, so that the window repaints, the clock goes on and the port is read. These are
// the rules of that work: when a slice has had its time, when progress is worth showing, how far the
// work has got, and what a cancel takes back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace core {

// A slice ends once it has run this long; the piece of work that ends it takes a few milliseconds
// more, so a slice stays near 50 ms.
inline constexpr double kSliceMilliseconds = 40;
// Work that ends sooner than this shows no progress: a bar that flashes up tells nobody anything.
inline constexpr double kProgressAfterMilliseconds = 500;
// How far the work has got, in thousandths.
inline constexpr int kProgressSteps = 1000;
// The window is painted, and the progress moved, at most this often while the work runs: a paint
// takes the thread from the work, and text that flies past faster is read by nobody.
inline constexpr double kShowEveryMilliseconds = 200;

class FileWork {
public:
    FileWork(std::uint64_t totalBytes, double startedMs) noexcept;

    // `bytes` more are done at `nowMs`. True when the slice has had its time: the message loop
    // should run now, and SliceBegins be called after it.
    bool Did(std::uint64_t bytes, double nowMs) noexcept;
    void SliceBegins(double nowMs) noexcept { sliceStartedMs_ = nowMs; }
    bool ProgressDue(double nowMs) const noexcept { return nowMs - startedMs_ >= kProgressAfterMilliseconds; }
    // Whether the slice that ends at `nowMs` shows the work (the window painted, the progress
    // moved); a slice that does counts as the last one shown.
    bool ShowingDue(double nowMs) noexcept;
    // 0 to kProgressSteps; work of no size is done at once.
    int Progress() const noexcept;

    // Only the user's cancel ends the work early; a cancelled work stays cancelled.
    void Cancel() noexcept { cancelled_ = true; }
    bool Cancelled() const noexcept { return cancelled_; }

private:
    std::uint64_t totalBytes_;
    std::uint64_t doneBytes_ = 0;
    double startedMs_;
    double sliceStartedMs_;
    double shownMs_;
    bool cancelled_ = false;
};

// Offsets into a text whose oldest bytes may leave it while the work runs (a full text drops its
// first lines): kept counted from the text's very first byte, they stay on the same bytes.
class TextMark {
public:
    // `offset` into the text as it is now, after `droppedBytes` have left its front so far.
    TextMark(std::size_t offset, std::size_t droppedBytes) noexcept : sinceFirstByte_(offset + droppedBytes) {}

    // The same byte's offset now; nullopt when it has left the text.
    std::optional<std::size_t> OffsetNow(std::size_t droppedBytes) const noexcept;
    // Where the bytes from the mark on start now: at 0 when some of them have left too. A cancelled
    // load takes back the text from here, and only what it added, whatever left the front meanwhile.
    std::size_t StartNow(std::size_t droppedBytes) const noexcept;
    void Advance(std::size_t bytes) noexcept { sinceFirstByte_ += bytes; }

private:
    std::size_t sinceFirstByte_;
};

}  // namespace core
