#include "feed_run.h"

#include "bench_clock.h"
#include "device_data.h"
#include "support/linux_command.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace bench {

using testsupport::LinuxJob;

namespace {

std::size_t FirstDifference(const std::string& a, const std::string& b) {
    const auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return static_cast<std::size_t>(left - a.begin());
}

}  // namespace

FeedResult Feed(BenchForm& bench, const Workspace& workspace, int port, std::uint64_t rate, std::string_view sent,
                const std::string& textBefore) {
    FeedResult result;
    result.sentBytes = sent.size();
    // Every byte in, in order, nothing waiting: the text as it was, then the lines sent with CR LF.
    const std::string expected = textBefore + DeviceData::AsTextArea(sent);
    const std::string feedName = "feed.bin";
    if (!workspace.Write(feedName, sent)) {
        result.error = "cannot write the feed file";
        return result;
    }

    bench.ClearTicks();
    bench.Pump().ResetLongest();
    const double feedStart = NowMs();
    LinuxJob job("bench-feed.sh", "send " + std::to_string(port) + " " + (rate == 0 ? "max" : std::to_string(rate)) +
                                      " " + workspace.UnixPath(feedName));
    if (!job.Started()) {
        result.error = "cannot start scripts/bench-feed.sh";
        return result;
    }

    std::optional<double> feedEnd;
    double lastLengthCheck = 0;
    bool complete = false;
    auto finished = [&] {
        if (!feedEnd) {
            if (const auto status = job.ExitStatus()) {
                feedEnd = NowMs();
                if (*status != 0) result.error = "the device simulator failed (status " + std::to_string(*status) + ")";
            }
            return !result.error.empty();
        }
        if (!result.error.empty()) return true;
        // Everything sent is in once the queue stays empty and the text area has the expected length.
        const auto& ticks = bench.Ticks();
        if (ticks.size() < 2 || ticks.back().startMs < *feedEnd || ticks.back().hadData ||
            ticks[ticks.size() - 2].hadData)
            return false;
        if (NowMs() - lastLengthCheck < 100) return false;
        lastLengthCheck = NowMs();
        complete = bench.ReceivedLength() >= expected.size();
        return complete;
    };
    const double nominalMs = rate == 0 ? 0 : sent.size() * 1000.0 / static_cast<double>(rate);
    const bool ended = bench.Pump().RunUntil(finished, nominalMs * 2 + 120000);
    workspace.Remove(feedName);
    if (!result.error.empty()) return result;
    if (!ended) result.error = feedEnd ? "not every byte arrived in time" : "the feed did not end in time";

    std::vector<double> durations;
    std::optional<double> firstData;
    double lastDataEnd = 0;
    double lastDataStart = 0;
    for (const TickRecord& tick : bench.Ticks()) {
        if (!tick.hadData) continue;
        if (firstData) result.longestGapMs = std::max(result.longestGapMs, tick.startMs - lastDataStart);
        lastDataStart = tick.startMs;
        if (!firstData) firstData = tick.startMs;
        lastDataEnd = tick.endMs;
        durations.push_back(tick.endMs - tick.startMs);
    }
    result.ticks = Summarise(durations);
    result.feedMs = feedEnd.value_or(NowMs()) - feedStart;
    result.receiveMs = firstData ? lastDataEnd - *firstData : 0;
    result.lagMs = feedEnd ? std::max(0.0, lastDataEnd - *feedEnd) : 0;
    result.longestMessageMs = bench.Pump().LongestMessageMs();
    result.longestPaintMs = bench.Pump().LongestPaintMs();

    const std::string received = bench.ReceivedText();
    result.allArrived = received == expected && bench.Form().LeadByte == 0;
    if (!result.allArrived) result.firstDifference = FirstDifference(received, expected);
    return result;
}

}  // namespace bench
