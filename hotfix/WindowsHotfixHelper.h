// The hotfix service: enumerates installed hotfixes and removes one at a time
// through the Windows Update Standalone Installer on a worker thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hotfix/UninstallStatus.h"
#include "support/HotfixInfo.h"

namespace WindowsHotfix {

class UninstallReporter;

class WindowsHotfixHelper {
public:
    static WindowsHotfixHelper* GetInstance();

    // Blocking. 0: at least one record; 1: the query failed; 2: no record.
    // Appends to the caller's list without clearing it first.
    int GetInstalledHotFixes(std::vector<HotfixInfo>& hotfixes);

    // UI thread, before any uninstall starts. The callback runs on a worker thread.
    void SetUninstallStatusCallback(std::function<void(UninstallStatus)> callback);
    // Starts the installer with these parameters on a detached worker; returns at once.
    void StartUninstallHotfix(const std::wstring& parameters);
    // Maps a raw outcome (exit code, system error or wait result) and reports it.
    void SetUninstallStatus(int code);

private:
    WindowsHotfixHelper();
    ~WindowsHotfixHelper();
    // Holds the callback; shared with running workers so that none of them
    // calls into this service or the callback's target after exit began.
    std::shared_ptr<UninstallReporter> m_reporter;
};

}  // namespace WindowsHotfix
