// The servicing API stand-in: records each call, returns the results a test
// chose, and reports progress 0, 10, ..., 100 of 100 during a removal.

#include "winapi/Dism.h"
#include "winapi/DismTesting.h"
#include "winapi/PosixStandIn.h"

namespace WinApi {
namespace {

constexpr DismSessionId kSession = 1;

// Leaked on purpose so detached workers may call it at exit.
struct DismState {
    Testing::DismResults results;
    std::wstring message;
    std::function<void()> removeHook;
    std::vector<std::wstring> calls;
};

PosixStandIn::Guarded<DismState>& State() {
    return PosixStandIn::Guarded<DismState>::Leaked();
}

uint32_t Record(const std::wstring& call, uint32_t Testing::DismResults::*result) {
    auto state = State().Locked();
    state->calls.push_back(call);
    return result != nullptr ? state->results.*result : 0;
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
        auto state = State().Locked();
        hook = state->removeHook;
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
        auto state = State().Locked();
        message = state->message;
    }
    if (!message.empty()) Record(L"DismDelete", nullptr);
    return message;
}

namespace Testing {

void SetDismResults(const DismResults& results) {
    auto state = State().Locked();
    state->results = results;
}

void SetDismErrorMessage(const std::wstring& message) {
    auto state = State().Locked();
    state->message = message;
}

void SetDismRemoveHook(std::function<void()> hook) {
    auto state = State().Locked();
    state->removeHook = std::move(hook);
}

std::vector<std::wstring> DismCalls() {
    return State().Locked()->calls;
}

void ResetDism() {
    auto state = State().Locked();
    state->results = {};
    state->message.clear();
    state->removeHook = nullptr;
    state->calls.clear();
}

}  // namespace Testing
}  // namespace WinApi
