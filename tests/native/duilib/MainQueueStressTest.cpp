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

// What became of the closures, counted as each one's token is destroyed.
struct Outcomes {
    std::atomic<int> ran{0};
    std::atomic<int> dropped{0};  // accepted, then dropped by shutdown
    std::atomic<int> refused{0};
};

struct Token {
    int index = 0;
    std::atomic<bool> accepted{false};
    std::atomic<bool> ran{false};
};

TEST_F(MainQueueStressTest, ProducersAgainstDrainAndShutdown) {
    constexpr int kThreads = 4;
    constexpr int kPerThread = 2000;
    UIMainQueue* queue = UIMainQueue::getInstance();
    std::vector<std::vector<int>> ran(kThreads);  // touched on the UI thread only
    Outcomes outcomes;
    std::atomic<int> accepted{0};
    std::atomic<int> started{0};
    std::atomic<int> finished{0};
    std::vector<std::thread> producers;
    for (int t = 0; t < kThreads; ++t) {
        producers.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                // The producer holds its copy until `accepted` is final, so the
                // deleter (run by whoever lets go last) sees the whole story.
                std::shared_ptr<Token> token(new Token, [&](Token* p) {
                    ++(p->ran ? outcomes.ran : p->accepted ? outcomes.dropped : outcomes.refused);
                    delete p;
                });
                token->index = i;
                const bool queued = queue->dispatch([&ran, t, token] {
                    EXPECT_FALSE(token->ran.exchange(true));
                    ran[t].push_back(token->index);
                });
                if (queued) {
                    token->accepted = true;
                    ++accepted;
                }
                if (i == 0) ++started;
            }
            ++finished;
        });
    }
    // Each producer's first closure is queued before the first shutdown can drop it.
    while (started < kThreads) std::this_thread::yield();
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
    EXPECT_EQ(outcomes.ran.load(), runs);
    EXPECT_GE(runs, kThreads);
    EXPECT_EQ(outcomes.ran + outcomes.dropped, accepted.load());
    EXPECT_EQ(outcomes.refused.load(), kThreads * kPerThread - accepted);
}

}  // namespace
