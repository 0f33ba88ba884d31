#pragma once

#include "byte_source.h"
#include "unique_fd.h"

#include <fcntl.h>
#include <iconv.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace devsim::test {

// True when glibc's converter accepts every byte as part of a complete
// character of `charset`: an independent judge of what is valid Shift_JIS.
inline bool DecodesCleanly(const char* charset, std::span<const std::uint8_t> bytes) {
    iconv_t converter = iconv_open("UTF-8", charset);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::vector<char> input(bytes.begin(), bytes.end());
    std::vector<char> output(bytes.size() * 4 + 4);
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    return converted != static_cast<std::size_t>(-1) && inLeft == 0;
}

inline std::vector<std::uint8_t> ReadFromSource(ByteSource& source, std::size_t count, std::size_t readSize) {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> buffer(readSize);
    while (bytes.size() < count) {
        const std::size_t got = source.Read(std::span(buffer).first(std::min(readSize, count - bytes.size())));
        if (got == 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
    }
    return bytes;
}

// A pseudo-terminal pair with the slave left in its default, cooked mode:
// whoever writes to the slave must make it raw to get bytes through unchanged.
struct PtyPair {
    UniqueFd master;
    UniqueFd slave;
    std::string slaveName;

    PtyPair() {
        int masterFd = -1;
        int slaveFd = -1;
        char name[256] = {};
        if (openpty(&masterFd, &slaveFd, name, nullptr, nullptr) == 0) {
            // A spawned devsim must not inherit them: a copy of the master
            // would keep the line alive after the test closes it.
            fcntl(masterFd, F_SETFD, FD_CLOEXEC);
            fcntl(slaveFd, F_SETFD, FD_CLOEXEC);
            master.Reset(masterFd);
            slave.Reset(slaveFd);
            slaveName = name;
        }
    }
};

// Reads from `fd` until `count` bytes came or nothing came for `idle`.
inline std::vector<std::uint8_t> ReadUpTo(int fd, std::size_t count, std::chrono::milliseconds idle) {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> buffer(65536);
    while (bytes.size() < count) {
        pollfd waiting{fd, POLLIN, 0};
        if (poll(&waiting, 1, static_cast<int>(idle.count())) <= 0) {
            break;
        }
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got <= 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + got);
    }
    return bytes;
}

}  // namespace devsim::test
