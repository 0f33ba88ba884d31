#pragma once

#include "byte_source.h"

#include <atomic>
#include <cstdint>
#include <optional>

namespace devsim {

struct PacingSettings {
    std::optional<std::uint64_t> bytesPerSecond;  // empty: as fast as the output takes
    std::size_t chunkBytes = 1;
    std::optional<std::uint64_t> byteLimit;
};

enum class RunOutcome { Finished, Stopped, PeerGone, Failed };

struct RunResult {
    RunOutcome outcome;
    std::uint64_t bytesWritten = 0;
    int error = 0;  // errno for PeerGone and Failed
};

// Moves the source's bytes to `fd` in chunks at the line's pace until the
// source ends, the limit is reached, a stop is requested or a write fails.
RunResult RunPacedWriter(ByteSource& source, int fd, const PacingSettings& settings,
                         const std::atomic<bool>& stopRequested);

}  // namespace devsim
