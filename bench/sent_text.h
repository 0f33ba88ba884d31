// What the endurance run's device sends, made again here from the same seed a piece at a time, as
// the text area shows it (each LF as CR LF): the check of a transcript of gigabytes never holds
// more than one piece.
#pragma once

#include "sjis_text_source.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

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
    std::string piece;
};

// Compares a file, read a megabyte at a time, with the pieces `next` hands out (empty: the end):
// the offset of the first byte that differs (the shorter one's length when one is the start of the
// other), or -1 when they are the same; -2 when the file cannot be read.
std::int64_t FirstDifference(const std::string& windowsPath, const std::function<std::string_view()>& next);

}  // namespace bench
