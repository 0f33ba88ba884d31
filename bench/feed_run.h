// One measured reception: the device simulator plays bytes into the port while the window's ticks
// take them in; then the text area is compared with what was sent.
#pragma once

#include "bench_form.h"
#include "stats.h"
#include "workspace.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace bench {

struct FeedResult {
    std::string error;  // empty when the run went to its end
    std::size_t sentBytes = 0;
    bool allArrived = false;  // the text area holds exactly what was sent (LF as CR LF)
    std::size_t firstDifference = 0;
    double feedMs = 0;        // from starting the simulator until it had written the last byte
    double receiveMs = 0;     // from the first tick that found bytes to the end of the last such tick
    double lagMs = 0;         // from the simulator's last write to the end of the last tick with bytes
    Summary ticks;            // the ticks that found bytes
    double longestGapMs = 0;  // longest time from one such tick's start to the next one's: how long
                              // bytes waited in the driver's queue at most
    double longestMessageMs = 0;
    double longestPaintMs = 0;

    double BytesPerSecond() const { return receiveMs > 0 ? sentBytes * 1000.0 / receiveMs : 0; }
};

// Plays `sent` into COM<port> at `rate` bytes per second (0: as fast as the line takes them) while
// the form's ticks run. `textBefore` is the text area's text (plus a held byte) before the run.
FeedResult Feed(BenchForm& bench, const Workspace& workspace, int port, std::uint64_t rate, std::string_view sent,
                const std::string& textBefore);

}  // namespace bench
