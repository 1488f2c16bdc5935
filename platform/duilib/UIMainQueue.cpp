// UIMainQueue: closures handed from any thread to the UI thread. The queue is
// guarded by its own mutex; closures run outside it, on the UI thread, in the
// order they were queued.
#include "duilib/UIMainQueue.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <exception>
#include <mutex>

#include "duilib/UIBackend.h"
#include "support/KtLogger.h"

namespace DuiLib {

namespace {

struct QueueState {
    std::mutex mutex;
    std::deque<std::function<void()>> closures;
    bool accepting = true;
};

QueueState& Queue() {
    static QueueState* state = new QueueState;  // reachable from threads still running at exit
    return *state;
}

void RunOne(const std::function<void()>& closure) {
    try {
        closure();
    } catch (const std::exception& e) {
        KT_LOG(LOG_ERROR, "queued closure threw:" << e.what(), "UIMainQueue::drain");
    } catch (...) {
        KT_LOG(LOG_ERROR, "queued closure threw", "UIMainQueue::drain");
    }
}

}  // namespace

UIMainQueue* UIMainQueue::getInstance() {
    static UIMainQueue instance;
    return &instance;
}

bool UIMainQueue::dispatch(std::function<void()> closure) {
    if (!closure) return false;
    {
        std::lock_guard<std::mutex> lock(Queue().mutex);
        if (!Queue().accepting) return false;
        Queue().closures.push_back(std::move(closure));
    }
    Backend::WakeMainQueue();
    return true;
}

int UIMainQueue::drain() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> lock(Queue().mutex);
        batch.swap(Queue().closures);
    }
    // Closures queued while these run wait for the next drain.
    for (const auto& closure : batch) RunOne(closure);
    return static_cast<int>(batch.size());
}

bool UIMainQueue::pumpUntil(const std::function<bool()>& done, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
    for (;;) {
        Backend::PumpPendingMessages();
        drain();
        if (done && done()) return true;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        Backend::WaitForMessages(static_cast<int>(left.count()));
    }
}

void UIMainQueue::shutdown() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> lock(Queue().mutex);
        Queue().accepting = false;
        dropped.swap(Queue().closures);
    }
    // Destroyed outside the lock: captured objects may do anything on destruction.
}

void UIMainQueue::reopen() {
    std::lock_guard<std::mutex> lock(Queue().mutex);
    Queue().accepting = true;
}

bool UIMainQueue::isAccepting() const {
    std::lock_guard<std::mutex> lock(Queue().mutex);
    return Queue().accepting;
}

int UIMainQueue::pending() const {
    std::lock_guard<std::mutex> lock(Queue().mutex);
    return static_cast<int>(Queue().closures.size());
}

}  // namespace DuiLib
