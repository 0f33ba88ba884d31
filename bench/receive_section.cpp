// The receive path under load: the device simulator sends at 9600 and 115,200 baud's pace and as
// fast as the line takes it, while the text area already holds 0, 1, 4 or 8 MB.
#include "sections.h"

#include "bench_clock.h"
#include "feed_run.h"
#include "support/virtual_port.h"

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr int kPort = 70;
constexpr int kSmokePort = 71;
constexpr std::size_t kMegabyte = 1 << 20;

struct ReceiveCase {
    std::size_t textBefore;  // bytes in the text area before the run
    std::uint64_t rate;      // bytes per second; 0: as fast as the line takes them
    std::size_t bytes;       // bytes sent (whole lines)
};

std::string PaceName(std::uint64_t rate) {
    if (rate == 0) return "max";
    return std::to_string(rate) + " B/s";
}

void PrintHeader() {
    std::printf("%-8s %-11s %9s %-4s %10s %13s %7s %6s %7s %7s %7s %7s %8s\n", "text", "pace", "sent", "all",
                "shown B/s", "feed s (nom)", "lag ms", "ticks", "med ms", "p99 ms", "max ms", "gap ms", "paint ms");
}

void PrintRow(const ReceiveCase& c, const FeedResult& r, double prefillMs) {
    char nominal[32] = "-";
    if (c.rate != 0) std::snprintf(nominal, sizeof nominal, "%.1f", r.sentBytes / static_cast<double>(c.rate));
    char feed[32];
    std::snprintf(feed, sizeof feed, "%.1f (%s)", r.feedMs / 1000, nominal);
    std::printf("%5.1f MB %-11s %9zu %-4s %10.0f %13s %7.0f %6zu %7.1f %7.1f %7.1f %7.0f %8.1f",
                static_cast<double>(c.textBefore) / kMegabyte, PaceName(c.rate).c_str(), r.sentBytes,
                r.allArrived ? "yes" : "NO", r.BytesPerSecond(), feed, r.lagMs, r.ticks.count, r.ticks.median,
                r.ticks.p99, r.ticks.max, r.longestGapMs, r.longestPaintMs);
    if (!r.error.empty()) std::printf("  (%s)", r.error.c_str());
    if (!r.allArrived) std::printf("  (first difference at byte %zu)", r.firstDifference);
    std::printf("   [filled in %.0f ms]\n", prefillMs);
    std::fflush(stdout);
}

std::vector<ReceiveCase> Cases(const Settings& settings) {
    if (settings.smoke) {
        return {{0, 11520, static_cast<std::size_t>(11520 * settings.pacedSeconds)}, {kMegabyte, 0, 512 * 1024}};
    }
    std::vector<ReceiveCase> cases;
    for (std::size_t fill : {std::size_t{0}, kMegabyte, 4 * kMegabyte, 8 * kMegabyte}) {
        for (std::uint64_t rate : {std::uint64_t{960}, std::uint64_t{11520}}) {
            cases.push_back({fill, rate, static_cast<std::size_t>(rate * settings.pacedSeconds)});
        }
        cases.push_back({fill, 0, fill < 4 * kMegabyte ? kMegabyte : kMegabyte / 2});
    }
    return cases;
}

}  // namespace

bool ReceiveSection(const Settings& settings, const Workspace& workspace, const DeviceData& data) {
    std::printf("\n== Receive path: the real window's ticks, device simulator into a virtual COM port ==\n");
    PrintHeader();
    bool allArrived = true;
    const int port = settings.smoke ? kSmokePort : kPort;
    for (const ReceiveCase& c : Cases(settings)) {
        testsupport::VirtualPort line(port);
        BenchForm bench;
        const double fillStart = NowMs();
        const std::string textBefore = data.TextAreaLines(c.textBefore);
        bench.Prefill(textBefore);
        const double prefillMs = NowMs() - fillStart;
        if (!bench.OpenPort(port)) {
            std::printf("COM%d did not open\n", port);
            allArrived = false;
            continue;
        }
        const FeedResult result = Feed(bench, workspace, port, c.rate, data.Stream(c.bytes), textBefore);
        PrintRow(c, result, prefillMs);
        allArrived = allArrived && result.allArrived && result.error.empty();
    }
    return allArrived;
}

}  // namespace bench
