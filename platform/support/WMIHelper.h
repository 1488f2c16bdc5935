// A WMI query object bound to one namespace. Use on one thread.
#pragma once

#include <string>
#include <vector>

#include "support/HotfixInfo.h"

class WMIHelper {
public:
    explicit WMIHelper(std::wstring wmiNamespace);
    ~WMIHelper();
    WMIHelper(const WMIHelper&) = delete;
    WMIHelper& operator=(const WMIHelper&) = delete;

    // Appends one record per returned instance ("HotFixID", "Description",
    // "InstalledOn" as text), in the order delivered; false on any failure.
    bool SelectStrA(std::wstring query, std::vector<HotfixInfo>& results);

private:
    std::wstring m_namespace;
};
