// The hotfix service: enumerates installed hotfixes and removes one at a time
// through the Windows Update Standalone Installer on a worker thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "hotfix/UninstallReporter.h"
#include "hotfix/UninstallStatus.h"
#include "support/HotfixInfo.h"

namespace WindowsHotfix {

class WindowsHotfixHelper {
public:
    // The one instance; it is never destroyed (see WindowsHotfixHelper.cpp).
    static WindowsHotfixHelper* GetInstance();

    // Blocking. 0: at least one record; 1: the query failed; 2: no record.
    // Appends to the caller's list without clearing it first.
    int GetInstalledHotFixes(std::vector<HotfixInfo>& hotfixes);

    // UI thread, before any uninstall starts. The callback runs on a worker thread.
    void SetUninstallStatusCallback(std::function<void(UninstallStatus)> callback);
    // Starts the installer with these parameters on a detached worker; returns at once.
    void StartUninstallHotfix(const std::wstring& parameters);
    // The one way an uninstall reports, from any thread: logs the raw outcome
    // (exit code, system error or wait result), maps it and hands the status
    // to the callback.
    void SetUninstallStatus(int code);

private:
    WindowsHotfixHelper() = default;
    ~WindowsHotfixHelper() = default;
    UninstallReporter m_reporter;  // the callback
};

}  // namespace WindowsHotfix
