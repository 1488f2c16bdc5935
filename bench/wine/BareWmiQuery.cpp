// The floor for the time from start to list under Wine: a program that runs
// only the program's WMI query (the same WMIHelper, namespace and query),
// prints the seconds from its process's creation to the answer and exits.
// scripts/bench.sh --wine compares OrvelleEx.exe against it.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "ProcessClock_win.h"
#include "support/WMIHelper.h"

int wmain() {
    std::vector<HotfixInfo> hotfixes;
    WMIHelper wmi(L"ROOT\\CIMV2");
    const bool ok = wmi.SelectStrA(L"SELECT * FROM Win32_QuickFixEngineering", hotfixes);
    const double seconds = SecondsSinceProcessCreation();
    std::printf("answered after %.4f\nquery %s, %u records\n", seconds, ok ? "ran" : "failed",
                static_cast<unsigned>(hotfixes.size()));
    return ok ? 0 : 1;
}
