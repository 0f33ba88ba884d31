#include "working_set.h"

#include "bench_clock.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>

namespace bench {

std::uint64_t WorkingSetBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.WorkingSetSize;
}

void WorkingSetSampler::Sample(double minGapMs) {
    const double now = NowMs();
    if (now - lastAt < minGapMs) return;
    lastAt = now;
    lastBytes = WorkingSetBytes();
    maxBytes = std::max(maxBytes, lastBytes);
}

}  // namespace bench
