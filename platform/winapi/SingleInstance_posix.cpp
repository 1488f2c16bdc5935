// The single-instance stand-in: the named mutexes of this process's table,
// where a plain CreateMutexW plays another program's mutex, and this process
// as the only one a window can belong to (SingleInstanceTesting.h).
#include <unistd.h>

#include <cwctype>
#include <mutex>

#include "winapi/PosixStandIn.h"
#include "winapi/SingleInstance.h"
#include "winapi/SingleInstanceTesting.h"
#include "winapi/WinApi.h"
#include "winapi/WinApiTesting.h"

namespace WinApi {
namespace {

constexpr uint32_t kErrorNotSupported = 50;  // ERROR_NOT_SUPPORTED

struct InstanceState {
    bool privateNamespaces = true;
    std::wstring image;  // empty: the executable's own path
    bool elevated = true;
};

PosixStandIn::Guarded<InstanceState>& State() {
    return PosixStandIn::Guarded<InstanceState>::Leaked();
}

bool PrivateNamespaces() {
    return State().Locked()->privateNamespaces;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

}  // namespace

InstanceLock LockSingleInstance(const wchar_t* name) {
    const std::wstring privateName = std::wstring(L"Orvelle\\") + name;
    InstanceLock lock;
    bool existed = false, byAdministrators = false;
    lock.mutex = PosixStandIn::CreateNamedMutex(name, true, existed, byAdministrators);
    if (!existed) {
        lock.alreadyRunning = PrivateNamespaces() && Testing::NamedMutexHandles(privateName) > 0;
        return lock;
    }
    if (byAdministrators) {
        lock.alreadyRunning = true;
        return lock;
    }
    CloseHandle(lock.mutex);
    lock.mutex = nullptr;
    lock.squatted = true;
    if (!PrivateNamespaces()) {
        lock.error = kErrorNotSupported;
        return lock;
    }
    lock.mutex = PosixStandIn::CreateNamedMutex(privateName, true, existed, byAdministrators);
    lock.alreadyRunning = existed;
    return lock;
}

bool IsElevatedProcessOf(uint32_t processId, const std::wstring& executablePath, uint32_t& error) {
    if (processId != static_cast<uint32_t>(getpid())) {
        error = kErrorInvalidParameter;
        return false;
    }
    std::wstring image;
    bool elevated = false;
    {
        auto state = State().Locked();
        image = state->image;
        elevated = state->elevated;
    }
    if (image.empty()) {
        wchar_t buffer[4096];
        const uint32_t length = GetModuleFileNameW(nullptr, buffer, 4096);
        image.assign(buffer, length < 4096 ? length : 0);
    }
    error = 0;
    return elevated && Lower(image) == Lower(executablePath);
}

namespace Testing {

void SetPrivateNamespaces(bool available) {
    auto state = State().Locked();
    state->privateNamespaces = available;
}

void SetWindowProcess(const std::wstring& image, bool elevated) {
    auto state = State().Locked();
    state->image = image;
    state->elevated = elevated;
}

void ResetSingleInstance() {
    SetPrivateNamespaces(true);
    SetWindowProcess(L"", true);
}

}  // namespace Testing
}  // namespace WinApi
