#include "output_port.h"

#include "monotonic_clock.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace devsim {

namespace {

constexpr Nanoseconds kOpenRetryInterval = std::chrono::milliseconds(50);
constexpr int kFullOutputPollMilliseconds = 100;

std::string ErrorText(const std::string& what, int error) { return what + ": " + std::strerror(error); }

// The name is not there yet (socat has not made its link) or its pty has no
// master yet.
bool MayAppearLater(int error) { return error == ENOENT || error == ENXIO; }

std::string MakeRaw(int fd, const std::string& path) {
    if (!::isatty(fd)) {
        return "";
    }
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        return ErrorText("cannot read the terminal settings of " + path, errno);
    }
    ::cfmakeraw(&settings);
    // A pty ignores the speed; a real serial adapter would need it.
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
        return ErrorText("cannot put " + path + " in raw mode", errno);
    }
    return "";
}

}  // namespace

OpenedOutput OpenOutput(const std::string& path, double waitSeconds, const std::atomic<bool>& stopRequested) {
    if (path == "-") {
        // Left blocking: standard output's flags are shared with whoever
        // started us. A stop still ends a blocked write through EINTR.
        UniqueFd fd(::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0));
        if (!fd.IsOpen()) {
            return {UniqueFd(), ErrorText("cannot use standard output", errno)};
        }
        return {std::move(fd), ""};
    }

    const Nanoseconds giveUpAt =
        MonotonicNow() + std::chrono::duration_cast<Nanoseconds>(std::chrono::duration<double>(waitSeconds));
    for (;;) {
        // Non-blocking, so that a write to a terminal nobody reads cannot
        // hold off a stop request; also no wait for a modem's carrier.
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
        if (fd.IsOpen()) {
            std::string error = MakeRaw(fd.Get(), path);
            if (!error.empty()) {
                return {UniqueFd(), std::move(error)};
            }
            return {std::move(fd), ""};
        }
        const int error = errno;
        const Nanoseconds now = MonotonicNow();
        if (error != EINTR && (!MayAppearLater(error) || now >= giveUpAt)) {
            return {UniqueFd(), ErrorText("cannot open " + path, error)};
        }
        if (stopRequested.load()) {
            return {UniqueFd(), ""};
        }
        SleepUntil(std::min(now + kOpenRetryInterval, giveUpAt));
    }
}

WriteResult WriteAll(int fd, std::span<const std::uint8_t> bytes, const std::atomic<bool>& stopRequested) {
    while (!bytes.empty()) {
        // Checked before every attempt, as a signal may also cut a write
        // short instead of failing it with EINTR.
        if (stopRequested.load()) {
            return {WriteOutcome::Stopped};
        }
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(written));
            continue;
        }
        const int error = errno;
        if (written < 0 && (error == EAGAIN || error == EWOULDBLOCK)) {
            // Nobody is reading and the terminal is full: wait in short
            // steps so that a stop request is seen.
            pollfd writable{fd, POLLOUT, 0};
            ::poll(&writable, 1, kFullOutputPollMilliseconds);
            continue;
        }
        if (written < 0 && error == EINTR) {
            continue;
        }
        if (written < 0 && (error == EIO || error == EPIPE || error == ENXIO)) {
            return {WriteOutcome::PeerGone, error};
        }
        return {WriteOutcome::Failed, written < 0 ? error : EIO};
    }
    return {WriteOutcome::Written};
}

}  // namespace devsim
