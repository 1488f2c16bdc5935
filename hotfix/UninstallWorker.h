// One removal on its own detached thread, reported through the service: the
// system's installer (started by this elevated process, so elevated too), or
// one servicing package removed through the servicing API.
#pragma once

#include <string>

namespace WindowsHotfix {

class WindowsHotfixHelper;

// The system folder's wusa.exe ("C:\Windows\System32\wusa.exe" on a standard
// PC; the folder comes from Windows, not from a fixed drive); empty when
// Windows cannot name its system folder.
std::wstring InstallerPath();

// Copies the parameters and starts the worker; returns at once. If no thread
// can be started, reports a failure on the calling thread instead. The
// service must outlive the worker (the process's one service always does).
void StartUninstallWorker(const std::wstring& parameters, WindowsHotfixHelper* service);
// The same for the servicing API: DismInitialize, DismOpenSession (the running
// Windows), DismRemovePackage by name with progress, DismCloseSession,
// DismShutdown; a failure is logged with DISM's own message.
void StartPackageRemovalWorker(const std::wstring& packageName, WindowsHotfixHelper* service);

}  // namespace WindowsHotfix
