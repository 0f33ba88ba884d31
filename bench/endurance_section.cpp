// Endurance: gigabytes from the device simulator through a virtual COM port into the real window,
// as fast as the line takes them. The feed is held at a few sizes of text while the user's actions
// are timed; at the end the text is saved through the Save command and the transcript compared
// with what was sent, made again from the same seed, then a transcript of half the size is loaded
// into the emptied text area. At each size Find runs from the start to the text's last line, and
// after the save GNU grep seeks that line in the transcript. Nothing of the size of the text is ever held by the
// benchmark: it runs in the process whose working set it reports.
#include "sections.h"

#include "bench_clock.h"
#include "bench_form.h"
#include "device_feed.h"
#include "dialog_user.h"
#include "error_box_watcher.h"
#include "find_timing.h"
#include "gap_account.h"
#include "host_steal.h"
#include "piece_compare.h"
#include "sent_text.h"
#include "user_actions.h"
#include "working_set.h"

#include "support/virtual_port.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr int kPort = 72;
constexpr std::uint32_t kSeed = 13;
constexpr int kRepeats = 5;
constexpr double kMegabyte = 1 << 20;
// The feed counts as stalled when the text has not grown for this long.
constexpr double kStallMs = 60000;
// After the simulator is held or has ended, the bytes already on the line are in once the ticks
// have found none for this long.
constexpr double kQuietMs = 500;
constexpr double kWorkingSetEveryMs = 250;
constexpr double kStealEveryMs = 100;
constexpr std::size_t kPieceBytes = 1 << 20;

// Text sizes at which the actions are timed: 0, 200 MB, 1 GB and 2 GB of a 2 GB run, in
// proportion for other sizes.
std::vector<std::uint64_t> Checkpoints(std::uint64_t total) {
    std::vector<std::uint64_t> at{0, total * 200 / 2048, total / 2, total};
    at.erase(std::unique(at.begin(), at.end()), at.end());
    return at;
}

struct CheckpointResult {
    std::uint64_t textBytes = 0;
    double elapsedS = 0;
    ActionsResult actions;
    FindTiming find;
    std::uint64_t workingSet = 0;
};

// The receive ticks over the whole run, taken a stretch of feed at a time so that the window's
// record of them stays short.
class TickLog {
public:
    void Take(BenchForm& bench, const HostSteal& steal) {
        for (const TickRecord& tick : bench.Ticks()) {
            // A gap ends at any tick: one that found the line quiet (the device held for a
            // checkpoint) came on time all the same, and no byte waited for it.
            if (stretchStart && tick.startMs - lastStart > longestGapMs) {
                longestGapMs = tick.startMs - lastStart;
                longestGap =
                    AccountForGap(lastStart, lastEnd, tick.startMs, bench.Form().Timer1.Interval(),
                                  bench.Pump().Dispatches(), bench.Form().Handle(), bench.Form().Memo1.Handle(), steal);
            }
            if (stretchStart || tick.hadData) {
                lastStart = tick.startMs;
                lastEnd = tick.endMs;
            }
            if (!tick.hadData) continue;
            if (!stretchStart) stretchStart = tick.startMs;
            lastDataEnd = tick.endMs;
            durations.push_back(tick.endMs - tick.startMs);
        }
        bench.ClearTicks();
    }
    // The feed was held: the time until the next tick with bytes is no gap of the receive path.
    void EndStretch() {
        if (stretchStart) receiveMs += lastDataEnd - *stretchStart;
        stretchStart.reset();
    }

    Summary Ticks() const { return Summarise(durations); }
    double LongestGapMs() const { return longestGapMs; }
    const GapAccount& LongestGap() const { return longestGap; }
    double ReceiveMs() const { return receiveMs; }

private:
    std::vector<double> durations;
    std::optional<double> stretchStart;
    double lastStart = 0;
    double lastEnd = 0;
    double lastDataEnd = 0;
    double longestGapMs = 0;
    GapAccount longestGap;
    double receiveMs = 0;
};

class EnduranceRun {
public:
    EnduranceRun(const Workspace& workspace, std::uint64_t total)
        : workspace(workspace), total(total), line(kPort), feed(workspace, kPort, kSeed, total), random(kSeed) {}

    bool Run();
    // Prints the figures reached; true when every byte sent and loaded arrived.
    bool Report() const;

private:
    bool Fail(std::string why) {
        if (failure.empty()) failure = std::move(why);
        return false;
    }
    bool Healthy() {
        if (errors.Count() > 0) return Fail("the window showed an error box: \"" + errors.FirstText() + "\"");
        return failure.empty();
    }
    // Dispatches the window's messages until `done` or a failure; samples the working set.
    bool PumpUntil(const std::function<bool()>& done);
    bool FeedTo(std::uint64_t textBytes);
    bool FeedToEnd();
    bool WaitQuiet();
    void MeasureAt();
    void SaveAndCompare();
    void ClearAndLoad();

    const Workspace& workspace;
    std::uint64_t total;
    testsupport::VirtualPort line;
    ErrorBoxWatcher errors;
    BenchForm bench;
    DeviceFeed feed;
    std::mt19937 random;
    WorkingSetSampler workingSet;
    HostSteal steal;
    TickLog ticks;
    double startMs = NowMs();
    std::string failure;
    std::vector<CheckpointResult> checkpoints;
    bool textKept = true;
    bool keysHeld = true;
    bool fedWhole = false;
    std::optional<double> saveMs, compareS, clearMs, loadMs, loadPaintMs;
    std::uint64_t shownBytes = 0;
    std::uint64_t savedBytes = 0, loadedBytes = 0, loadFileBytes = 0;
    std::optional<std::int64_t> savedDifference, loadedDifference;
    std::optional<GrepTiming> grep;
};

bool EnduranceRun::PumpUntil(const std::function<bool()>& done) {
    std::uint64_t lastBytes = bench.ReceivedBytes();
    double lastGrowth = NowMs();
    bench.Pump().RunUntil(
        [&] {
            workingSet.Sample(kWorkingSetEveryMs);
            steal.Sample(kStealEveryMs);
            if (!Healthy()) return true;
            if (done()) return true;
            const std::uint64_t bytes = bench.ReceivedBytes();
            if (bytes != lastBytes) {
                lastBytes = bytes;
                lastGrowth = NowMs();
            }
            if (NowMs() - lastGrowth > kStallMs) return !Fail("the text stopped growing for a minute");
            return false;
        },
        1e12);
    return Healthy();
}

bool EnduranceRun::WaitQuiet() {
    // Bytes that were on the line when the simulator stopped still come in.
    const double since = NowMs();
    std::size_t seen = 0;
    double lastData = since;
    return PumpUntil([&] {
        const auto& records = bench.Ticks();
        for (; seen < records.size(); ++seen) {
            if (records[seen].hadData) lastData = std::max(lastData, records[seen].endMs);
        }
        return NowMs() - lastData > kQuietMs;
    });
}

bool EnduranceRun::FeedTo(std::uint64_t textBytes) {
    if (!PumpUntil([&] { return bench.ReceivedBytes() >= textBytes || feed.ExitStatus(); })) return false;
    if (feed.ExitStatus())
        return Fail("the device simulator ended early (status " + std::to_string(*feed.ExitStatus()) + ")");
    if (!feed.Pause(bench.Pump())) return Fail("the device simulator could not be held");
    return WaitQuiet();
}

bool EnduranceRun::FeedToEnd() {
    if (!PumpUntil([&] { return feed.ExitStatus().has_value(); })) return false;
    if (feed.ExitStatus() != 0)
        return Fail("the device simulator failed (status " + std::to_string(*feed.ExitStatus()) + ")");
    fedWhole = true;
    return WaitQuiet();
}

void EnduranceRun::MeasureAt() {
    CheckpointResult result;
    result.textBytes = bench.ReceivedBytes();
    result.elapsedS = (NowMs() - startMs) / 1000;
    result.find = MeasureFind(bench, kRepeats);
    result.actions = MeasureActions(bench, kRepeats, random);
    textKept = textKept && result.actions.textKept;
    keysHeld = keysHeld && result.actions.keysHeld;
    workingSet.Sample();
    result.workingSet = workingSet.LastBytes();
    checkpoints.push_back(std::move(result));
    std::printf("  [%.1f MB of text after %.0f s: actions timed]\n", checkpoints.back().textBytes / kMegabyte,
                checkpoints.back().elapsedS);
    std::fflush(stdout);
}

void EnduranceRun::SaveAndCompare() {
    TMainForm& form = bench.Form();
    form.AppDir = workspace.WindowsFolder();
    const std::string path = workspace.WindowsPath("endurance.txt");
    savedBytes = bench.ReceivedBytes();
    {
        DialogUser user(path);
        form.SaveS1Click(nullptr);
        if (user.PressedAtMs() > 0) saveMs = NowMs() - user.PressedAtMs();
    }
    workingSet.Sample();
    if (!saveMs) Fail("the save dialog did not come");
    if (!Healthy()) return;
    const double compareStart = NowMs();
    // A last byte that opens a two-byte character waits for its partner in the receive state, not
    // in the text: it is accounted for there.
    const unsigned char waiting = form.LeadByte;
    FilePieces saved(path, waiting ? std::string(1, static_cast<char>(waiting)) : std::string());
    SentText sent(kSeed, total);
    savedDifference = FirstDifference([&] { return saved.Next(); }, [&] { return sent.Next(); });
    if (saved.Failed()) savedDifference = -2;
    compareS = (NowMs() - compareStart) / 1000;
    if (!checkpoints.empty()) grep = MeasureGrep(workspace, "endurance.txt", checkpoints.back().find.pattern, kRepeats);
}

void EnduranceRun::ClearAndLoad() {
    clearMs = MeasureClear(bench);
    workingSet.Sample();
    if (!Healthy()) return;
    // The transcript cut after the line that ends nearest past its middle.
    const std::string path = workspace.WindowsPath("endurance.txt");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Fail("the saved transcript cannot be opened");
        return;
    }
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    LARGE_INTEGER cut{};
    cut.QuadPart = size.QuadPart / 2;
    SetFilePointerEx(file, cut, nullptr, FILE_BEGIN);
    static char piece[1 << 16];
    DWORD got = 0;
    ReadFile(file, piece, sizeof piece, &got, nullptr);
    const std::string_view read(piece, got);
    if (const std::size_t lineEnd = read.find('\n'); lineEnd != std::string_view::npos) {
        cut.QuadPart += static_cast<LONGLONG>(lineEnd + 1);
        SetFilePointerEx(file, cut, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
    } else {
        cut = size;
    }
    CloseHandle(file);
    loadFileBytes = static_cast<std::uint64_t>(cut.QuadPart);

    TMainForm& form = bench.Form();
    double returned = 0;
    {
        DialogUser user(path);
        form.LoadL1Click(nullptr);
        returned = NowMs();
        if (user.PressedAtMs() > 0) loadMs = returned - user.PressedAtMs();
    }
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    loadPaintMs = NowMs() - returned;
    workingSet.Sample();
    if (!loadMs) Fail("the load dialog did not come");
    if (!Healthy()) return;
    loadedBytes = bench.ReceivedBytes();
    // A stream that ended on the first byte of a two-byte character leaves that byte waiting for
    // its partner through the Clear; the load's lines follow it on a line of their own.
    std::uint64_t offset = 0;
    if (loadedBytes == loadFileBytes + 3) {
        const std::string before = bench.TextPiece(0, 3);
        if (before.size() == 3 && static_cast<unsigned char>(before[0]) >= 0x80 && before.substr(1) == "\r\n")
            offset = 3;
    }
    FilePieces loaded(path);
    std::string shown;  // the text area's piece lives here while it is compared
    loadedDifference = FirstDifference([&] { return loaded.Next(); },
                                       [&]() -> std::string_view {
                                           shown = bench.TextPiece(offset, kPieceBytes);
                                           offset += shown.size();
                                           return shown;
                                       });
    if (loaded.Failed()) loadedDifference = -2;
}

bool EnduranceRun::Run() {
    try {
        if (!bench.OpenPort(kPort)) return Fail("COM" + std::to_string(kPort) + " did not open");
        const std::vector<std::uint64_t> at = Checkpoints(total);
        MeasureAt();
        if (!feed.Start(bench.Pump())) return Fail("the device simulator did not start");
        for (std::size_t i = 1; i < at.size(); ++i) {
            bench.ClearTicks();
            const bool last = i + 1 == at.size();
            const bool reached = last ? FeedToEnd() : FeedTo(at[i]);
            ticks.Take(bench, steal);
            ticks.EndStretch();
            shownBytes = bench.ReceivedBytes();
            if (!reached) return false;
            MeasureAt();
            if (!Healthy()) return false;
            if (!last && !feed.Resume(bench.Pump())) return Fail("the device simulator could not go on");
        }
        SaveAndCompare();
        if (!Healthy()) return false;
        ClearAndLoad();
    } catch (const std::bad_alloc&) {
        return Fail("the benchmark ran out of memory");
    } catch (const std::exception& error) {
        return Fail(std::string("the benchmark failed: ") + error.what());
    }
    return Healthy();
}

std::string Mb(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", bytes / kMegabyte);
    return text;
}

std::string Difference(const std::optional<std::int64_t>& at) {
    if (!at) return "not compared";
    if (*at == -1) return "yes";
    if (*at == -2) return "NO (the file cannot be read)";
    return "NO (first difference at byte " + std::to_string(*at) + ")";
}

// The receive tick reads for at most this long (the program's own slice); its p99 is judged
// against twice this, on any machine.
constexpr double kTickReadSliceMs = 12;

// Each action with text against the same action with none: the empty window is the machine's own
// measure, so these hold on a machine of any speed.
void PrintRatiosToEmpty(const std::vector<CheckpointResult>& checkpoints) {
    if (checkpoints.size() < 2) return;
    std::printf("\n%-22s", "ratio to 0 MB: med/max");
    for (std::size_t c = 1; c < checkpoints.size(); ++c) std::printf(" %15s", Mb(checkpoints[c].textBytes).c_str());
    std::printf("\n");
    const auto ratio = [](double with, double without) { return without > 0 ? with / without : 0; };
    for (std::size_t row = 0; row < checkpoints.front().actions.costs.size(); ++row) {
        const Summary& empty = checkpoints.front().actions.costs[row].took;
        std::printf("%-22s", checkpoints.front().actions.costs[row].name.c_str());
        for (std::size_t c = 1; c < checkpoints.size(); ++c) {
            const Summary& took = checkpoints[c].actions.costs[row].took;
            char cell[32];
            std::snprintf(cell, sizeof cell, "%.2f / %.2f", ratio(took.median, empty.median),
                          ratio(took.max, empty.max));
            std::printf(" %15s", cell);
        }
        std::printf("\n");
    }
}

bool EnduranceRun::Report() const {
    if (!failure.empty()) {
        std::printf("FAILED: %s; reached %s of text after %.0f s\n", failure.c_str(), Mb(bench.ReceivedBytes()).c_str(),
                    (NowMs() - startMs) / 1000);
    }
    const Summary t = ticks.Ticks();
    const double rate = ticks.ReceiveMs() > 0 ? shownBytes * 1000.0 / ticks.ReceiveMs() : 0;
    std::printf("feed     %s of text shown in %.0f s of reception: %.0f B/s (%.2f MB/s)%s\n", Mb(shownBytes).c_str(),
                ticks.ReceiveMs() / 1000, rate, rate / kMegabyte, fedWhole ? "" : "; the feed did not end");
    std::printf(
        "ticks    %zu with bytes: median %.1f ms, p99 %.1f ms, max %.1f ms; longest gap between two ticks %.0f ms\n",
        t.count, t.median, t.p99, t.max, ticks.LongestGapMs());
    std::printf("         p99 to the tick's read slice of %.0f ms: %.2f\n", kTickReadSliceMs, t.p99 / kTickReadSliceMs);
    if (ticks.LongestGapMs() > 0)
        std::printf("         the longest gap: %s\n", Describe(ticks.LongestGap(), startMs).c_str());
    if (steal.Known()) std::printf("host     steal %.1f s of CPU time over the run\n", steal.TotalMs() / 1000);
    std::printf("memory   working set at most %s (sampled every %.0f ms, after each checkpoint, save and load)\n",
                Mb(workingSet.MaxBytes()).c_str(), kWorkingSetEveryMs);

    std::printf("\n%-22s", "action, ms: med / max");
    for (const CheckpointResult& c : checkpoints) std::printf(" %15s", Mb(c.textBytes).c_str());
    std::printf("\n");
    if (!checkpoints.empty()) {
        for (std::size_t row = 0; row < checkpoints.front().actions.costs.size(); ++row) {
            std::printf("%-22s", checkpoints.front().actions.costs[row].name.c_str());
            for (const CheckpointResult& c : checkpoints) {
                const Summary& took = c.actions.costs[row].took;
                char cell[32];
                std::snprintf(cell, sizeof cell, "%.1f / %.1f", took.median, took.max);
                std::printf(" %15s", cell);
            }
            std::printf("\n");
        }
        std::vector<FindTiming> finds;
        for (const CheckpointResult& c : checkpoints) finds.push_back(c.find);
        PrintFindRows(finds);
        std::printf("%-22s", "working set after");
        for (const CheckpointResult& c : checkpoints) std::printf(" %15s", Mb(c.workingSet).c_str());
        std::printf("\n%-22s", "at (s into the run)");
        for (const CheckpointResult& c : checkpoints) std::printf(" %15.0f", c.elapsedS);
        std::printf("\n");
        PrintRatiosToEmpty(checkpoints);
    }
    std::printf("typing undone, text as before: %s; Ctrl and Shift seen by the text area: %s\n",
                textKept ? "yes" : "NO", keysHeld ? "yes" : "NO (the key figures are not those of the keys named)");

    if (saveMs) {
        std::printf("save     %s of text: %.0f ms; the transcript is what was sent: %s (compared in %.1f s)\n",
                    Mb(savedBytes).c_str(), *saveMs, Difference(savedDifference).c_str(), compareS.value_or(0));
    }
    if (!checkpoints.empty()) PrintFindBesideGrep(checkpoints.back().find, checkpoints.back().textBytes, grep);
    if (clearMs) std::printf("clear    %s of text: %.1f ms\n", Mb(savedBytes).c_str(), *clearMs);
    if (loadMs) {
        std::printf(
            "load     %s transcript into the empty text area: %.0f ms (then %.0f ms to repaint), %s of text; "
            "the same bytes as the file: %s\n",
            Mb(loadFileBytes).c_str(), *loadMs, loadPaintMs.value_or(0), Mb(loadedBytes).c_str(),
            Difference(loadedDifference).c_str());
    }
    if (saveMs && loadMs && *saveMs > 0 && *loadMs > 0) {
        const double saveRate = savedBytes / kMegabyte / (*saveMs / 1000);
        const double loadRate = loadFileBytes / kMegabyte / (*loadMs / 1000);
        std::printf("rates    save %.0f MB/s, load %.0f MB/s: load to save %.2f\n", saveRate, loadRate,
                    loadRate / saveRate);
    }
    const bool allArrived = failure.empty() && fedWhole && textKept && savedDifference == -1 && loadedDifference == -1;
    std::printf("every byte sent and loaded arrived: %s\n", allArrived ? "yes" : "NO");
    std::fflush(stdout);
    return allArrived;
}

}  // namespace

bool EnduranceSection(const Settings& settings, const Workspace& workspace) {
    const std::uint64_t total = static_cast<std::uint64_t>(settings.enduranceMb * kMegabyte);
    std::printf("\n== Endurance: %.0f MB of random Shift_JIS lines through COM%d into the real window, flat out ==\n",
                total / kMegabyte, kPort);
    std::fflush(stdout);
    EnduranceRun run(workspace, total);
    run.Run();
    return run.Report();
}

}  // namespace bench
