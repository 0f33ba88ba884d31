#pragma once

#include "monotonic_clock.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace devsim {

// How long `byteCount` bytes take on a line carrying `bytesPerSecond`,
// rounded up so that a schedule built on it is never ahead of the line.
// Exact for any count reachable in practice (bytesPerSecond <= 10^9).
Nanoseconds LineTime(std::uint64_t byteCount, std::uint64_t bytesPerSecond);

// Bytes per write: about a fiftieth of a second of the line, at least one
// byte, so arrival looks like a real line; large writes when unpaced.
std::size_t DefaultChunkBytes(std::optional<std::uint64_t> bytesPerSecond);

// Tells when each write may go out so that the total sent never runs ahead
// of a line started at `start`. Every due time is reckoned from `start`,
// not from the previous write, so late wake-ups do not add up to drift.
class Pacer {
public:
    Pacer(std::uint64_t bytesPerSecond, Nanoseconds start);

    // When the write that brings the total sent to `totalAfterWrite` is due.
    // After a stall (e.g. a reader that stopped reading and blocked the
    // write) the schedule restarts at `now` instead of bursting to catch up,
    // which a real line never does.
    Nanoseconds DueTime(std::uint64_t totalAfterWrite, Nanoseconds now);

private:
    std::uint64_t m_bytesPerSecond;
    Nanoseconds m_start;
};

// How far behind schedule a write may fall before the schedule restarts.
inline constexpr Nanoseconds kMaxPacingLag = std::chrono::milliseconds(500);

}  // namespace devsim
