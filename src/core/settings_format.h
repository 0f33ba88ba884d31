#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// The settings file is read through a line buffer of this size, so a value is read from at
// most 15 bytes and a longer line gives several values.
inline constexpr std::size_t kSettingsLineBufferSize = 16;

// The decimal number at the start of a piece: leading white space (space, \t, \n, \v, \f, \r)
// skipped, one optional + or -, then digits up to the first non-digit. No digits gives 0.
// A value outside the 32-bit range gives nullopt, which counts as a missing value.
std::optional<std::int32_t> ParseLeadingNumber(std::string_view piece);

// The five values of the settings file as they are to be applied; nullopt where the file gives
// no usable value, so that setting keeps what the window layout has.
struct StoredSettings {
    std::optional<std::int32_t> port;
    std::optional<std::int32_t> scheme;
    std::optional<std::int32_t> stripPoints;
    std::optional<std::int32_t> windowHeight;
    std::optional<std::int32_t> windowWidth;
};

// Takes the first five pieces of the file. A port outside 1..32 becomes 1, a scheme above 3
// becomes 0, a window height or width of 0 or less counts as missing.
StoredSettings ParseSettings(std::string_view fileBytes);

// The file's bytes: five "%d" lines joined by CR LF, without a line break after the last.
std::string FormatSettings(std::int32_t port, std::int32_t scheme, std::int32_t stripPoints, std::int32_t height,
                           std::int32_t width);

}  // namespace core
