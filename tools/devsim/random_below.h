#pragma once

#include <cstdint>
#include <random>

namespace devsim {

// A number in [0, bound) from one engine step. std::uniform_int_distribution
// is left alone on purpose: its algorithm differs between standard libraries,
// and a seed must give the same bytes wherever the simulator is built.
inline std::uint32_t RandomBelow(std::mt19937& engine, std::uint32_t bound) {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(engine()) * bound) >> 32);
}

}  // namespace devsim
