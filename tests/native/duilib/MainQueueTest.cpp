// The main-thread queue: closures from any thread run on the UI thread, in
// queue order, inside the message loop or when a test pumps.
#include <atomic>
#include <thread>

#include "DuiTestEnv.h"

using namespace DuiLib;

namespace {

class MainQueueTest : public DuiTest::ToolkitTest {};

TEST_F(MainQueueTest, ClosuresFromAnotherThreadRunOnTheUiThreadInOrder) {
    const std::thread::id ui = std::this_thread::get_id();
    std::vector<int> order;
    std::atomic<bool> offThread{false};
    std::thread worker([&] {  // a background thread, as the load and uninstall threads are
        for (int i = 0; i < 200; ++i) {
            UIMainQueue::getInstance()->dispatch([&, i] {
                offThread = offThread || std::this_thread::get_id() != ui;
                order.push_back(i);
            });
        }
    });
    bool done = UIMainQueue::getInstance()->pumpUntil([&] { return order.size() == 200; }, 10000);
    worker.join();
    ASSERT_TRUE(done);
    EXPECT_FALSE(offThread);
    for (int i = 0; i < 200; ++i) ASSERT_EQ(order[i], i);
}

TEST_F(MainQueueTest, DispatchWakesTheWaitingMessageLoop) {
    std::vector<std::string> seen;
    std::thread worker([&] {
        // The loop is (or soon will be) waiting; only these closures can end it.
        UIMainQueue::getInstance()->dispatch([&] { seen.push_back("first"); });
        UIMainQueue::getInstance()->dispatch([&] {
            seen.push_back("second");
            WindowApi::PostQuitMessage(0);
        });
    });
    CPaintManagerUI::MessageLoop();
    worker.join();
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "second"}));
    EXPECT_FALSE(Headless::IsQuitPending());  // the loop consumed its quit message
}

TEST_F(MainQueueTest, ClosuresQueuedWhileDrainingRunInTheNextDrain) {
    std::vector<int> order;
    auto* queue = UIMainQueue::getInstance();
    queue->dispatch([&] {
        order.push_back(1);
        queue->dispatch([&] { order.push_back(3); });
    });
    queue->dispatch([&] { order.push_back(2); });
    EXPECT_EQ(queue->drain(), 2);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(queue->drain(), 1);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(MainQueueTest, AThrowingClosureIsLoggedAndTheRestStillRun) {
    bool after = false;
    UIMainQueue::getInstance()->dispatch([] { throw std::runtime_error("boom"); });
    UIMainQueue::getInstance()->dispatch([&] { after = true; });
    EXPECT_EQ(UIMainQueue::getInstance()->drain(), 2);
    EXPECT_TRUE(after);
}

TEST_F(MainQueueTest, AfterShutdownNothingRunsAndDispatchSaysSo) {
    bool ran = false;
    auto* queue = UIMainQueue::getInstance();
    EXPECT_TRUE(queue->dispatch([&] { ran = true; }));
    queue->shutdown();
    EXPECT_FALSE(queue->dispatch([&] { ran = true; }));
    EXPECT_FALSE(queue->dispatch(nullptr));
    EXPECT_EQ(queue->drain(), 0);
    EXPECT_FALSE(ran);
    queue->reopen();
    EXPECT_TRUE(queue->dispatch([&] { ran = true; }));
    EXPECT_EQ(queue->drain(), 1);
    EXPECT_TRUE(ran);
}

TEST_F(MainQueueTest, PumpUntilGivesUpAfterItsTimeout) {
    EXPECT_FALSE(UIMainQueue::getInstance()->pumpUntil([] { return false; }, 30));
}

}  // namespace
