#include "paced_writer.h"

#include "output_port.h"
#include "pacer.h"

#include <algorithm>
#include <vector>

namespace devsim {

namespace {

// Sleeps until `due`, waking early only for a stop request.
bool WaitUntilDueOrStop(Nanoseconds due, const std::atomic<bool>& stopRequested) {
    while (!stopRequested.load()) {
        if (MonotonicNow() >= due) {
            return true;
        }
        SleepUntil(due);
    }
    return false;
}

}  // namespace

RunResult RunPacedWriter(ByteSource& source, int fd, const PacingSettings& settings,
                         const std::atomic<bool>& stopRequested) {
    std::vector<std::uint8_t> chunk(std::max<std::size_t>(1, settings.chunkBytes));
    std::optional<Pacer> pacer;
    if (settings.bytesPerSecond) {
        pacer.emplace(*settings.bytesPerSecond, MonotonicNow());
    }

    RunResult result{RunOutcome::Finished};
    while (!stopRequested.load()) {
        std::size_t wanted = chunk.size();
        if (settings.byteLimit) {
            wanted =
                static_cast<std::size_t>(std::min<std::uint64_t>(wanted, *settings.byteLimit - result.bytesWritten));
        }
        const std::size_t got = wanted == 0 ? 0 : source.Read(std::span(chunk).first(wanted));
        if (got == 0) {
            return result;
        }

        if (pacer) {
            const Nanoseconds due = pacer->DueTime(result.bytesWritten + got, MonotonicNow());
            if (!WaitUntilDueOrStop(due, stopRequested)) {
                break;
            }
        }
        const WriteResult written = WriteAll(fd, std::span<const std::uint8_t>(chunk).first(got), stopRequested);
        switch (written.outcome) {
        case WriteOutcome::Written: result.bytesWritten += got; break;
        case WriteOutcome::Stopped: result.outcome = RunOutcome::Stopped; return result;
        case WriteOutcome::PeerGone: return RunResult{RunOutcome::PeerGone, result.bytesWritten, written.error};
        case WriteOutcome::Failed: return RunResult{RunOutcome::Failed, result.bytesWritten, written.error};
        }
    }
    result.outcome = RunOutcome::Stopped;
    return result;
}

}  // namespace devsim
