// Stand-ins for the Windows system calls on other systems: named mutexes
// known within this process, the last error per thread, a real current
// directory, recorded message boxes and the executable's own path.
#include <errno.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "winapi/PosixStandIn.h"
#include "winapi/TextConversion.h"
#include "winapi/WinApi.h"
#include "winapi/WinApiTesting.h"

namespace WinApi {
namespace {

constexpr std::uint32_t kErrorSuccess = 0;
constexpr int kIdOk = 1;

thread_local std::uint32_t t_lastError = kErrorSuccess;

// Process-wide state; leaked on purpose (see PosixStandIn.h).
struct StandInState {
    std::map<HANDLE, std::shared_ptr<PosixStandIn::HandleObject>> handles;
    std::uintptr_t nextHandle = 0x100;
    std::map<std::wstring, int> mutexHandleCounts;       // named mutex -> open handles
    std::map<std::wstring, bool> mutexByAdministrators;  // named mutex -> its creator's SD
    std::vector<Testing::MessageBoxCall> messageBoxes;
    std::wstring moduleFileName;
    std::wstring windowsDirectory;
    std::wstring systemDirectory;
    std::wstring currentDirectory;
};

PosixStandIn::Guarded<StandInState>& State() {
    return PosixStandIn::Guarded<StandInState>::Leaked();
}

class NamedMutex : public PosixStandIn::HandleObject {
public:
    explicit NamedMutex(std::wstring name) : m_name(std::move(name)) {}
    void Close() override {
        if (m_name.empty()) return;
        auto state = State().Locked();
        auto it = state->mutexHandleCounts.find(m_name);
        if (it != state->mutexHandleCounts.end() && --it->second <= 0) {
            state->mutexHandleCounts.erase(it);
            state->mutexByAdministrators.erase(m_name);
        }
    }
    void Forget() { m_name.clear(); }

private:
    std::wstring m_name;
};

std::wstring ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    return length > 0 ? Strconv::Utf8ToWide(std::string(buffer, static_cast<size_t>(length)))
                      : std::wstring();
}

}  // namespace

namespace PosixStandIn {

void SetLastError(std::uint32_t error) {
    t_lastError = error;
}

HANDLE RegisterHandle(std::shared_ptr<HandleObject> object) {
    auto state = State().Locked();
    HANDLE handle = reinterpret_cast<HANDLE>(state->nextHandle);
    state->nextHandle += 4;
    state->handles[handle] = std::move(object);
    return handle;
}

std::shared_ptr<HandleObject> FindHandle(HANDLE handle) {
    auto state = State().Locked();
    auto it = state->handles.find(handle);
    return it == state->handles.end() ? nullptr : it->second;
}

std::shared_ptr<HandleObject> TakeHandle(HANDLE handle) {
    auto state = State().Locked();
    auto it = state->handles.find(handle);
    if (it == state->handles.end()) return nullptr;
    std::shared_ptr<HandleObject> object = std::move(it->second);
    state->handles.erase(it);
    return object;
}

void CloseInheritedDescriptorsOnExec(int highestDescriptor) {
#ifdef SYS_close_range
    constexpr unsigned kCloseRangeCloexec = 1u << 2;  // CLOSE_RANGE_CLOEXEC
    if (syscall(SYS_close_range, 3u, ~0u, kCloseRangeCloexec) == 0) return;
#endif
    for (int fd = 3; fd <= highestDescriptor; ++fd) fcntl(fd, F_SETFD, FD_CLOEXEC);
}

int HighestDescriptor() {
    const long limit = sysconf(_SC_OPEN_MAX);
    return limit > 0 && limit < 65536 ? static_cast<int>(limit) - 1 : 65535;
}

int AwaitExecOutcome(int readDescriptor) {
    int execError = 0;
    ssize_t got;
    do got = read(readDescriptor, &execError, sizeof(execError));
    while (got < 0 && errno == EINTR);
    close(readDescriptor);
    return got > 0 ? execError : 0;
}

}  // namespace PosixStandIn

namespace PosixStandIn {

HANDLE CreateNamedMutex(const std::wstring& name, bool administratorsOwn, bool& existed,
                        bool& byAdministrators) {
    existed = false;
    byAdministrators = administratorsOwn;
    if (!name.empty()) {
        auto state = State().Locked();
        existed = state->mutexHandleCounts[name]++ > 0;
        if (!existed) state->mutexByAdministrators[name] = administratorsOwn;
        byAdministrators = state->mutexByAdministrators[name];
    }
    HANDLE handle = RegisterHandle(std::make_shared<NamedMutex>(name));
    t_lastError = existed ? static_cast<std::uint32_t>(ERROR_ALREADY_EXISTS) : kErrorSuccess;
    return handle;
}

}  // namespace PosixStandIn

HANDLE CreateMutexW(void*, BOOL, const wchar_t* name) {
    bool existed = false, byAdministrators = false;
    return PosixStandIn::CreateNamedMutex(name != nullptr ? name : L"", false, existed,
                                          byAdministrators);
}

uint32_t GetLastError() {
    return t_lastError;
}

BOOL CloseHandle(HANDLE handle) {
    std::shared_ptr<PosixStandIn::HandleObject> object = PosixStandIn::TakeHandle(handle);
    if (!object) {
        t_lastError = kErrorInvalidHandle;
        return FALSE;
    }
    object->Close();
    return TRUE;
}

BOOL SetCurrentDirectoryW(const wchar_t* path) {
    std::wstring folder = path != nullptr ? path : L"";
    for (wchar_t& c : folder)
        if (c == L'\\') c = L'/';
    if (folder.empty() || chdir(Strconv::WideToUtf8(folder).c_str()) != 0) {
        t_lastError = kErrorFileNotFound;
        return FALSE;
    }
    auto state = State().Locked();
    state->currentDirectory = path;
    return TRUE;
}

int MessageBoxW(HWND, const wchar_t* text, const wchar_t* caption, UINT type) {
    auto state = State().Locked();
    state->messageBoxes.push_back(
        {text != nullptr ? text : L"", caption != nullptr ? caption : L"", type});
    return kIdOk;
}

uint32_t GetModuleFileNameW(void*, wchar_t* buffer, uint32_t size) {
    std::wstring path;
    {
        auto state = State().Locked();
        path = state->moduleFileName;
    }
    if (path.empty()) path = ExecutablePath();
    if (buffer == nullptr || size == 0) {
        t_lastError = kErrorInsufficientBuffer;
        return 0;
    }
    const uint32_t copied = static_cast<uint32_t>(std::min<size_t>(path.size(), size - 1));
    path.copy(buffer, copied);
    buffer[copied] = L'\0';
    if (path.size() >= size) {
        t_lastError = kErrorInsufficientBuffer;
        return size;
    }
    t_lastError = kErrorSuccess;
    return copied;
}

// A folder's text as the GetXxxDirectoryW calls give it back.
static uint32_t CopyFolder(const std::wstring& path, wchar_t* buffer, uint32_t size) {
    if (buffer == nullptr || size <= path.size()) return static_cast<uint32_t>(path.size() + 1);
    path.copy(buffer, path.size());
    buffer[path.size()] = L'\0';
    return static_cast<uint32_t>(path.size());
}

uint32_t GetSystemWindowsDirectoryW(wchar_t* buffer, uint32_t size) {
    std::wstring path;
    {
        auto state = State().Locked();
        path = state->windowsDirectory;
    }
    return CopyFolder(path.empty() ? L"C:\\Windows" : path, buffer, size);
}

uint32_t GetSystemDirectoryW(wchar_t* buffer, uint32_t size) {
    std::wstring path;
    {
        auto state = State().Locked();
        path = state->systemDirectory;
    }
    return CopyFolder(path.empty() ? L"C:\\Windows\\System32" : path, buffer, size);
}

bool RunsUnderWine() {
    return false;
}

namespace Testing {

std::vector<MessageBoxCall> MessageBoxCalls() {
    return State().Locked()->messageBoxes;
}

void SetModuleFileName(const std::wstring& path) {
    auto state = State().Locked();
    state->moduleFileName = path;
}

void SetWindowsDirectory(const std::wstring& path) {
    auto state = State().Locked();
    state->windowsDirectory = path;
}

void SetSystemDirectory(const std::wstring& path) {
    auto state = State().Locked();
    state->systemDirectory = path;
}

std::wstring CurrentDirectory() {
    return State().Locked()->currentDirectory;
}

int NamedMutexHandles(const std::wstring& name) {
    auto state = State().Locked();
    auto it = state->mutexHandleCounts.find(name);
    return it == state->mutexHandleCounts.end() ? 0 : it->second;
}

void Reset() {
    auto state = State().Locked();
    state->messageBoxes.clear();
    state->mutexHandleCounts.clear();
    state->mutexByAdministrators.clear();
    for (auto& entry : state->handles)
        if (auto* named = dynamic_cast<NamedMutex*>(entry.second.get())) named->Forget();
}

}  // namespace Testing
}  // namespace WinApi
