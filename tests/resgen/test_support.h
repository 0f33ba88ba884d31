#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace resgen_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t Read16(const Bytes& bytes, std::size_t at) { return bytes.at(at) | bytes.at(at + 1) << 8; }

inline std::uint32_t Read32(const Bytes& bytes, std::size_t at) {
    return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

// Equal byte strings, or where they first differ, instead of dumping thousands of bytes.
inline ::testing::AssertionResult SameBytes(const Bytes& actual, const Bytes& expected) {
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
        ++at;
    }
    if (at == actual.size() && at == expected.size()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at byte " << at;
}

}  // namespace resgen_test
