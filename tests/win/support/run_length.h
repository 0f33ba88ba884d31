// The tests' counts for an ordinary run and for the long run on demand (VARNEDO_LONG=1).
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

inline bool LongRun() {
    char value[8] = {};
    const DWORD length = GetEnvironmentVariableA("VARNEDO_LONG", value, sizeof value);
    return length > 0 && length < sizeof value && std::string(value) != "0";
}

template <typename T>
T Scaled(T ordinaryRun, T longRun) {
    return LongRun() ? longRun : ordinaryRun;
}

}  // namespace testsupport
