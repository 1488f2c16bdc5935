// Seconds from this process's creation (as Windows recorded it) to now. Each
// start-up measurement times itself with it, so the launcher's and the shell's
// own start-up drop out of what is compared.
#pragma once

#include <windows.h>

#include <cstdint>

inline double SecondsSinceProcessCreation() {
    FILETIME creation, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &creation, &exited, &kernel, &user)) return -1;
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(creation)) / 1e7;  // 100 ns units
}
