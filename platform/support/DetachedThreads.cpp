#include "support/DetachedThreads.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace DetachedThreads {

namespace {

struct Count {
    std::mutex mutex;
    std::condition_variable none;
    int running = 0;
};

Count& Threads() {
    static Count* const count = new Count;  // threads may still end while statics are destroyed
    return *count;
}

// Counts one work from its construction to its destruction.
class Ticket {
public:
    Ticket() {
        std::lock_guard<std::mutex> lock(Threads().mutex);
        ++Threads().running;
    }
    ~Ticket() {
        std::lock_guard<std::mutex> lock(Threads().mutex);
        if (--Threads().running == 0) Threads().none.notify_all();
    }
    Ticket(const Ticket&) = delete;
    Ticket& operator=(const Ticket&) = delete;
};

// The ticket is declared first so that it is released last, after the work's captures.
struct CountedWork {
    std::shared_ptr<Ticket> ticket;
    std::function<void()> work;

    void operator()() {
        work();
        work = nullptr;
    }
};

}  // namespace

void Start(std::function<void()> work) {
    std::thread(Counted(std::move(work))).detach();
}

std::function<void()> Counted(std::function<void()> work) {
    return CountedWork{std::make_shared<Ticket>(), std::move(work)};
}

int Running() {
    std::lock_guard<std::mutex> lock(Threads().mutex);
    return Threads().running;
}

bool WaitUntilNoneRuns(int timeoutMs) {
    std::unique_lock<std::mutex> lock(Threads().mutex);
    return Threads().none.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [] { return Threads().running == 0; });
}

}  // namespace DetachedThreads
