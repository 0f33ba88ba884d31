#include "gap_account.h"

#include <algorithm>
#include <cstdio>

namespace bench {

GapAccount AccountForGap(double fromMs, double tickEndMs, double toMs, double periodMs,
                         const std::vector<DispatchRecord>& dispatches, HWND mainWindow, HWND textArea,
                         const HostSteal& steal) {
    GapAccount gap;
    gap.periodMs = periodMs;
    gap.fromMs = fromMs;
    gap.toMs = toMs;
    gap.tickMs = tickEndMs - fromMs;
    const auto first = std::lower_bound(dispatches.begin(), dispatches.end(), tickEndMs,
                                        [](const DispatchRecord& d, double at) { return d.startMs < at; });
    for (auto d = first; d != dispatches.end() && d->startMs < toMs; ++d) {
        // The part of a message that ran on past the next tick's start is not in the gap.
        const double took = std::min(d->tookMs, toMs - d->startMs);
        if (d->message == 0) {
            gap.benchmarkMs += took;
        } else if (d->message == WM_PAINT) {
            gap.paintMs += took;
        } else if (d->message == WM_TIMER && d->window == textArea) {
            gap.textAreaTimersMs += took;
        } else if (!(d->message == WM_TIMER && d->window == mainWindow)) {
            gap.otherMessagesMs += took;
        }
    }
    gap.stealMs = steal.StealMsAround(fromMs, toMs, gap.stealWindowMs);
    return gap;
}

std::string Describe(const GapAccount& gap, std::optional<double> runStartMs) {
    const double length = gap.toMs - gap.fromMs;
    const double busy = gap.paintMs + gap.textAreaTimersMs + gap.otherMessagesMs + gap.benchmarkMs;
    std::string text;
    char part[200];
    std::snprintf(part, sizeof part, "%.0f ms", length);
    text += part;
    if (runStartMs) {
        std::snprintf(part, sizeof part, ", %.0f s into the run", (gap.fromMs - *runStartMs) / 1000);
        text += part;
    }
    if (gap.tickMs > 0) {
        std::snprintf(part, sizeof part, ": the tick %.1f ms, the timer's period %.0f ms, then %.1f ms more",
                      gap.tickMs, gap.periodMs, length - gap.tickMs - gap.periodMs);
        text += part;
    }
    std::snprintf(part, sizeof part,
                  "\n           in it: paints %.1f, the text area's timers %.1f, other messages %.1f, the "
                  "benchmark %.1f, idle %.1f ms",
                  gap.paintMs, gap.textAreaTimersMs, gap.otherMessagesMs, gap.benchmarkMs, length - gap.tickMs - busy);
    text += part;
    if (gap.stealMs >= 0) {
        std::snprintf(part, sizeof part, "; host steal %.0f ms in the %.0f ms around it", gap.stealMs,
                      gap.stealWindowMs);
        text += part;
    }
    return text;
}

}  // namespace bench
