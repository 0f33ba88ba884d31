#include "find_timing.h"

#include "bench_clock.h"

#include "support/linux_command.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

namespace bench {
namespace {

constexpr std::size_t kTailBytes = 4096;
constexpr std::size_t kShortestPattern = 16;
constexpr double kSearchTimeoutMs = 600000;

// The last whole line of the text's tail that is long enough to be found nowhere else; it starts
// on a character boundary because a line does.
std::string LastLine(BenchForm& bench, std::uint64_t size, std::uint64_t& lineStart) {
    const std::uint64_t from = size > kTailBytes ? size - kTailBytes : 0;
    const std::string tail = bench.TextPiece(from, static_cast<std::size_t>(size - from));
    std::size_t end = tail.rfind("\r\n");
    while (end != std::string::npos && end > 0) {
        const std::size_t before = tail.rfind('\n', end - 1);
        if (before == std::string::npos) break;
        if (end - before - 1 >= kShortestPattern) {
            lineStart = from + before + 1;
            return tail.substr(before + 1, end - before - 1);
        }
        end = before - 1;  // the CR before that LF
    }
    return {};
}

}  // namespace

FindTiming MeasureFind(BenchForm& bench, int repeats) {
    FindTiming result;
    TMainForm& form = bench.Form();
    const std::uint64_t size = bench.TextAreaBytes();
    std::uint64_t lineStart = 0;
    result.pattern = LastLine(bench, size, lineStart);
    if (result.pattern.empty()) return result;
    // A search that finds nothing would show its box and hold the run.
    const auto onNotFound = std::exchange(form.Search1.OnNotFound, nullptr);
    std::vector<double> took, ticks;
    for (int i = 0; i < repeats; ++i) {
        SendMessageA(form.Memo1.Handle(), EM_SETSEL, 0, 0);
        bench.ClearTicks();
        const double start = NowMs();
        form.Search1.Start({.pattern = result.pattern, .from = 0});
        bench.Pump().RunUntil([&] { return !form.Search1.Running(); }, kSearchTimeoutMs);
        const double end = NowMs();
        took.push_back(end - start);
        result.atFarEnd = result.atFarEnd && form.Memo1.Document().Selected().start == lineStart;
        double last = start;
        for (const TickRecord& tick : bench.Ticks()) {
            ticks.push_back(tick.endMs - tick.startMs);
            result.longestGapMs = std::max(result.longestGapMs, tick.startMs - last);
            last = tick.startMs;
        }
        result.longestGapMs = std::max(result.longestGapMs, end - last);
    }
    form.Search1.OnNotFound = onNotFound;
    bench.ClearTicks();
    result.took = Summarise(took);
    result.ticks = Summarise(ticks);
    return result;
}

std::optional<GrepTiming> MeasureGrep(const Workspace& workspace, const std::string& transcriptName,
                                      const std::string& pattern, int repeats) {
    if (pattern.empty() || !workspace.Write("find-pattern.txt", pattern + "\n")) return std::nullopt;
    const std::string arguments = workspace.UnixPath("find-pattern.txt") + " " + workspace.UnixPath(transcriptName) +
                                  " " + workspace.UnixPath("grep-times.txt") + " " + std::to_string(repeats);
    if (!testsupport::RunLinuxScript("bench-grep.sh", arguments, 600000)) return std::nullopt;
    const std::optional<std::string> times = workspace.Read("grep-times.txt");
    if (!times) return std::nullopt;
    GrepTiming result;
    std::vector<double> took;
    std::istringstream lines(*times);
    long count = 0;
    double ms = 0;
    while (lines >> count >> ms) {
        result.count = count;
        took.push_back(ms);
    }
    if (took.empty()) return std::nullopt;
    result.took = Summarise(took);
    return result;
}

}  // namespace bench
