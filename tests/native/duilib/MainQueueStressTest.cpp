// The main-thread queue under load: several background threads dispatch while
// the UI thread drains and the queue is shut down and reopened in between.
// Every closure runs at most once, each thread's closures run in its order, and
// every closure that dispatch accepted either runs or is dropped by shutdown.
#include <atomic>
#include <thread>

#include "DuiTestEnv.h"

using namespace DuiLib;

namespace {

class MainQueueStressTest : public DuiTest::ToolkitTest {};

TEST_F(MainQueueStressTest, ProducersAgainstDrainAndShutdown) {
    constexpr int kThreads = 4;
    constexpr int kPerThread = 2000;
    UIMainQueue* queue = UIMainQueue::getInstance();
    std::vector<std::vector<int>> ran(kThreads);  // touched on the UI thread only
    std::atomic<int> accepted{0};
    std::atomic<int> destroyed{0};
    std::atomic<int> finished{0};
    std::vector<std::thread> producers;
    for (int t = 0; t < kThreads; ++t) {
        producers.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                // Counts its own destruction, whether it ran or was dropped.
                std::shared_ptr<int> token(new int(i), [&](int* p) {
                    ++destroyed;
                    delete p;
                });
                if (queue->dispatch([&ran, t, token] { ran[t].push_back(*token); })) ++accepted;
            }
            ++finished;
        });
    }
    for (int round = 0; finished < kThreads; ++round) {
        queue->drain();
        if (round % 7 == 3) {
            queue->shutdown();  // drops what is queued and refuses for a moment
            std::this_thread::yield();
            queue->reopen();
        }
    }
    for (std::thread& producer : producers) producer.join();
    queue->drain();

    int runs = 0;
    for (const std::vector<int>& order : ran) {
        runs += static_cast<int>(order.size());
        for (size_t i = 1; i < order.size(); ++i) ASSERT_LT(order[i - 1], order[i]);
    }
    EXPECT_LE(runs, accepted.load());
    EXPECT_GT(runs, 0);
    EXPECT_EQ(destroyed.load(), kThreads * kPerThread);  // nothing kept, nothing leaked
}

}  // namespace
