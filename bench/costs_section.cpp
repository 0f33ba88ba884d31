// What the text area's calls cost on this Wine at the sizes the receive table uses: the figures
// that limit a tick that adds text, and the paint that follows it.
#include "sections.h"

#include "bench_clock.h"
#include "bench_form.h"
#include "stats.h"

#include <climits>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

namespace {

constexpr std::size_t kMegabyte = 1 << 20;
constexpr int kRepeats = 9;

// The median of `repeats` timed calls.
double MedianMs(int repeats, const std::function<void()>& call) {
    std::vector<double> took;
    for (int i = 0; i < repeats; ++i) {
        const double start = NowMs();
        call();
        took.push_back(NowMs() - start);
    }
    return Summarise(took).median;
}

// Redraws the vertical scroll bar with its own settings, as the text area does after each change.
void RedrawScrollBar(HWND edit) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(edit, SB_VERT, &info);
    info.fMask = SIF_PAGE | SIF_POS | SIF_RANGE | SIF_DISABLENOSCROLL;
    SetScrollInfo(edit, SB_VERT, &info, TRUE);
}

}  // namespace

bool CostsSection(const DeviceData& data) {
    std::printf("\n== Text area, cost of one call, median of %d, ms ==\n", kRepeats);
    std::printf("%-8s %10s %8s %9s %9s %10s %11s %10s %10s\n", "text", "set text", "length", "add line", "add 4 KB",
                "add 64 KB", "add hidden", "scroll bar", "repaint");
    const std::string line = data.TextAreaLines(60);
    const std::string block4k = data.TextAreaLines(4 << 10);
    const std::string block64k = data.TextAreaLines(64 << 10);
    for (std::size_t size : {std::size_t{0}, kMegabyte, 4 * kMegabyte, 8 * kMegabyte}) {
        BenchForm bench;
        ui::Memo& memo = bench.Form().Memo1;
        const HWND edit = memo.Handle();
        const std::string text = data.TextAreaLines(size);
        const double setStart = NowMs();
        memo.SetText(text);
        const double setMs = NowMs() - setStart;
        memo.ScrollToEnd();
        bench.Pump().RunFor(200);
        const double length = MedianMs(kRepeats, [&] { memo.TextLength(); });
        const double addLine = MedianMs(kRepeats, [&] { memo.AppendText(line); });
        const double add4k = MedianMs(kRepeats, [&] { memo.AppendText(block4k); });
        const double add64k = MedianMs(3, [&] { memo.AppendText(block64k); });
        const double scrollBar = MedianMs(kRepeats, [&] { RedrawScrollBar(edit); });
        const double repaint = MedianMs(3, [&] {
            InvalidateRect(edit, nullptr, TRUE);
            UpdateWindow(edit);
        });
        ShowWindow(bench.Form().Handle(), SW_HIDE);
        const double addHidden = MedianMs(kRepeats, [&] { memo.AppendText(line); });
        std::printf("%5.1f MB %10.0f %8.2f %9.1f %9.1f %10.1f %11.1f %10.1f %10.1f\n", size / double(kMegabyte), setMs,
                    length, addLine, add4k, add64k, addHidden, scrollBar, repaint);
        std::fflush(stdout);
    }
    return true;
}

}  // namespace bench
