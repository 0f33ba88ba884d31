#pragma once

// A failed property stops the fuzzer with a message; libFuzzer then saves the input that did it.

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

inline void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

inline std::string_view AsBytes(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace fuzz
