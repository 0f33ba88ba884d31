// Wall-clock time for the benchmark in milliseconds, from the performance counter (these sources
// are compiled for code page 932, where <chrono> cannot be used).
#pragma once

#include <windows.h>

namespace bench {

inline double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

}  // namespace bench
