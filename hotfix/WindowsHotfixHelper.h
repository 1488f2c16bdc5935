// The hotfix service: enumerates installed hotfixes and removes one at a time
// on a worker thread, through the Windows Update Standalone Installer or, for
// a cumulative update, through the servicing API by package name.
#pragma once

#include <cstdint>
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
    // UI thread, before any removal starts: progress 0..100 of a package
    // removal, called on the worker thread.
    void SetUninstallProgressCallback(std::function<void(int percent)> callback);
    // Starts the installer with these parameters (" /uninstall /kb:<number>")
    // on a detached worker; returns at once.
    void StartUninstallHotfix(const std::wstring& parameters);
    // Removes one servicing package by name through the servicing API on a
    // detached worker; returns at once. Reports like the installer does.
    void StartRemovePackage(const std::wstring& packageName);
    // The one way a removal reports, from any thread: logs the raw outcome
    // (exit code or servicing API result), maps it and hands the status to
    // the callback.
    void SetUninstallStatus(int code);
    // As SetUninstallStatus, for an outcome decided other than by the code
    // alone (a failed start, or the store read after the installer).
    void ReportUninstallStatus(int code, UninstallStatus status);
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
