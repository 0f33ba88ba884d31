#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devsim {

enum class SourceKind { Demo, File, Sjis, Raw };

// "--out -" sends the stream to standard output instead of a terminal.
inline constexpr std::string_view kStdoutPath = "-";

// 9600 baud with 8N1 framing spends ten bit times on every byte.
inline constexpr std::uint64_t kDefaultBytesPerSecond = 960;

struct Options {
    std::string outPath;
    // Empty means "as fast as the output accepts".
    std::optional<std::uint64_t> bytesPerSecond = kDefaultBytesPerSecond;
    SourceKind source = SourceKind::Demo;
    std::string sourceFilePath;
    std::uint32_t seed = 1;
    std::optional<std::uint64_t> byteCount;
    bool loop = false;
    std::optional<std::size_t> chunkBytes;
    double waitForOutSeconds = 0.0;
    bool verbose = false;
    bool showHelp = false;

    bool operator==(const Options&) const = default;
};

struct ParseResult {
    std::optional<Options> options;
    std::string error;  // set exactly when options is empty
};

// Arguments without the program name.
ParseResult ParseCommandLine(const std::vector<std::string_view>& arguments);

std::string_view UsageText();

}  // namespace devsim
