#include "core/settings_format.h"

#include <array>
#include <limits>
#include <vector>

#include "core/text_mode.h"

namespace core {
namespace {

constexpr std::int32_t kFirstPort = 1;
constexpr std::int32_t kLastPort = 32;
constexpr std::int32_t kHighestStoredScheme = 3;

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<std::int32_t> PositiveOnly(std::optional<std::int32_t> size) {
    if (size && *size <= 0) {
        return std::nullopt;
    }
    return size;
}

}  // namespace

std::optional<std::int32_t> ParseLeadingNumber(std::string_view piece) {
    std::size_t i = 0;
    while (i < piece.size() && IsWhiteSpace(piece[i])) {
        ++i;
    }
    bool negative = false;
    if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) {
        negative = piece[i] == '-';
        ++i;
    }
    // The magnitude of the most negative value; anything past it is out of range whatever the
    // sign, so the digits need not be followed further and nothing can overflow.
    constexpr std::int64_t kMagnitudeLimit = -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min());
    std::int64_t magnitude = 0;
    for (; i < piece.size() && IsDigit(piece[i]); ++i) {
        magnitude = magnitude * 10 + (piece[i] - '0');
        if (magnitude > kMagnitudeLimit) {
            return std::nullopt;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

StoredSettings ParseSettings(std::string_view fileBytes) {
    const std::vector<std::string> pieces = ReadPieces(fileBytes, kSettingsLineBufferSize, 5);
    std::array<std::optional<std::int32_t>, 5> values;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        values[i] = ParseLeadingNumber(pieces[i]);
    }

    StoredSettings settings{values[0], values[1], values[2], PositiveOnly(values[3]), PositiveOnly(values[4])};
    if (settings.port && (*settings.port < kFirstPort || *settings.port > kLastPort)) {
        settings.port = kFirstPort;
    }
    if (settings.scheme && *settings.scheme > kHighestStoredScheme) {
        settings.scheme = 0;
    }
    return settings;
}

std::string FormatSettings(std::int32_t port, std::int32_t scheme, std::int32_t stripPoints, std::int32_t height,
                           std::int32_t width) {
    const std::string lines = std::to_string(port) + '\n' + std::to_string(scheme) + '\n' +
                              std::to_string(stripPoints) + '\n' + std::to_string(height) + '\n' +
                              std::to_string(width);
    return EncodeForSave(lines);
}

}  // namespace core
