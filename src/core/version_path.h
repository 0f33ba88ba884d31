#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// The VerQueryValue path of a string in the version resource's table for translation
// (language in the low 16 bits, code page in the high 16): "\StringFileInfo\LLLLCCCC\key",
// language first, each as four upper-case hexadecimal digits.
std::string VersionQueryPath(std::uint32_t translation, std::string_view key);

}  // namespace core
