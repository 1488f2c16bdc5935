// The hotfix service.
//
// Lifetime: uninstall workers are detached and wait for the installer without
// a time limit, so one may report while the process exits. The service is
// therefore never destroyed: a worker holds it and calls SetUninstallStatus
// whenever its installer ends. What the callback reaches (the main window's
// token, the UI queue) is destroyed with the process's statics, so the
// callback is closed then: Close waits for a callback that is running and
// drops every later status (its log line is still written; the logger is
// never destroyed either).
#include "hotfix/WindowsHotfixHelper.h"

#include "hotfix/ServicingStore.h"
#include "hotfix/UninstallWorker.h"
#include "support/KtLogger.h"
#include "support/WMIHelper.h"
#include "winapi/Shutdown.h"

namespace WindowsHotfix {

namespace {
constexpr const char* kEnumerationName = "WindowsHotfix::WindowsHotfixHelper::GetInstalledHotFixes";
}

WindowsHotfixHelper* WindowsHotfixHelper::GetInstance() {
    static WindowsHotfixHelper* const instance = new WindowsHotfixHelper();
    static const struct CallbackCloser {
        ~CallbackCloser() { instance->m_reporter.Close(); }
    } closer;
    return instance;
}

int WindowsHotfixHelper::GetInstalledHotFixes(std::vector<HotfixInfo>& hotfixes) {
    KT_LOG(LOG_INFO, L"get install hotfix start!", kEnumerationName);
    int result = 0;
    {
        WMIHelper wmi(L"ROOT\\CIMV2");
        if (!wmi.SelectStrA(L"SELECT * FROM Win32_QuickFixEngineering", hotfixes)) {
            KT_LOG(LOG_ERROR, L"select property by wmi fail!", kEnumerationName);
            result = 1;
        } else {
            result = hotfixes.empty() ? 2 : 0;
        }
    }
    KT_LOG(LOG_INFO, L"get install hotfix end!", kEnumerationName);
    return result;
}

void WindowsHotfixHelper::SetUninstallStatusCallback(
    std::function<void(UninstallStatus)> callback) {
    m_reporter.SetCallback(std::move(callback));
}

void WindowsHotfixHelper::StartUninstallHotfix(const std::wstring& parameters) {
    StartUninstallWorker(parameters, this);
}

void WindowsHotfixHelper::SetUninstallProgressCallback(std::function<void(int percent)> callback) {
    m_reporter.SetProgressCallback(std::move(callback));
}

void WindowsHotfixHelper::StartRemovePackage(const std::wstring& packageName) {
    StartPackageRemovalWorker(packageName, this);
}

void WindowsHotfixHelper::SetUninstallReasonCallback(
    std::function<void(const UninstallReason& reason)> callback) {
    m_reporter.SetReasonCallback(std::move(callback));
}

void WindowsHotfixHelper::SetUninstallStatus(int code) {
    ReportUninstallOutcome(code,
                           OutcomeOfCode(code, RemovalSource::Installer, IsRestartPendingQuiet));
}

void WindowsHotfixHelper::ReportUninstallOutcome(int code, const RemovalOutcome& outcome) {
    constexpr const char* kFunction = "WindowsHotfix::WindowsHotfixHelper::SetUninstallStatus";
    KT_LOG(LOG_ERROR, L"update uninstall status:" << code, kFunction);
    // A code the table does not hold is read against Microsoft's lists, which
    // write it in hexadecimal ("-2147024809" is 0x80070057).
    if (!IsKnownUninstallCode(code)) {
        KT_LOG(LOG_ERROR, L"uninstall code in hexadecimal:" << HexCode(static_cast<uint32_t>(code)),
               kFunction);
    }
    m_reporter.Deliver(outcome.status, outcome.reason);
}

void WindowsHotfixHelper::ReportUninstallProgress(int percent) {
    m_reporter.DeliverProgress(percent);
}

uint32_t WindowsHotfixHelper::RestartWindows() {
    constexpr const char* kFunction = "WindowsHotfix::WindowsHotfixHelper::RestartWindows";
    if (const uint32_t error = WinApi::EnableShutdownPrivilege()) {
        KT_LOG(LOG_ERROR, L"enable shutdown privilege fail! ret:" << error, kFunction);
        return error;
    }
    const uint32_t error = WinApi::RequestShutdown(
        WinApi::kShutdownRestart | WinApi::kShutdownRestartApps,
        WinApi::kReasonMajorOperatingSystem | WinApi::kReasonMinorHotfixUninstall |
            WinApi::kReasonFlagPlanned);
    if (error != 0) {
        KT_LOG(LOG_ERROR, L"InitiateShutdownW fail! ret:" << error, kFunction);
    } else {
        KT_LOG(LOG_ERROR, L"restart of windows started", kFunction);
    }
    return error;
}

}  // namespace WindowsHotfix
