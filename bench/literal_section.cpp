// The receive path against the literal per-piece algorithm (literal_tick.h) with the text area
// holding 10 KB and 100 KB: bytes shown per second, side by side.
#include "sections.h"

#include "feed_run.h"
#include "literal_tick.h"
#include "support/virtual_port.h"

#include <cstdio>

namespace bench {

namespace {

constexpr int kPort = 72;

struct Comparison {
    std::size_t textBefore;
    std::size_t literalBytes;  // few: every piece rewrites the whole text
    std::size_t ourBytes;
};

FeedResult Run(const DeviceData& data, const Workspace& workspace, std::size_t textBefore, std::size_t bytes,
               bool literal) {
    testsupport::VirtualPort line(kPort);
    BenchForm bench;
    if (literal) bench.UseTick([&bench] { LiteralTick(bench.Form()); });
    const std::string text = data.TextAreaLines(textBefore);
    bench.Prefill(text);
    if (!bench.OpenPort(kPort)) {
        FeedResult failed;
        failed.error = "COM72 did not open";
        return failed;
    }
    return Feed(bench, workspace, kPort, 0, data.Stream(bytes), text);
}

void PrintRow(const char* name, std::size_t textBefore, const FeedResult& r) {
    std::printf("%-22s %6zu KB %9zu %-5s %12.0f %10.1f %10.1f", name, textBefore >> 10, r.sentBytes,
                r.allArrived ? "yes" : "no", r.BytesPerSecond(), r.ticks.median, r.ticks.max);
    if (!r.error.empty()) std::printf("  (%s)", r.error.c_str());
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

bool LiteralSection(const Workspace& workspace, const DeviceData& data) {
    std::printf(
        "\n== Against the literal algorithm (whole text rewritten per piece, one Read per byte), as fast as the line "
        "takes it ==\n");
    std::printf("%-22s %9s %9s %-5s %12s %10s %10s\n", "path", "text", "sent", "all", "shown B/s", "tick med",
                "tick max");
    bool ourBytesArrived = true;
    for (const Comparison c : {Comparison{10 << 10, 400, 256 << 10}, Comparison{100 << 10, 110, 256 << 10}}) {
        const FeedResult literal = Run(data, workspace, c.textBefore, c.literalBytes, true);
        PrintRow("literal per piece", c.textBefore, literal);
        const FeedResult ours = Run(data, workspace, c.textBefore, c.ourBytes, false);
        PrintRow("receive path", c.textBefore, ours);
        ourBytesArrived = ourBytesArrived && ours.allArrived;
        if (literal.BytesPerSecond() > 0) {
            std::printf("%-22s %6zu KB %43.0f x\n", "ratio", c.textBefore >> 10,
                        ours.BytesPerSecond() / literal.BytesPerSecond());
        }
    }
    return ourBytesArrived;
}

}  // namespace bench
