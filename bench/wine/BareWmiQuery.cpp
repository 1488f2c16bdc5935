// The floor for the time from start to list under Wine: a program that runs
// only the program's WMI query (the same WMIHelper, namespace and query),
// prints the wall-clock time at which the answer was there (seconds since
// 1970, as the measurement compares it with the launch) and exits.
// scripts/bench.sh --wine compares OrvelleEx.exe against it.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "support/WMIHelper.h"

int wmain() {
    std::vector<HotfixInfo> hotfixes;
    WMIHelper wmi(L"ROOT\\CIMV2");
    const bool ok = wmi.SelectStrA(L"SELECT * FROM Win32_QuickFixEngineering", hotfixes);
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    const double seconds =
        static_cast<double>(ticks - 116444736000000000ULL) / 1e7;  // from 1601 to 1970
    std::printf("answered %.3f\nquery %s, %u records\n", seconds, ok ? "ran" : "failed",
                static_cast<unsigned>(hotfixes.size()));
    return ok ? 0 : 1;
}
