// One Windows Update operation on its own detached thread: a search of the
// offered updates, then the hidden flags the caller asks for, on the thread
// that made the search (as the agent wants). Stop, from any thread, aborts a
// running search and ends the thread soon after; nothing waits for it.
// The callbacks run on the worker thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "winapi/WindowsUpdate.h"

namespace WindowsHotfix {

class WindowsUpdateWorker : public std::enable_shared_from_this<WindowsUpdateWorker> {
public:
    struct Callbacks {
        // The search's HRESULT and what it found, in its order.
        std::function<void(uint32_t result, std::vector<WinApi::OfferedUpdate> updates)> searched;
        // A SetHidden's update, the flag asked for and the HRESULT.
        std::function<void(size_t index, bool hidden, uint32_t result)> flagSet;
    };

    // Starts the thread, which searches with `criteria`; null when no thread
    // could be started (logged).
    static std::shared_ptr<WindowsUpdateWorker> Start(std::wstring criteria, Callbacks callbacks);

    // Any thread: asks the worker to set the index-th found update's flag.
    void SetHidden(size_t index, bool hidden);
    // Any thread: aborts the search if it runs; the worker ends once the flag
    // it is setting (if any) is set. Requests not yet begun are dropped.
    void Stop();

    explicit WindowsUpdateWorker(Callbacks callbacks) : m_callbacks(std::move(callbacks)) {}

private:
    void Run(const std::wstring& criteria);
    // Waits for the next request; false once stopped.
    bool NextRequest(std::pair<size_t, bool>* request);

    Callbacks m_callbacks;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    WinApi::UpdateSearch* m_search = nullptr;  // while the worker's search exists
    bool m_stopped = false;
    std::deque<std::pair<size_t, bool>> m_requests;
};

}  // namespace WindowsHotfix
