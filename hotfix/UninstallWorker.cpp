// The removal workers. Workers are detached and nothing joins them, so the
// process exits without waiting for the installer or the servicing API; a worker reports through
// the service, which outlives it (see WindowsHotfixHelper.cpp). The window's
// own callback checks that the window still exists before it queues anything
// to the UI thread.
#include "hotfix/UninstallWorker.h"

#include <chrono>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>

#include "hotfix/ServicingStore.h"
#include "hotfix/UninstallCodes.h"
#include "hotfix/WindowsHotfixHelper.h"
#include "hotfix/WindowsHotfixTesting.h"
#include "support/DetachedThreads.h"
#include "support/KtLogger.h"
#include "winapi/Dism.h"
#include "winapi/ProcessLaunch.h"
#include "winapi/ProtectedFolder.h"
#include "winapi/WinApi.h"

namespace WindowsHotfix {

namespace {

constexpr const char* kWorkerName =
    "WindowsHotfix::WindowsHotfixHelper::StartUninstallHotfix::UninstallWorker";
constexpr const char* kRemovalName =
    "WindowsHotfix::WindowsHotfixHelper::StartRemovePackage::RemovalWorker";
constexpr int kNoThreadCode = 1450;         // ERROR_NO_SYSTEM_RESOURCES
constexpr uint32_t kCancelledCode = 1223;   // ERROR_CANCELLED
constexpr uint32_t kErrorPathNotFound = 3;  // ERROR_PATH_NOT_FOUND
// The store reads around one removal, each: read quietly, so a slow or absent
// store costs at most this before the launch and writes nothing unless it decides.
constexpr std::chrono::milliseconds kStoreReadBudget{200};

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

std::wstring SystemFolder() {
    wchar_t folder[1024];
    const uint32_t length = WinApi::GetSystemDirectoryW(folder, 1024);
    return length > 0 && length < 1024 ? std::wstring(folder, length) : std::wstring();
}

// What became of the installer: only an exit code is its outcome; a start or
// wait failure is a failure whatever its system error says (0 included).
struct InstallerRun {
    bool started = false;
    bool exited = false;
    uint32_t code = 0;  // the exit code, else the system error or wait result
};

// Start, wait, read the exit code; each failure is logged once (a failed start
// under the launch failure's established line). The installer starts in the
// system folder, so nothing of the user's current folder reaches it.
InstallerRun RunInstaller(const std::wstring& parameters, HANDLE& process) {
    const std::wstring folder = SystemFolder();
    WinApi::ProcessStart start;
    start.application = InstallerPath();
    start.commandLine = L"\"" + start.application + L"\"" + parameters;
    start.currentDirectory = folder;
    if (folder.empty() || !WinApi::CreateProcessW(start, &process)) {
        const uint32_t error = folder.empty() ? kErrorPathNotFound : WinApi::GetLastError();
        KT_LOG(LOG_ERROR, L"ShellExecute exe fail! ret:" << error, kWorkerName);
        return {false, false, error};
    }
    const uint32_t waited = WinApi::WaitForSingleObject(process, WinApi::kInfinite);
    if (waited != WinApi::kWaitObject0) {
        KT_LOG(LOG_ERROR, L"WaitForSingleObject out time, ret:" << waited, kWorkerName);
        return {true, false, waited};
    }
    uint32_t exitCode = 0;
    if (!WinApi::GetExitCodeProcess(process, &exitCode)) {
        const uint32_t error = WinApi::GetLastError();
        KT_LOG(LOG_ERROR, L"GetExitCodeProcess fail! ret:" << error, kWorkerName);
        return {true, false, error};
    }
    return {true, true, exitCode};
}

// The number after "/kb:" in the installer's parameters.
std::wstring NumberIn(const std::wstring& parameters) {
    const size_t at = parameters.find(L"/kb:");
    if (at == std::wstring::npos) return {};
    size_t end = at + 4;
    while (end < parameters.size() && parameters[end] >= L'0' && parameters[end] <= L'9') ++end;
    return parameters.substr(at + 4, end - at - 4);
}

bool CodeSaidRemoved(const RemovalOutcome& outcome) {
    return outcome.status == UNINSTALL_SUCCESS || outcome.status == UNINSTALL_NEED_RESTART;
}

// After a removal, the store decides where it knew the packages before: gone
// is removed, pending removal is removed once the PC restarts, and still there
// after a code that said removed is a failure. Elsewhere the code decides. Only
// an answer the store decides is logged. `what` names the update in the line.
RemovalOutcome DecideByStore(const std::wstring& what, const RemovalOutcome& byCode,
                             const std::optional<std::vector<std::wstring>>& before,
                             const char* function) {
    if (!before || before->empty()) {
        if (byCode.reason.code == kAlreadyUninstalledCode)
            KT_LOG(LOG_ERROR, what << L" not removed: no package of it known before", function);
        return byCode;
    }
    const bool alreadyUninstalled = byCode.reason.code == kAlreadyUninstalledCode;
    switch (ReadRemovalVerdict(*before, kStoreReadBudget)) {
        case StoreVerdict::Gone:
            if (byCode.status == UNINSTALL_SUCCESS) return byCode;
            KT_LOG(LOG_ERROR, what << L" removed: no package of it left", function);
            return {UNINSTALL_SUCCESS, {}};
        case StoreVerdict::RemovalPending:
            if (byCode.status == UNINSTALL_NEED_RESTART) return byCode;
            KT_LOG(LOG_ERROR, what << L" removed once windows restarts: packages pending removal",
                   function);
            return {UNINSTALL_NEED_RESTART, {}};
        case StoreVerdict::StillInstalled:
            if (!CodeSaidRemoved(byCode) && !alreadyUninstalled) return byCode;
            KT_LOG(LOG_ERROR, what << L" not removed: packages still present", function);
            return CodeSaidRemoved(byCode) ? RemovalOutcome{UNINSTALL_FAIL, {}} : byCode;
        case StoreVerdict::Unknown:
            break;
    }
    if (alreadyUninstalled)
        KT_LOG(LOG_ERROR, what << L" not removed: packages still present:unknown", function);
    return byCode;
}

RemovalOutcome InstallerOutcome(int code) {
    return OutcomeOfCode(code, RemovalSource::Installer, IsRestartPendingQuiet);
}

void RunWorker(const std::wstring& parameters, WindowsHotfixHelper* service) {
    const std::wstring number = NumberIn(parameters);
    const std::optional<std::vector<std::wstring>> before =
        number.empty() ? std::nullopt : RemovablePackagesOf(number, kStoreReadBudget);
    HANDLE process = nullptr;
    const InstallerRun run = RunInstaller(parameters, process);
    if (process != nullptr) WinApi::CloseHandle(process);
    const int code = static_cast<int>(run.code);
    if (!run.started) {
        // A start that Windows reports as cancelled keeps the row as it was.
        if (run.code == kCancelledCode)
            return service->ReportUninstallOutcome(code, {UNINSTALL_CANCEL, {}});
        return service->ReportUninstallOutcome(code, FallbackOutcome(run.code));
    }
    const RemovalOutcome byCode = run.exited ? InstallerOutcome(code) : FallbackOutcome(run.code);
    service->ReportUninstallOutcome(code,
                                    DecideByStore(L"KB" + number, byCode, before, kWorkerName));
}

// Logs a failed servicing API call with DISM's message (read on this thread,
// right after the call, as the API keeps it per thread).
void LogDismFailure(const wchar_t* call, uint32_t result) {
    const std::wstring message = WinApi::DismLastErrorMessage();
    KT_LOG(LOG_ERROR, call << L" fail! ret:" << HexCode(result) << L" message:" << message,
           kRemovalName);
}

// The result of DismRemovePackage, or of the call before it that failed
// (`removing` false: a failure whatever its code).
uint32_t RemovePackage(const std::wstring& name, WindowsHotfixHelper* service, bool& removing) {
    removing = false;
    // The servicing API's scratch files go where only administrators can write;
    // without such a folder it keeps to its own default.
    uint32_t folderError = 0;
    const std::wstring scratch = WinApi::ProtectedProgramDataFolder(L"Scratch", folderError);
    if (scratch.empty())
        KT_LOG(LOG_ERROR, L"no protected scratch folder! ret:" << folderError, kRemovalName);
    uint32_t result = WinApi::DismInitialize(scratch);
    if (result != 0) {
        LogDismFailure(L"DismInitialize", result);
        return result;
    }
    WinApi::DismSessionId session = 0;
    result = WinApi::DismOpenOnlineSession(&session);
    if (result != 0) {
        LogDismFailure(L"DismOpenSession", result);
    } else {
        KT_LOG(LOG_ERROR, L"remove package:" << name, kRemovalName);
        removing = true;
        int reported = -1;
        result = WinApi::DismRemovePackageByName(
            session, name, [service, &reported](uint32_t current, uint32_t total) {
                const uint64_t scaled = total == 0 ? 0 : uint64_t{current} * 100 / total;
                const int percent = static_cast<int>(scaled > 100 ? 100 : scaled);
                if (percent == reported) return;
                reported = percent;
                service->ReportUninstallProgress(percent);
            });
        if (result != 0 && !CodeSaidRemoved(OutcomeOfCode(static_cast<int>(result),
                                                          RemovalSource::ServicingApi, nullptr)))
            LogDismFailure(L"DismRemovePackage", result);
        if (const uint32_t closed = WinApi::DismCloseSession(session))
            KT_LOG(LOG_ERROR, L"DismCloseSession fail! ret:" << HexCode(closed), kRemovalName);
    }
    if (const uint32_t shut = WinApi::DismShutdown())
        KT_LOG(LOG_ERROR, L"DismShutdown fail! ret:" << HexCode(shut), kRemovalName);
    return result;
}

using Run = void (*)(const std::wstring& argument, WindowsHotfixHelper* service);

void RunRemoval(const std::wstring& packageName, WindowsHotfixHelper* service) {
    std::optional<std::vector<std::wstring>> before;
    if (ReadRemovalVerdict({packageName}, kStoreReadBudget) == StoreVerdict::StillInstalled)
        before = std::vector<std::wstring>{packageName};
    bool removing = false;
    const int code = static_cast<int>(RemovePackage(packageName, service, removing));
    if (!removing) return service->ReportUninstallOutcome(code, FallbackOutcome(code));
    const RemovalOutcome byCode =
        OutcomeOfCode(code, RemovalSource::ServicingApi, IsRestartPendingQuiet);
    service->ReportUninstallOutcome(code, DecideByStore(packageName, byCode, before, kRemovalName));
}

// Starts `run` on a detached worker with its own copy of `argument`; without
// a thread (or memory for the copy), reports a failure on this thread.
void StartReportingWorker(Run run, const std::wstring& argument, WindowsHotfixHelper* service,
                          const char* function) {
    try {
        StartDetached([run, argument, service] { run(argument, service); });
    } catch (const std::system_error& error) {
        KT_LOG(LOG_ERROR, L"create uninstall thread fail! ret:" << error.code().value(), function);
        service->ReportUninstallOutcome(kNoThreadCode, FallbackOutcome(kNoThreadCode));
    } catch (const std::exception&) {  // e.g. std::bad_alloc for the copy
        KT_LOG(LOG_ERROR, L"create uninstall worker fail! ret:" << kNoThreadCode, function);
        service->ReportUninstallOutcome(kNoThreadCode, FallbackOutcome(kNoThreadCode));
    }
}

}  // namespace

std::wstring InstallerPath() {
    const std::wstring folder = SystemFolder();
    return folder.empty() ? std::wstring() : folder + L"\\wusa.exe";
}

void StartUninstallWorker(const std::wstring& parameters, WindowsHotfixHelper* service) {
    StartReportingWorker(RunWorker, parameters, service,
                         "WindowsHotfix::WindowsHotfixHelper::StartUninstallHotfix");
}

void StartPackageRemovalWorker(const std::wstring& packageName, WindowsHotfixHelper* service) {
    StartReportingWorker(RunRemoval, packageName, service,
                         "WindowsHotfix::WindowsHotfixHelper::StartRemovePackage");
}

namespace Testing {
void SetThreadStarter(ThreadStarter starter) {
    std::lock_guard<std::mutex> lock(g_starterMutex);
    g_starter = std::move(starter);
}
}  // namespace Testing

}  // namespace WindowsHotfix
