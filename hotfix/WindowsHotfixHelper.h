// The hotfix service: enumerates installed hotfixes and removes one at a time
// on a worker thread, through the Windows Update Standalone Installer or, for
// a cumulative update, through the servicing API by package name.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hotfix/UninstallCodes.h"
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
    // UI thread, before any uninstall starts: why the next status came, called
    // on the worker thread just before the status callback.
    void SetUninstallReasonCallback(std::function<void(const UninstallReason& reason)> callback);
    // UI thread, before any removal starts: progress 0..100 of a package
    // removal, called on the worker thread.
    void SetUninstallProgressCallback(std::function<void(int percent)> callback);
    // Starts the installer with these parameters (" /uninstall /kb:<number>")
    // on a detached worker; returns at once.
    void StartUninstallHotfix(const std::wstring& parameters);
    // Removes one servicing package by name through the servicing API on a
    // detached worker; returns at once. Reports like the installer does.
    void StartRemovePackage(const std::wstring& packageName);
    // The installer's code, from any thread: logs it, maps it (UninstallCodes.h)
    // and hands the status and its reason to the callbacks.
    void SetUninstallStatus(int code);
    // The one way a removal reports: logs the raw outcome (exit code or
    // servicing API result) and hands on the outcome decided for it (by the
    // code's table, a failed start, or the store read after the removal).
    void ReportUninstallOutcome(int code, const RemovalOutcome& outcome);
    void ReportUninstallProgress(int percent);

    // Restarts Windows now (shutdown privilege, then InitiateShutdownW): 0, or
    // the system error, logged here.
    uint32_t RestartWindows();

private:
    WindowsHotfixHelper() = default;
    ~WindowsHotfixHelper() = default;

    UninstallReporter m_reporter;  // the callback
};

}  // namespace WindowsHotfix
