// One installed hotfix as the system reports it; every member may be empty.
#pragma once

#include <string>

struct HotfixInfo {
    std::wstring HotFixID;
    std::wstring Description;
    std::wstring InstalledOn;
};
