// The settings file read from arbitrary bytes: the values it gives stay in their ranges, the
// number reading agrees with strtoll, and what is written from the values reads back as them.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings_format.h"
#include "fuzz_check.h"

namespace {

using core::FormatSettings;
using core::ParseSettings;
using core::StoredSettings;
using fuzz::Check;

// The same reading done by the C library: strtoll skips the same white space in the C locale,
// takes one sign and stops at the first non-digit, and reports a range error itself. The copy
// ends at its first NUL byte, which is a non-digit for both readings.
std::optional<std::int32_t> LeadingNumberByStrtoll(std::string_view piece) {
    const std::string copy(piece);
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(copy.c_str(), &end, 10);
    if (errno == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

void CheckRanges(const StoredSettings& s) {
    Check(!s.port || (*s.port >= 1 && *s.port <= 32), "a port outside 1..32");
    Check(!s.scheme || *s.scheme <= 3, "a scheme above 3");
    Check(!s.windowHeight || *s.windowHeight > 0, "a window height of 0 or less");
    Check(!s.windowWidth || *s.windowWidth > 0, "a window width of 0 or less");
}

// Writing five values and reading them back gives them again, after the corrections that
// loading makes: a port outside 1..32 reads as 1, a scheme above 3 as 0, a size of 0 or less
// as missing.
void CheckWrittenValuesReadBack(std::int32_t port, std::int32_t scheme, std::int32_t points, std::int32_t height,
                                std::int32_t width) {
    const StoredSettings back = ParseSettings(FormatSettings(port, scheme, points, height, width));
    const std::int32_t expectedPort = port >= 1 && port <= 32 ? port : 1;
    const std::int32_t expectedScheme = scheme > 3 ? 0 : scheme;
    Check(back.port == expectedPort, "the written port reads back differently");
    Check(back.scheme == expectedScheme, "the written scheme reads back differently");
    Check(back.stripPoints == points, "the written text size reads back differently");
    Check(height > 0 ? back.windowHeight == height : !back.windowHeight,
          "the written window height reads back differently");
    Check(width > 0 ? back.windowWidth == width : !back.windowWidth, "the written window width reads back differently");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsBytes(data, size);

    const StoredSettings settings = ParseSettings(bytes);
    CheckRanges(settings);
    // The file the program writes at exit from what it loaded, a missing value taken from the
    // layout (no port, no scheme, 12 points, 622 x 989).
    CheckWrittenValuesReadBack(settings.port.value_or(0), settings.scheme.value_or(-1),
                               settings.stripPoints.value_or(12), settings.windowHeight.value_or(622),
                               settings.windowWidth.value_or(989));

    Check(core::ParseLeadingNumber(bytes) == LeadingNumberByStrtoll(bytes),
          "the leading number differs from strtoll's");

    // Any five 32-bit values, taken from the input's first 20 bytes.
    if (size >= 5 * sizeof(std::int32_t)) {
        std::int32_t v[5];
        std::memcpy(v, data, sizeof v);
        CheckWrittenValuesReadBack(v[0], v[1], v[2], v[3], v[4]);
    }
    return 0;
}
