#include "core/file_work.h"

#include <algorithm>

namespace core {

FileWork::FileWork(std::uint64_t totalBytes, double startedMs) noexcept
    : totalBytes_(totalBytes), startedMs_(startedMs), sliceStartedMs_(startedMs), shownMs_(startedMs) {}

bool FileWork::Did(std::uint64_t bytes, double nowMs) noexcept {
    doneBytes_ += bytes;
    return nowMs - sliceStartedMs_ >= kSliceMilliseconds;
}

bool FileWork::ShowingDue(double nowMs) noexcept {
    if (nowMs - shownMs_ < kShowEveryMilliseconds) return false;
    shownMs_ = nowMs;
    return true;
}

int FileWork::Progress() const noexcept {
    if (totalBytes_ == 0) return kProgressSteps;
    // A file may grow while it is read: the bar stops at its end rather than run past it.
    const std::uint64_t done = std::min(doneBytes_, totalBytes_);
    return static_cast<int>(static_cast<double>(done) * kProgressSteps / static_cast<double>(totalBytes_));
}

std::optional<std::size_t> TextMark::OffsetNow(std::size_t droppedBytes) const noexcept {
    if (sinceFirstByte_ < droppedBytes) return std::nullopt;
    return sinceFirstByte_ - droppedBytes;
}

std::size_t TextMark::StartNow(std::size_t droppedBytes) const noexcept { return OffsetNow(droppedBytes).value_or(0); }

}  // namespace core
