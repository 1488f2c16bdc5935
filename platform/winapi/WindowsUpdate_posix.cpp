// The Windows Update stand-in: records each call and answers as a test chose.
#include <condition_variable>
#include <mutex>

#include "winapi/PosixStandIn.h"
#include "winapi/WindowsUpdate.h"
#include "winapi/WindowsUpdateTesting.h"

namespace WinApi {
namespace {

// Leaked on purpose so detached workers may call it at exit.
struct UpdateState {
    std::condition_variable aborted;
    uint32_t historyResult = kWuServiceDisabled;
    std::vector<UpdateHistoryEntry> history;
    uint32_t offerResult = kWuServiceDisabled;
    std::vector<OfferedUpdate> offer;
    uint32_t hideResult = 0;
    std::function<void()> searchHook;
    std::function<void()> historyHook;
    bool abortRequested = false;
    std::vector<std::wstring> calls;
};

PosixStandIn::Guarded<UpdateState>& State() {
    return PosixStandIn::Guarded<UpdateState>::Leaked();
}

void Record(const std::wstring& call) {
    auto state = State().Locked();
    state->calls.push_back(call);
}

}  // namespace

uint32_t ReadUpdateHistory(std::vector<UpdateHistoryEntry>* entries) {
    Record(L"ReadUpdateHistory");
    std::function<void()> hook;
    {
        auto state = State().Locked();
        hook = state->historyHook;
    }
    if (hook) hook();
    auto state = State().Locked();
    entries->clear();
    if (state->historyResult == 0) *entries = state->history;
    return state->historyResult;
}

struct UpdateSearch::Impl {
    std::vector<OfferedUpdate> found;
    bool aborted = false;  // under the state's mutex
};

UpdateSearch::UpdateSearch() : m_impl(new Impl) {}
UpdateSearch::~UpdateSearch() = default;

uint32_t UpdateSearch::Run(const std::wstring& criteria, std::vector<OfferedUpdate>* updates) {
    Record(L"Search(" + criteria + L")");
    std::function<void()> hook;
    {
        auto state = State().Locked();
        state->abortRequested = m_impl->aborted;
        hook = state->searchHook;
    }
    if (hook) hook();
    auto state = State().Locked();
    updates->clear();
    if (m_impl->aborted) return kWuSearchAborted;
    if (state->offerResult != 0) return state->offerResult;
    m_impl->found = state->offer;
    *updates = m_impl->found;
    return 0;
}

void UpdateSearch::Abort() {
    Record(L"RequestAbort");
    auto state = State().Locked();
    m_impl->aborted = true;
    state->abortRequested = true;
    state->aborted.notify_all();
}

uint32_t UpdateSearch::SetHidden(size_t index, bool hidden) {
    if (index >= m_impl->found.size()) return 0x80070057;  // E_INVALIDARG
    const auto& ids = m_impl->found[index].kbArticleIds;
    Record(L"SetHidden(" + (ids.empty() ? std::wstring() : ids.front()) +
           (hidden ? L",true)" : L",false)"));
    auto state = State().Locked();
    return state->hideResult;
}

namespace Testing {

void SetUpdateHistory(uint32_t result, std::vector<UpdateHistoryEntry> entries) {
    auto state = State().Locked();
    state->historyResult = result;
    state->history = std::move(entries);
}

void SetUpdateOffer(uint32_t result, std::vector<OfferedUpdate> updates) {
    auto state = State().Locked();
    state->offerResult = result;
    state->offer = std::move(updates);
}

void SetHideResult(uint32_t result) {
    auto state = State().Locked();
    state->hideResult = result;
}

void SetHistoryHook(std::function<void()> hook) {
    auto state = State().Locked();
    state->historyHook = std::move(hook);
}

void SetSearchHook(std::function<void()> hook) {
    auto state = State().Locked();
    state->searchHook = std::move(hook);
}

bool SearchAborted() {
    return State().Locked()->abortRequested;
}

void WaitForSearchAbort() {
    auto state = State().Locked();
    state->aborted.wait(state.Lock(), [&] { return state->abortRequested; });
}

std::vector<std::wstring> WindowsUpdateCalls() {
    return State().Locked()->calls;
}

void ResetWindowsUpdate() {
    auto state = State().Locked();
    state->historyResult = kWuServiceDisabled;
    state->history.clear();
    state->offerResult = kWuServiceDisabled;
    state->offer.clear();
    state->hideResult = 0;
    state->searchHook = nullptr;
    state->historyHook = nullptr;
    state->abortRequested = false;
    state->calls.clear();
}

}  // namespace Testing
}  // namespace WinApi
