// The only way from a background thread to the UI thread.
#pragma once

#include <functional>

namespace DuiLib {

class UIMainQueue {
public:
    static UIMainQueue* getInstance();

    // Any thread: queues a closure to run on the UI thread, in queue order, inside
    // the message loop. Returns false when the queue no longer runs closures.
    bool dispatch(std::function<void()> closure);

    // UI thread: runs every closure queued so far; returns how many ran.
    int drain();
    // UI thread (tests): drains repeatedly until done() or the timeout, in milliseconds.
    bool pumpUntil(const std::function<bool()>& done, int timeoutMs);

    // UI thread (tests): drops the closures still queued and refuses new ones
    // until reopen(). The program never closes the queue: each closure it queues
    // checks its window's alive token before touching the window.
    void shutdown();
    void reopen();
    bool isAccepting() const;
    // Any thread: how many closures wait for the next drain.
    int pending() const;
};

}  // namespace DuiLib
