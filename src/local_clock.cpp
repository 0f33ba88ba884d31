#include "local_clock.h"

#include <windows.h>

core::DateTime LocalNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return core::EncodeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}
