#include <windows.h>
// (first: the other Windows headers build on it)
#include <reason.h>

#include "winapi/Shutdown.h"

static_assert(WinApi::kShutdownRestart == SHUTDOWN_RESTART, "SHUTDOWN_RESTART");
static_assert(WinApi::kShutdownRestartApps == SHUTDOWN_RESTARTAPPS, "SHUTDOWN_RESTARTAPPS");
static_assert(WinApi::kReasonMajorOperatingSystem == SHTDN_REASON_MAJOR_OPERATINGSYSTEM,
              "SHTDN_REASON_MAJOR_OPERATINGSYSTEM");
static_assert(WinApi::kReasonMinorHotfixUninstall == SHTDN_REASON_MINOR_HOTFIX_UNINSTALL,
              "SHTDN_REASON_MINOR_HOTFIX_UNINSTALL");
static_assert(WinApi::kReasonFlagPlanned == SHTDN_REASON_FLAG_PLANNED, "SHTDN_REASON_FLAG_PLANNED");

namespace WinApi {

uint32_t EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return ::GetLastError();
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    ::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) &&
        ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    // Also after a successful adjustment: ERROR_NOT_ALL_ASSIGNED when the token lacks it.
    const uint32_t error = ::GetLastError();
    ::CloseHandle(token);
    return error;
}

uint32_t RequestShutdown(uint32_t flags, uint32_t reason) {
    return ::InitiateShutdownW(nullptr, nullptr, 0, flags, reason);
}

}  // namespace WinApi
