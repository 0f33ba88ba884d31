#pragma once

#include <cstdint>
#include <span>

namespace devsim {

// About twenty lines of what the device prints, as Shift_JIS with LF line
// ends: readings with ℃ and ＋ (lead byte 0x81), status words in katakana
// and kanji (leads up to 0x9F and 0xE0-0xEA) and half-width katakana.
std::span<const std::uint8_t> DemoText();

}  // namespace devsim
