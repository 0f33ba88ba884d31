#include "host_steal.h"

#include "bench_clock.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace bench {

namespace {

// The kernel counts in USER_HZ, a hundred a second on every Linux Wine runs on.
constexpr double kMsPerClockTick = 10;

// The summed "cpu" line's eighth figure; -1 when the file cannot be read.
double ReadStealMs() {
    HANDLE file = CreateFileA("Z:\\proc\\stat", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    char text[512] = {};
    DWORD got = 0;
    const BOOL read = ReadFile(file, text, sizeof text - 1, &got, nullptr);
    CloseHandle(file);
    if (!read || got < 4 || std::string_view(text, 4) != "cpu ") return -1;
    const char* at = text + 4;
    double steal = -1;
    for (int field = 1; field <= 8; ++field) {
        char* end = nullptr;
        const unsigned long long value = std::strtoull(at, &end, 10);
        if (end == at) return -1;
        if (field == 8) steal = static_cast<double>(value) * kMsPerClockTick;
        at = end;
    }
    return steal;
}

}  // namespace

void HostSteal::Sample(double minGapMs) {
    if (missing) return;
    const double now = NowMs();
    if (!samples.empty() && now - samples.back().atMs < minGapMs) return;
    const double steal = ReadStealMs();
    if (steal < 0) {
        missing = true;
        return;
    }
    samples.push_back({now, steal});
}

double HostSteal::StealMsAround(double fromMs, double toMs, double& windowMs) const {
    const Point* before = nullptr;
    const Point* after = nullptr;
    for (const Point& p : samples) {
        if (p.atMs <= fromMs) before = &p;
        if (p.atMs >= toMs) {
            after = &p;
            break;
        }
    }
    if (!before || !after) return -1;
    windowMs = after->atMs - before->atMs;
    return after->stealMs - before->stealMs;
}

}  // namespace bench
