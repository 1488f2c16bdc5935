// The uninstall worker.
//
// Lifetime: the service is a function-local static destroyed at process
// exit, and the main window is deleted before that, while a worker may still
// wait for the installer (the wait has no time limit). So a worker never
// holds the service or the window: it holds, by shared_ptr, the
// UninstallReporter that keeps the callback. The service closes the reporter
// in its destructor; Close waits for a callback that is running and drops
// every later status (only its log line is written; the logger is never
// destroyed). Workers are detached and nothing joins them, so the process
// exits without waiting for the installer. The window's own callback checks
// that the window still exists before it queues anything to the UI thread.
#include "hotfix/UninstallWorker.h"

#include <exception>
#include <mutex>
#include <system_error>

#include "hotfix/WindowsHotfixTesting.h"
#include "support/DetachedThreads.h"
#include "support/KtLogger.h"
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

// Launch, wait, read the exit code; each failure is logged once. Returns the
// code to report and sets `unreadable` when the exit code could not be read.
uint32_t RunInstaller(const std::wstring& parameters, WinApi::ShellExecuteRecord& record,
                      bool& unreadable) {
    record.cbSize = WinApi::ShellExecuteRecordSize();
    record.fMask = WinApi::kSeeMaskNoCloseProcess;
    record.lpVerb = L"runas";
    record.lpFile = kInstallerPath;
    record.lpParameters = parameters.c_str();
    record.nShow = WinApi::kSwShow;
    if (!WinApi::ShellExecuteExW(&record)) {
        const uint32_t error = WinApi::GetLastError();
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
        // An unread exit code is no success: report the cause as a failure.
        const uint32_t error = WinApi::GetLastError();
        KT_LOG(LOG_ERROR, L"GetExitCodeProcess fail! ret:" << error, kWorkerName);
        unreadable = true;
        return error;
    }
    return exitCode;
}

void RunWorker(const std::wstring& parameters, const std::shared_ptr<UninstallReporter>& reporter) {
    WinApi::ShellExecuteRecord record;
    bool unreadable = false;
    const uint32_t code = RunInstaller(parameters, record, unreadable);
    if (record.hProcess != nullptr) WinApi::CloseHandle(record.hProcess);
    if (unreadable)
        reporter->Report(static_cast<int>(code), UNINSTALL_FAIL);
    else
        reporter->Report(static_cast<int>(code));
}

}  // namespace

void StartUninstallWorker(const std::wstring& parameters,
                          std::shared_ptr<UninstallReporter> reporter) {
    try {
        auto copy = std::make_shared<const std::wstring>(parameters);
        StartDetached([copy, reporter] { RunWorker(*copy, reporter); });
    } catch (const std::system_error& error) {
        KT_LOG(LOG_ERROR, L"create uninstall thread fail! ret:" << error.code().value(),
               "WindowsHotfix::WindowsHotfixHelper::StartUninstallHotfix");
        reporter->Report(kNoThreadCode, UNINSTALL_FAIL);
    } catch (const std::exception&) {  // e.g. std::bad_alloc for the copy
        KT_LOG(LOG_ERROR, L"create uninstall worker fail! ret:" << kNoThreadCode,
               "WindowsHotfix::WindowsHotfixHelper::StartUninstallHotfix");
        reporter->Report(kNoThreadCode, UNINSTALL_FAIL);
    }
}

namespace Testing {
void SetThreadStarter(ThreadStarter starter) {
    std::lock_guard<std::mutex> lock(g_starterMutex);
    g_starter = std::move(starter);
}
}  // namespace Testing

}  // namespace WindowsHotfix
