#include "command_line.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace devsim {

namespace {

// Caps that keep the pacing arithmetic far from overflow and a typo from
// asking for a gigabyte buffer.
constexpr std::uint64_t kMaxBytesPerSecond = 1'000'000'000;
constexpr std::uint64_t kMaxChunkBytes = 1 << 20;
constexpr double kMaxWaitSeconds = 86'400.0;

constexpr std::string_view kUsage =
    R"(Usage: devsim --out PATH [options]

Writes a device's byte stream to a terminal at serial-line pace, for
feeding the program through a virtual COM port (the peer end of a socat
pty pair).

  --out PATH              terminal to write to; it is put in raw mode so
                          bytes pass unchanged. "-" writes to standard output.
  --rate N|max            bytes per second (default 960, the pace of 9600
                          baud 8N1); "max" writes as fast as the output takes.
  --source KIND           demo       built-in Shift_JIS device output (default)
                          file:PATH  the bytes of a file
                          sjis       random valid Shift_JIS text, LF line ends
                          raw        random bytes 0-255
  --seed N                seed for sjis and raw, 0-4294967295 (default 1);
                          the same seed always gives the same bytes.
  --count N               stop after N bytes. Without it demo, sjis and raw
                          run until stopped, file runs once.
  --loop                  repeat the file forever (the demo always repeats).
  --chunk N               bytes per write (default: 1/50 s worth at the
                          given rate, at least 1; 4096 with --rate max).
  --wait-for-out SECONDS  keep retrying to open --out while it does not
                          exist yet, up to SECONDS.
  --verbose               print the settings and the number of bytes written
                          on standard output (not with --out -).
  --help                  show this text.

Exit status: 0 when done or stopped by SIGTERM/SIGINT; 1 when the output
or the source cannot be opened or a write fails; 2 for a bad command line;
3 when the reader disappears while writing (EIO, EPIPE or ENXIO, e.g. socat
was killed), with one line on standard error.
)";

std::optional<std::uint64_t> ParseUnsigned(std::string_view text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseSeconds(std::string_view text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || !std::isfinite(value) || value < 0.0) {
        return std::nullopt;
    }
    return value;
}

std::string BadValue(std::string_view option, std::string_view value, std::string_view expected) {
    return std::string(option) + ": '" + std::string(value) + "' is not " + std::string(expected);
}

// Applies one option that takes a value; returns an error text or "".
std::string ApplyValue(Options& options, std::string_view name, std::string_view value) {
    if (name == "--out") {
        if (value.empty()) {
            return "--out: the path is empty";
        }
        options.outPath = value;
    } else if (name == "--rate") {
        if (value == "max") {
            options.bytesPerSecond.reset();
            return "";
        }
        const auto rate = ParseUnsigned(value);
        if (!rate || *rate == 0 || *rate > kMaxBytesPerSecond) {
            return BadValue(name, value, "'max' or a whole number from 1 to 1000000000");
        }
        options.bytesPerSecond = rate;
    } else if (name == "--source") {
        if (value == "demo") {
            options.source = SourceKind::Demo;
        } else if (value == "sjis") {
            options.source = SourceKind::Sjis;
        } else if (value == "raw") {
            options.source = SourceKind::Raw;
        } else if (value.starts_with("file:") && value.size() > 5) {
            options.source = SourceKind::File;
            options.sourceFilePath = value.substr(5);
        } else {
            return BadValue(name, value, "demo, file:PATH, sjis or raw");
        }
    } else if (name == "--seed") {
        const auto seed = ParseUnsigned(value);
        if (!seed || *seed > std::numeric_limits<std::uint32_t>::max()) {
            return BadValue(name, value, "a whole number from 0 to 4294967295");
        }
        options.seed = static_cast<std::uint32_t>(*seed);
    } else if (name == "--count") {
        const auto count = ParseUnsigned(value);
        if (!count) {
            return BadValue(name, value, "a whole number of bytes");
        }
        options.byteCount = count;
    } else if (name == "--chunk") {
        const auto chunk = ParseUnsigned(value);
        if (!chunk || *chunk == 0 || *chunk > kMaxChunkBytes) {
            return BadValue(name, value, "a whole number from 1 to 1048576");
        }
        options.chunkBytes = static_cast<std::size_t>(*chunk);
    } else if (name == "--wait-for-out") {
        const auto seconds = ParseSeconds(value);
        if (!seconds || *seconds > kMaxWaitSeconds) {
            return BadValue(name, value, "a number of seconds from 0 to 86400");
        }
        options.waitForOutSeconds = *seconds;
    } else {
        return "unknown option " + std::string(name);
    }
    return "";
}

bool TakesValue(std::string_view name) {
    return name == "--out" || name == "--rate" || name == "--source" || name == "--seed" || name == "--count" ||
           name == "--chunk" || name == "--wait-for-out";
}

ParseResult Failure(std::string error) { return ParseResult{std::nullopt, std::move(error)}; }

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string_view>& arguments) {
    Options options;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        std::string_view name = arguments[index];
        std::optional<std::string_view> inlineValue;
        if (const auto equals = name.find('='); name.starts_with("--") && equals != name.npos) {
            inlineValue = name.substr(equals + 1);
            name = name.substr(0, equals);
        }

        if (name == "--help" || name == "-h") {
            options.showHelp = true;
            return ParseResult{options, ""};
        }
        if (name == "--loop" || name == "--verbose") {
            if (inlineValue) {
                return Failure(std::string(name) + " takes no value");
            }
            (name == "--loop" ? options.loop : options.verbose) = true;
            continue;
        }
        if (!TakesValue(name)) {
            return Failure(name.starts_with("-") ? "unknown option " + std::string(name)
                                                 : "unexpected argument '" + std::string(name) + "'");
        }

        std::string_view value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (index + 1 < arguments.size()) {
            value = arguments[++index];
        } else {
            return Failure(std::string(name) + " needs a value");
        }
        if (std::string error = ApplyValue(options, name, value); !error.empty()) {
            return Failure(std::move(error));
        }
    }

    if (options.outPath.empty()) {
        return Failure("--out PATH is required");
    }
    // Progress lines on standard output would be mixed into the byte stream.
    if (options.verbose && options.outPath == kStdoutPath) {
        return Failure("--verbose cannot be used with --out -");
    }
    return ParseResult{options, ""};
}

std::string_view UsageText() { return kUsage; }

}  // namespace devsim
