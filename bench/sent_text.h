// What the endurance run's device sends, made again here from the same seed a piece at a time, as
// the text area shows it (each LF as CR LF): the check of a transcript of gigabytes never holds
// more than one piece.
#pragma once

#include "sjis_text_source.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

class SentText {
public:
    // The first `count` bytes that the simulator's random Shift_JIS lines from `seed` are.
    SentText(std::uint32_t seed, std::uint64_t count);

    // The next piece of the text as shown; empty once all of it was given.
    std::string_view Next();

private:
    devsim::SjisTextSource source;
    std::uint64_t left;
    std::vector<std::uint8_t> bytes;
    std::string piece;
};

}  // namespace bench
