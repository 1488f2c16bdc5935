// Holds a thread inside a stand-in's hook until the test opens the gate; any thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class Gate {
public:
    // In the held thread: says it is held, then waits until Open.
    void Wait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_waiting = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
    }
    // True once a thread is held; false when none came within five seconds.
    bool WaitUntilHeld() {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(5), [this] { return m_waiting; });
    }
    void Open() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_waiting = false;
    bool m_open = false;
};
