// Where the longest wait between two receive ticks went: the tick before it, the messages the
// window's thread took meanwhile (the tick's own pause of its timer's period is among the waiting),
// the benchmark's own looks, and what the machine's host took of the CPUs around it, so that a
// long gap can be told apart as the program's work, the timer's lateness or the host's doing.
#pragma once

#include "host_steal.h"
#include "message_pump.h"

#include <optional>
#include <string>
#include <vector>

namespace bench {

struct GapAccount {
    double fromMs = 0;
    double toMs = 0;
    double tickMs = 0;    // the tick that began the gap
    double periodMs = 0;  // the receive timer's period, from the tick's end
    double paintMs = 0;
    double textAreaTimersMs = 0;  // the text area's own timers: background layout, search slices
    double otherMessagesMs = 0;
    double benchmarkMs = 0;
    double stealMs = -1;  // the host's share of the CPUs from before to after the gap; -1 unknown
    double stealWindowMs = 0;
};

// Accounts for the gap from the tick that began at `fromMs` and ended at `tickEndMs` to the next
// one at `toMs`, from the messages noted meanwhile; `mainWindow` owns the receive timer.
GapAccount AccountForGap(double fromMs, double tickEndMs, double toMs, double periodMs,
                         const std::vector<DispatchRecord>& dispatches, HWND mainWindow, HWND textArea,
                         const HostSteal& steal);

// Two lines: how long, when (given the run's start), the tick that began it and how much longer
// than the timer's period the next one took; then what the thread did in the gap.
std::string Describe(const GapAccount& gap, std::optional<double> runStartMs);

}  // namespace bench
