// One uninstall: runs the installer elevated on its own detached thread and
// reports the outcome through the service's SetUninstallStatus.
#pragma once

#include <string>

namespace WindowsHotfix {

class WindowsHotfixHelper;

extern const wchar_t* const kInstallerPath;  // "C:\Windows\System32\wusa.exe"

// Copies the parameters and starts the worker; returns at once. If no thread
// can be started, reports a failure on the calling thread instead. The
// service must outlive the worker (the process's one service always does).
void StartUninstallWorker(const std::wstring& parameters, WindowsHotfixHelper* service);

}  // namespace WindowsHotfix
