// The titles' history read and a hide's search take turns at Windows Update,
// each on its own thread; a search stopped while it waits ends aborted.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "hotfix/UpdateHiding.h"
#include "hotfix/UpdateTitles.h"
#include "hotfix/WindowsUpdateWorker.h"
#include "support/DetachedThreads.h"
#include "testkit/Gate.h"
#include "winapi/WindowsUpdateTesting.h"

namespace {

using WindowsHotfix::WindowsUpdateWorker;
namespace Testing = WinApi::Testing;

class WindowsUpdateTurnTest : public ::testing::Test {
protected:
    void SetUp() override { ServeOneUpdate(); }
    void TearDown() override {
        EXPECT_TRUE(DetachedThreads::WaitUntilNoneRuns(10000));
        Testing::ResetWindowsUpdate();
    }

    static void ServeOneUpdate() {
        Testing::ResetWindowsUpdate();
        Testing::SetUpdateHistory(0, {});
        WinApi::OfferedUpdate update;
        update.title =
            L"2024-01 Security Update for Windows 10 Version 22H2 for x64-based Systems "
            L"(KB5034441)";
        update.kbArticleIds = {L"5034441"};
        Testing::SetUpdateOffer(0, {update});
    }

    static size_t Searches() {
        size_t searches = 0;
        for (const auto& call : Testing::WindowsUpdateCalls())
            searches += call.rfind(L"Search(", 0) == 0 ? 1 : 0;
        return searches;
    }
};

TEST_F(WindowsUpdateTurnTest, ASearchWaitsForTheHistoryReadAndOneStoppedMeanwhileEndsAborted) {
    for (const bool stopWhileWaiting : {false, true}) {
        SCOPED_TRACE(stopWhileWaiting ? "stopped while it waits" : "waits, then searches");
        ASSERT_TRUE(DetachedThreads::WaitUntilNoneRuns(10000));
        ServeOneUpdate();
        Gate held;
        Testing::SetHistoryHook([&held] { held.Wait(); });
        std::thread titles([] { WindowsHotfix::ReadUpdateTitles({L"KB5034441"}); });
        ASSERT_TRUE(held.WaitUntilHeld());

        std::promise<uint32_t> searched;
        WindowsUpdateWorker::Callbacks callbacks;
        callbacks.searched = [&searched](uint32_t result, std::vector<WinApi::OfferedUpdate>) {
            searched.set_value(result);
        };
        auto worker = WindowsUpdateWorker::Start(WindowsHotfix::kOfferedUpdatesCriteria,
                                                 std::move(callbacks));
        ASSERT_NE(worker, nullptr);
        auto answer = searched.get_future();
        // Unheld, the search would answer within microseconds.
        EXPECT_EQ(answer.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
        EXPECT_EQ(Searches(), 0u);

        if (stopWhileWaiting) worker->Stop();
        held.Open();
        titles.join();
        EXPECT_EQ(answer.get(), stopWhileWaiting ? WinApi::kWuSearchAborted : 0u);
        worker->Stop();
    }
}

}  // namespace
