#pragma once

#include "unique_fd.h"

#include <atomic>
#include <cstdint>
#include <span>
#include <string>

namespace devsim {

struct OpenedOutput {
    UniqueFd fd;
    // Empty when fd is open, and also when a stop request ended the wait.
    std::string error;
};

// Opens the terminal that plays the device's end of the line, or standard
// output for "-". A terminal is switched to raw mode so that no byte is
// translated (an LF would otherwise leave as CR LF). While the path does not
// exist yet, retries for up to `waitSeconds`: socat may still be starting.
OpenedOutput OpenOutput(const std::string& path, double waitSeconds, const std::atomic<bool>& stopRequested);

enum class WriteOutcome {
    Written,
    Stopped,   // a stop was requested while the write was blocked
    PeerGone,  // the other end went away: EIO, EPIPE or ENXIO
    Failed,
};

struct WriteResult {
    WriteOutcome outcome;
    int error = 0;  // errno for PeerGone and Failed
};

// Writes every byte, however many short writes the terminal needs.
WriteResult WriteAll(int fd, std::span<const std::uint8_t> bytes, const std::atomic<bool>& stopRequested);

}  // namespace devsim
