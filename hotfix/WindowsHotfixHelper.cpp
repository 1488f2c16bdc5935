#include "hotfix/WindowsHotfixHelper.h"

#include "hotfix/UninstallReporter.h"
#include "hotfix/UninstallWorker.h"
#include "support/KtLogger.h"
#include "support/WMIHelper.h"

namespace WindowsHotfix {

namespace {
constexpr const char* kEnumerationName = "WindowsHotfix::WindowsHotfixHelper::GetInstalledHotFixes";
}

WindowsHotfixHelper::WindowsHotfixHelper() : m_reporter(std::make_shared<UninstallReporter>()) {}

// Workers that still run keep the reporter alive; closing it drops their
// late statuses instead of calling into a window that is gone.
WindowsHotfixHelper::~WindowsHotfixHelper() {
    m_reporter->Close();
}

WindowsHotfixHelper* WindowsHotfixHelper::GetInstance() {
    static WindowsHotfixHelper instance;
    return &instance;
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
    m_reporter->SetCallback(std::move(callback));
}

void WindowsHotfixHelper::StartUninstallHotfix(const std::wstring& parameters) {
    StartUninstallWorker(parameters, m_reporter);
}

void WindowsHotfixHelper::SetUninstallStatus(int code) {
    m_reporter->Report(code);
}

}  // namespace WindowsHotfix
