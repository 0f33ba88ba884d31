#include "pacer.h"

#include <algorithm>

namespace devsim {

namespace {

constexpr std::uint64_t kNanosecondsPerSecond = 1'000'000'000;
constexpr std::uint64_t kChunksPerSecond = 50;
constexpr std::size_t kUnpacedChunkBytes = 4096;

}  // namespace

Nanoseconds LineTime(std::uint64_t byteCount, std::uint64_t bytesPerSecond) {
    // Whole seconds and the remainder apart: byteCount * 10^9 alone would
    // overflow after about 18 GB.
    const std::uint64_t wholeSeconds = byteCount / bytesPerSecond;
    const std::uint64_t remainder = byteCount % bytesPerSecond;
    const std::uint64_t fraction = (remainder * kNanosecondsPerSecond + bytesPerSecond - 1) / bytesPerSecond;
    return Nanoseconds{static_cast<long long>(wholeSeconds * kNanosecondsPerSecond + fraction)};
}

std::size_t DefaultChunkBytes(std::optional<std::uint64_t> bytesPerSecond) {
    if (!bytesPerSecond) {
        return kUnpacedChunkBytes;
    }
    return static_cast<std::size_t>(std::max<std::uint64_t>(1, *bytesPerSecond / kChunksPerSecond));
}

Pacer::Pacer(std::uint64_t bytesPerSecond, Nanoseconds start) : m_bytesPerSecond(bytesPerSecond), m_start(start) {}

Nanoseconds Pacer::DueTime(std::uint64_t totalAfterWrite, Nanoseconds now) {
    const Nanoseconds lineTime = LineTime(totalAfterWrite, m_bytesPerSecond);
    if (now - (m_start + lineTime) > kMaxPacingLag) {
        // Restart the line so that this write is due now.
        m_start = now - lineTime;
    }
    return m_start + lineTime;
}

}  // namespace devsim
