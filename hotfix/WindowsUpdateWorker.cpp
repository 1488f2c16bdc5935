#include "hotfix/WindowsUpdateWorker.h"

#include <system_error>

#include "hotfix/UninstallCodes.h"
#include "hotfix/WindowsUpdateTurn.h"
#include "support/DetachedThreads.h"
#include "support/KtLogger.h"
#include "winapi/ComApartment.h"

namespace WindowsHotfix {

std::shared_ptr<WindowsUpdateWorker> WindowsUpdateWorker::Start(std::wstring criteria,
                                                                Callbacks callbacks) {
    auto worker = std::make_shared<WindowsUpdateWorker>(std::move(callbacks));
    try {
        DetachedThreads::Start([worker, criteria] { worker->Run(criteria); });
    } catch (const std::system_error& error) {
        KT_LOG(LOG_ERROR, L"start windows update thread fail! ret:" << error.code().value(),
               "WindowsUpdateWorker::Start");
        return nullptr;
    }
    return worker;
}

void WindowsUpdateWorker::SetHidden(size_t index, bool hidden) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.emplace_back(index, hidden);
    m_changed.notify_all();
}

void WindowsUpdateWorker::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopped) return;
    m_stopped = true;
    m_requests.clear();
    // Under the lock: the worker cannot let go of its search meanwhile.
    if (m_search != nullptr) m_search->Abort();
    m_changed.notify_all();
}

void WindowsUpdateWorker::Run(const std::wstring& criteria) {
    const WinApi::ComApartment com(WinApi::ComApartment::kMultithreaded);
    WinApi::UpdateSearch search;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_search = &search;
        if (m_stopped) search.Abort();  // stopped before it began: Run ends at once
    }
    std::vector<WinApi::OfferedUpdate> updates;
    uint32_t result;
    {
        // A Stop while this waits has aborted the search, which then ends at once.
        const std::lock_guard<std::mutex> turn(WindowsUpdateTurn());
        result = search.Run(criteria, &updates);
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_search = nullptr;  // nothing left to abort
    }
    if (result != 0) {
        KT_LOG(LOG_ERROR, L"windows update search ret:" << HexCode(result),
               "WindowsUpdateWorker::Run");
    }
    if (m_callbacks.searched) m_callbacks.searched(result, std::move(updates));
    std::pair<size_t, bool> request;
    while (result == 0 && NextRequest(&request)) {
        uint32_t set;
        {
            const std::lock_guard<std::mutex> turn(WindowsUpdateTurn());
            set = search.SetHidden(request.first, request.second);
        }
        if (set != 0) {
            KT_LOG(LOG_ERROR, L"windows update hidden flag ret:" << HexCode(set),
                   "WindowsUpdateWorker::Run");
        }
        if (m_callbacks.flagSet) m_callbacks.flagSet(request.first, request.second, set);
    }
}

bool WindowsUpdateWorker::NextRequest(std::pair<size_t, bool>* request) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stopped || !m_requests.empty(); });
    if (m_stopped) return false;
    *request = m_requests.front();
    m_requests.pop_front();
    return true;
}

}  // namespace WindowsHotfix
