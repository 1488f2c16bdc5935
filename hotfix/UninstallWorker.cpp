// The uninstall worker. Workers are detached and nothing joins them, so the
// process exits without waiting for the installer; a worker reports through
// the service, which outlives it (see WindowsHotfixHelper.cpp). The window's
// own callback checks that the window still exists before it queues anything
// to the UI thread.
#include "hotfix/UninstallWorker.h"

#include <exception>
#include <memory>
#include <mutex>
#include <system_error>

#include "hotfix/WindowsHotfixHelper.h"
#include "hotfix/WindowsHotfixTesting.h"
#include "support/DetachedThreads.h"
#include "support/KtLogger.h"
#include "winapi/ComApartment.h"
#include "winapi/ProcessLaunch.h"
#include "winapi/WinApi.h"

namespace WindowsHotfix {

const wchar_t* const kInstallerPath = L"C:\\Windows\\System32\\wusa.exe";

namespace {

constexpr const char* kWorkerName =
    "WindowsHotfix::WindowsHotfixHelper::StartUninstallHotfix::UninstallWorker";
constexpr int kNoThreadCode = 1450;  // ERROR_NO_SYSTEM_RESOURCES

std::mutex g_starterMutex;
Testing::ThreadStarter g_starter;

void StartDetached(std::function<void()> work) {
    Testing::ThreadStarter starter;
    {
        std::lock_guard<std::mutex> lock(g_starterMutex);
        starter = g_starter;
    }
    if (starter) return starter(DetachedThreads::Counted(std::move(work)));
    DetachedThreads::Start(std::move(work));
}

// ShellExecuteEx may hand the launch to shell extensions, which are COM
// objects: COM is up for the call, and down again before the long wait, which
// pumps no messages. False with the system error when nothing was started.
bool Launch(WinApi::ShellExecuteRecord& record, uint32_t& error) {
    const WinApi::ComApartment com;
    if (WinApi::ShellExecuteExW(&record)) return true;
    error = WinApi::GetLastError();
    return false;
}

// Launch, wait, read the exit code; each failure is logged once. Returns the
// code to report.
uint32_t RunInstaller(const std::wstring& parameters, WinApi::ShellExecuteRecord& record) {
    record.cbSize = WinApi::ShellExecuteRecordSize();
    record.fMask = WinApi::kSeeMaskNoCloseProcess;
    record.lpVerb = L"runas";
    record.lpFile = kInstallerPath;
    record.lpParameters = parameters.c_str();
    record.nShow = WinApi::kSwShow;
    uint32_t error = 0;
    if (!Launch(record, error)) {
        KT_LOG(LOG_ERROR, L"ShellExecute exe fail! ret:" << error, kWorkerName);
        return error;
    }
    const uint32_t waited = WinApi::WaitForSingleObject(record.hProcess, WinApi::kInfinite);
    if (waited != WinApi::kWaitObject0) {
        KT_LOG(LOG_ERROR, L"WaitForSingleObject out time, ret:" << waited, kWorkerName);
        return waited;
    }
    uint32_t exitCode = 0;
    if (!WinApi::GetExitCodeProcess(record.hProcess, &exitCode)) {
        // An unread exit code is no success: the cause, a system error, maps to a failure.
        error = WinApi::GetLastError();
        KT_LOG(LOG_ERROR, L"GetExitCodeProcess fail! ret:" << error, kWorkerName);
        return error;
    }
    return exitCode;
}

void RunWorker(const std::wstring& parameters, WindowsHotfixHelper* service) {
    WinApi::ShellExecuteRecord record;
    const uint32_t code = RunInstaller(parameters, record);
    if (record.hProcess != nullptr) WinApi::CloseHandle(record.hProcess);
    service->SetUninstallStatus(static_cast<int>(code));
}

}  // namespace

void StartUninstallWorker(const std::wstring& parameters, WindowsHotfixHelper* service) {
    try {
        auto copy = std::make_shared<const std::wstring>(parameters);
        StartDetached([copy, service] { RunWorker(*copy, service); });
    } catch (const std::system_error& error) {
        KT_LOG(LOG_ERROR, L"create uninstall thread fail! ret:" << error.code().value(),
               "WindowsHotfix::WindowsHotfixHelper::StartUninstallHotfix");
        service->SetUninstallStatus(kNoThreadCode);
    } catch (const std::exception&) {  // e.g. std::bad_alloc for the copy
        KT_LOG(LOG_ERROR, L"create uninstall worker fail! ret:" << kNoThreadCode,
               "WindowsHotfix::WindowsHotfixHelper::StartUninstallHotfix");
        service->SetUninstallStatus(kNoThreadCode);
    }
}

namespace Testing {
void SetThreadStarter(ThreadStarter starter) {
    std::lock_guard<std::mutex> lock(g_starterMutex);
    g_starter = std::move(starter);
}
}  // namespace Testing

}  // namespace WindowsHotfix
