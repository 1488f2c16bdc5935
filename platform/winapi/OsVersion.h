// What the running Windows is, from RtlGetVersion: its build and product type.
// RtlGetVersion answers for the real system (GetVersionEx answers what the
// manifest's compatibility section lets it), and wProductType is how Windows
// tells client from server (IsWindowsServer() asks the same). OsVersion_win.cpp
// asks ntdll; OsVersion_posix.cpp answers what a test set (OsVersionTesting.h).
#pragma once

#include <cstdint>

namespace WinApi {

constexpr uint8_t kProductWorkstation = 1;       // VER_NT_WORKSTATION
constexpr uint8_t kProductDomainController = 2;  // VER_NT_DOMAIN_CONTROLLER
constexpr uint8_t kProductServer = 3;            // VER_NT_SERVER

struct OsVersion {
    uint32_t build = 0;       // dwBuildNumber
    uint8_t productType = 0;  // wProductType
};

// False (nothing set) when the version cannot be read.
bool GetOsVersion(OsVersion& version);

}  // namespace WinApi
