#include "find_timing.h"

#include "bench_clock.h"

#include "support/linux_command.h"

#include <algorithm>
#include <functional>
#include <cstdio>
#include <sstream>
#include <utility>
#include <vector>

namespace bench {
namespace {

constexpr std::size_t kTailBytes = 4096;
constexpr std::size_t kShortestPattern = 16;
constexpr double kSearchTimeoutMs = 600000;
constexpr double kMegabyte = 1 << 20;

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
        double last = start, lastEnd = start;
        const auto gapUntil = [&](double to) {
            if (to - last <= result.longestGapMs) return;
            result.longestGapMs = to - last;
            result.longestGap = AccountForGap(last, lastEnd, to, form.Timer1.Interval(), bench.Pump().Dispatches(),
                                              form.Handle(), form.Memo1.Handle(), HostSteal());
        };
        for (const TickRecord& tick : bench.Ticks()) {
            ticks.push_back(tick.endMs - tick.startMs);
            gapUntil(tick.startMs);
            last = tick.startMs;
            lastEnd = tick.endMs;
        }
        gapUntil(end);
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
    const std::string arguments = "grep " + workspace.UnixPath("find-pattern.txt") + " " +
                                  workspace.UnixPath(transcriptName) + " " + workspace.UnixPath("grep-times.txt") +
                                  " " + std::to_string(repeats);
    if (!testsupport::RunLinuxScript("bench-feed.sh", arguments, 600000)) return std::nullopt;
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

void PrintFindRows(const std::vector<FindTiming>& atCheckpoints) {
    const auto row = [&](const char* name, const std::function<std::string(const FindTiming&)>& cell) {
        std::printf("%-22s", name);
        for (const FindTiming& f : atCheckpoints) std::printf(" %15s", f.pattern.empty() ? "-" : cell(f).c_str());
        std::printf("\n");
    };
    const auto pair = [](double a, double b) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f / %.1f", a, b);
        return std::string(text);
    };
    row("find to far end", [&](const FindTiming& f) { return pair(f.took.median, f.took.max); });
    row("find: tick p99 / max", [&](const FindTiming& f) { return pair(f.ticks.p99, f.ticks.max); });
    row("find: longest gap", [&](const FindTiming& f) { return pair(f.longestGapMs, f.longestGapMs); });
    row("find: at the far end", [](const FindTiming& f) { return std::string(f.atFarEnd ? "yes" : "NO"); });
}

void PrintFindBesideGrep(const FindTiming& find, std::uint64_t textBytes, const std::optional<GrepTiming>& grep) {
    if (find.pattern.empty()) return;
    const double mb = textBytes / kMegabyte;
    std::printf("find     %.1f MB to the far end: median %.0f ms (%.0f MB/s)", mb, find.took.median,
                find.took.median > 0 ? mb * 1000 / find.took.median : 0);
    if (!grep || grep->took.median <= 0) {
        std::printf("; grep did not run\n");
        return;
    }
    std::printf(
        "; grep -F -c on the transcript: median %.0f ms (%.0f MB/s, count %ld); Find takes %.1f times grep's time\n",
        grep->took.median, mb * 1000 / grep->took.median, grep->count, find.took.median / grep->took.median);
    if (find.longestGapMs > 0)
        std::printf("         its longest gap: %s\n", Describe(find.longestGap, std::nullopt).c_str());
}

}  // namespace bench
