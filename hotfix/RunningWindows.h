// What the running Windows says of itself in
// HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion, read through the registry
// seam: its build and update revision ("26100" and 4349 for 26100.4349), and
// whether it is installed as a server (InstallationType).
#pragma once

#include <cstdint>
#include <optional>

namespace WindowsHotfix {

struct WindowsBuild {
    uint32_t build = 0;     // CurrentBuildNumber, written as text
    uint32_t revision = 0;  // UBR, a DWORD
};

// Nothing (logged) when either value is missing or not of its shape.
std::optional<WindowsBuild> ReadRunningBuild();

// Windows Server 2019 (build 17763) or later, where Microsoft's servicing
// guidance says not to uninstall with the standalone installer: InstallationType
// is "Server" or "Server Core" and CurrentBuildNumber at least 17763. False when
// that cannot be told (logged), so the installer stays.
bool IsServerWithoutInstaller();

}  // namespace WindowsHotfix
