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
#include "winapi/ComApartment.h"
#include "winapi/Dism.h"
#include "winapi/ProcessLaunch.h"
#include "winapi/WinApi.h"

namespace WindowsHotfix {

const wchar_t* const kInstallerPath = L"C:\\Windows\\System32\\wusa.exe";

namespace {

constexpr const char* kWorkerName =
    "WindowsHotfix::WindowsHotfixHelper::StartUninstallHotfix::UninstallWorker";
constexpr const char* kRemovalName =
    "WindowsHotfix::WindowsHotfixHelper::StartRemovePackage::RemovalWorker";
constexpr int kNoThreadCode = 1450;            // ERROR_NO_SYSTEM_RESOURCES
constexpr uint32_t kElevationDeclined = 1223;  // ERROR_CANCELLED from ShellExecuteEx
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

// ShellExecuteEx may hand the launch to shell extensions, which are COM
// objects: COM is up for the call, and down again before the long wait, which
// pumps no messages. False with the system error when nothing was started.
bool Launch(WinApi::ShellExecuteRecord& record, uint32_t& error) {
    const WinApi::ComApartment com;
    if (WinApi::ShellExecuteExW(&record)) return true;
    error = WinApi::GetLastError();
    return false;
}

// What became of the installer: only an exit code is its outcome; a start or
// wait failure is a failure whatever its system error says (0 included).
struct InstallerRun {
    bool started = false;
    bool exited = false;
    uint32_t code = 0;  // the exit code, else the system error or wait result
};

// Launch, wait, read the exit code; each failure is logged once.
InstallerRun RunInstaller(const std::wstring& parameters, WinApi::ShellExecuteRecord& record) {
    record.cbSize = WinApi::ShellExecuteRecordSize();
    record.fMask = WinApi::kSeeMaskNoCloseProcess;
    record.lpVerb = L"runas";
    record.lpFile = kInstallerPath;
    record.lpParameters = parameters.c_str();
    record.nShow = WinApi::kSwShow;
    uint32_t error = 0;
    if (!Launch(record, error)) {
        KT_LOG(LOG_ERROR, L"ShellExecute exe fail! ret:" << error, kWorkerName);
        return {false, false, error};
    }
    const uint32_t waited = WinApi::WaitForSingleObject(record.hProcess, WinApi::kInfinite);
    if (waited != WinApi::kWaitObject0) {
        KT_LOG(LOG_ERROR, L"WaitForSingleObject out time, ret:" << waited, kWorkerName);
        return {true, false, waited};
    }
    uint32_t exitCode = 0;
    if (!WinApi::GetExitCodeProcess(record.hProcess, &exitCode)) {
        error = WinApi::GetLastError();
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
    WinApi::ShellExecuteRecord record;
    const InstallerRun run = RunInstaller(parameters, record);
    if (record.hProcess != nullptr) WinApi::CloseHandle(record.hProcess);
    const int code = static_cast<int>(run.code);
    if (!run.started) {
        // The one start failure that is no failure: the user said no to the elevation prompt.
        if (run.code == kElevationDeclined)
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
    uint32_t result = WinApi::DismInitialize();
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
