// The servicing API stand-in: records each call, returns the results a test
// chose, and reports progress 0, 10, ..., 100 of 100 during a removal.
#include <mutex>

#include "winapi/Dism.h"
#include "winapi/DismTesting.h"

namespace WinApi {
namespace {

constexpr DismSessionId kSession = 1;

// Leaked on purpose so detached workers may call it at exit.
struct DismState {
    std::mutex mutex;
    Testing::DismResults results;
    std::wstring message;
    std::function<void()> removeHook;
    std::vector<std::wstring> calls;
};

DismState& State() {
    static DismState* const state = new DismState;
    return *state;
}

uint32_t Record(const std::wstring& call, uint32_t Testing::DismResults::*result) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().calls.push_back(call);
    return result != nullptr ? State().results.*result : 0;
}

}  // namespace

uint32_t DismInitialize(const std::wstring& scratchFolder) {
    return Record(L"DismInitialize(DismLogErrors,NULL," +
                      (scratchFolder.empty() ? std::wstring(L"NULL") : scratchFolder) + L")",
                  &Testing::DismResults::initialize);
}

uint32_t DismOpenOnlineSession(DismSessionId* session) {
    const uint32_t result =
        Record(L"DismOpenSession(DISM_ONLINE_IMAGE,NULL,NULL)", &Testing::DismResults::openSession);
    *session = result == 0 ? kSession : 0;
    return result;
}

uint32_t DismRemovePackageByName(DismSessionId session, const std::wstring& name,
                                 const DismProgress& progress) {
    const uint32_t result = Record(L"DismRemovePackage(" + name + L",DismPackageName,cancel:none)",
                                   &Testing::DismResults::removePackage);
    if (session != kSession) return 0xC0040004;  // DISMAPI_E_INVALID_DISM_SESSION
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> lock(State().mutex);
        hook = State().removeHook;
    }
    if (hook) hook();
    if (progress)
        for (uint32_t current = 0; current <= 100; current += 10) progress(current, 100);
    return result;
}

uint32_t DismCloseSession(DismSessionId) {
    return Record(L"DismCloseSession", &Testing::DismResults::closeSession);
}

uint32_t DismShutdown() {
    return Record(L"DismShutdown", &Testing::DismResults::shutdown);
}

std::wstring DismLastErrorMessage() {
    Record(L"DismGetLastErrorMessage", nullptr);
    std::wstring message;
    {
        std::lock_guard<std::mutex> lock(State().mutex);
        message = State().message;
    }
    if (!message.empty()) Record(L"DismDelete", nullptr);
    return message;
}

namespace Testing {

void SetDismResults(const DismResults& results) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().results = results;
}

void SetDismErrorMessage(const std::wstring& message) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().message = message;
}

void SetDismRemoveHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().removeHook = std::move(hook);
}

std::vector<std::wstring> DismCalls() {
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().calls;
}

void ResetDism() {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().results = {};
    State().message.clear();
    State().removeHook = nullptr;
    State().calls.clear();
}

}  // namespace Testing
}  // namespace WinApi
