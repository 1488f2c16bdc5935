// The Windows Update stand-in: records each call and answers as a test chose.
#include <condition_variable>
#include <mutex>

#include "winapi/WindowsUpdate.h"
#include "winapi/WindowsUpdateTesting.h"

namespace WinApi {
namespace {

// Leaked on purpose so detached workers may call it at exit.
struct UpdateState {
    std::mutex mutex;
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

UpdateState& State() {
    static UpdateState* const state = new UpdateState;
    return *state;
}

void Record(const std::wstring& call) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().calls.push_back(call);
}

}  // namespace

uint32_t ReadUpdateHistory(std::vector<UpdateHistoryEntry>* entries) {
    Record(L"ReadUpdateHistory");
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> lock(State().mutex);
        hook = State().historyHook;
    }
    if (hook) hook();
    std::lock_guard<std::mutex> lock(State().mutex);
    entries->clear();
    if (State().historyResult == 0) *entries = State().history;
    return State().historyResult;
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
        std::lock_guard<std::mutex> lock(State().mutex);
        State().abortRequested = m_impl->aborted;
        hook = State().searchHook;
    }
    if (hook) hook();
    std::lock_guard<std::mutex> lock(State().mutex);
    updates->clear();
    if (m_impl->aborted) return kWuSearchAborted;
    if (State().offerResult != 0) return State().offerResult;
    m_impl->found = State().offer;
    *updates = m_impl->found;
    return 0;
}

void UpdateSearch::Abort() {
    Record(L"RequestAbort");
    std::lock_guard<std::mutex> lock(State().mutex);
    m_impl->aborted = true;
    State().abortRequested = true;
    State().aborted.notify_all();
}

uint32_t UpdateSearch::SetHidden(size_t index, bool hidden) {
    if (index >= m_impl->found.size()) return 0x80070057;  // E_INVALIDARG
    const auto& ids = m_impl->found[index].kbArticleIds;
    Record(L"SetHidden(" + (ids.empty() ? std::wstring() : ids.front()) +
           (hidden ? L",true)" : L",false)"));
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().hideResult;
}

namespace Testing {

void SetUpdateHistory(uint32_t result, std::vector<UpdateHistoryEntry> entries) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().historyResult = result;
    State().history = std::move(entries);
}

void SetUpdateOffer(uint32_t result, std::vector<OfferedUpdate> updates) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().offerResult = result;
    State().offer = std::move(updates);
}

void SetHideResult(uint32_t result) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().hideResult = result;
}

void SetHistoryHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().historyHook = std::move(hook);
}

void SetSearchHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().searchHook = std::move(hook);
}

bool SearchAborted() {
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().abortRequested;
}

void WaitForSearchAbort() {
    std::unique_lock<std::mutex> lock(State().mutex);
    State().aborted.wait(lock, [] { return State().abortRequested; });
}

std::vector<std::wstring> WindowsUpdateCalls() {
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().calls;
}

void ResetWindowsUpdate() {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().historyResult = kWuServiceDisabled;
    State().history.clear();
    State().offerResult = kWuServiceDisabled;
    State().offer.clear();
    State().hideResult = 0;
    State().searchHook = nullptr;
    State().historyHook = nullptr;
    State().abortRequested = false;
    State().calls.clear();
}

}  // namespace Testing
}  // namespace WinApi
