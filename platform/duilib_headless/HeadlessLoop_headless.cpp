// Headless backend, the UI thread's loop: posted messages, the main-thread
// queue, the quit message, waking from other threads, the idle hook.
//
// A loop round handles the messages posted so far (in order), then drains the
// main-thread queue. The quit message is reached only when no posted message is
// left, as on Windows. When a round did nothing the loop calls the idle hook and
// then waits on the condition variable.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "duilib/UIMainQueue.h"
#include "duilib_headless/HeadlessInternal.h"

namespace DuiLib {
namespace Headless {
namespace Internal {

namespace {

struct Posted {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct LoopState {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Posted> posted;
    bool woken = false;
    bool quitPending = false;
    std::function<void()> idleHook;  // UI thread only
    unsigned scale = 100;            // UI thread only
};

LoopState& Loop() {
    static LoopState* state = new LoopState;  // other threads may post until the very end
    return *state;
}

// Handles the messages posted before this call; true when there were any.
bool HandlePosted() {
    std::deque<Posted> batch;
    {
        std::lock_guard<std::mutex> lock(Loop().mutex);
        batch.swap(Loop().posted);
    }
    for (const Posted& p : batch) {
        if (HeadlessWindow* w = Lookup(p.window)) w->Deliver(p.message, p.wParam, p.lParam);
    }
    return !batch.empty();
}

bool Round() {
    {
        std::lock_guard<std::mutex> lock(Loop().mutex);
        Loop().woken = false;
    }
    bool posted = HandlePosted();
    int ran = UIMainQueue::getInstance()->drain();
    return posted || ran > 0;
}

bool QuitReached() {
    std::lock_guard<std::mutex> lock(Loop().mutex);
    return Loop().quitPending && Loop().posted.empty();
}

}  // namespace

void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard<std::mutex> lock(Loop().mutex);
        Loop().posted.push_back(Posted{window, message, wParam, lParam});
    }
    Loop().wake.notify_all();
}

bool RunLoop(const std::function<bool()>& stop) {
    for (;;) {
        bool busy = Round();
        if (stop()) return true;
        if (QuitReached()) return false;
        if (busy) continue;
        if (Loop().idleHook) {
            std::function<void()> hook = Loop().idleHook;  // the hook may replace itself
            hook();
            if (stop()) return true;
        }
        std::unique_lock<std::mutex> lock(Loop().mutex);
        Loop().wake.wait(
            lock, [] { return !Loop().posted.empty() || Loop().woken || Loop().quitPending; });
    }
}

unsigned ScaleForNewWindows() {
    return Loop().scale;
}

}  // namespace Internal

void SetDpiScale(unsigned percent) {
    Internal::Loop().scale = percent == 0 ? 100 : percent;
}

void SetIdleHook(std::function<void()> hook) {
    Internal::Loop().idleHook = std::move(hook);
}

bool IsQuitPending() {
    std::lock_guard<std::mutex> lock(Internal::Loop().mutex);
    return Internal::Loop().quitPending;
}

void Reset() {
    Internal::LoopState& loop = Internal::Loop();
    {
        std::lock_guard<std::mutex> lock(loop.mutex);
        loop.posted.clear();
        loop.woken = false;
        loop.quitPending = false;
    }
    loop.idleHook = nullptr;
    loop.scale = 100;
    Internal::ResetSystemSettings();
}

}  // namespace Headless

namespace Backend {

void RunMessageLoop() {
    Headless::Internal::RunLoop([] { return false; });
    std::lock_guard<std::mutex> lock(Headless::Internal::Loop().mutex);
    Headless::Internal::Loop().quitPending = false;  // the loop consumes its quit message
}

void PostQuit(int exitCode) {
    {
        std::lock_guard<std::mutex> lock(Headless::Internal::Loop().mutex);
        Headless::Internal::Loop().quitPending = true;
    }
    Headless::Internal::Loop().wake.notify_all();
}

void WakeMainQueue() {
    {
        std::lock_guard<std::mutex> lock(Headless::Internal::Loop().mutex);
        Headless::Internal::Loop().woken = true;
    }
    Headless::Internal::Loop().wake.notify_all();
}

void PumpPendingMessages() {
    Headless::Internal::HandlePosted();
}

void WaitForMessages(int timeoutMs) {
    Headless::Internal::LoopState& loop = Headless::Internal::Loop();
    std::unique_lock<std::mutex> lock(loop.mutex);
    loop.wake.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                       [&] { return !loop.posted.empty() || loop.woken; });
    loop.woken = false;
}

}  // namespace Backend
}  // namespace DuiLib
