// Restarting Windows: enabling the process's shutdown privilege and
// InitiateShutdownW. Shutdown_win.cpp forwards to Windows; Shutdown_posix.cpp
// records the calls and shuts nothing down (ShutdownTesting.h).
#pragma once

#include <cstdint>

namespace WinApi {

constexpr uint32_t kShutdownRestart = 0x00000004;             // SHUTDOWN_RESTART
constexpr uint32_t kShutdownRestartApps = 0x00000080;         // SHUTDOWN_RESTARTAPPS
constexpr uint32_t kReasonMajorOperatingSystem = 0x00020000;  // SHTDN_REASON_MAJOR_OPERATINGSYSTEM
constexpr uint32_t kReasonMinorHotfixUninstall = 0x00000017;  // SHTDN_REASON_MINOR_HOTFIX_UNINSTALL
constexpr uint32_t kReasonFlagPlanned = 0x80000000;           // SHTDN_REASON_FLAG_PLANNED

// Enables SE_SHUTDOWN_NAME in the process token: 0, or the system error
// (ERROR_NOT_ALL_ASSIGNED 1300 when the token does not hold it).
uint32_t EnableShutdownPrivilege();
// InitiateShutdownW(NULL, NULL, 0, flags, reason): 0, or the system error. (Not
// named InitiateShutdown: <windows.h> makes that name a macro.)
uint32_t RequestShutdown(uint32_t flags, uint32_t reason);

}  // namespace WinApi
