// Windows opened and closed over and over while their loads and uninstalls still
// run on real threads: closed at once (the query still running), after the list
// was built, and while an uninstall runs. Work that ends late never touches a
// closed window, and every late result is accounted for. Built for the sanitizer
// runs (ThreadSanitizer and AddressSanitizer) as much as for the plain one.
#include "UiFixtures.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;

namespace {

class WindowLifetimeStressTest : public UiTest {};

TEST_F(WindowLifetimeStressTest, ClosingAtEveryStageTouchesNothing) {
    constexpr int kRounds = 18;
    LogCapture log;
    FakeInstaller installer(m_folder);
    installer.ExitWith(0);
    m_enumeration.Succeed(NumberedHotfixes(12));
    int uninstalls = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        const int stage = round % 3;
        if (stage == 0) m_enumeration.Hold();
        {
            OpenMainWindow main;
            ASSERT_TRUE(main.created());
            if (stage == 0) {
                ASSERT_TRUE(m_enumeration.WaitForQueries(static_cast<size_t>(round + 1)));
            } else {
                ASSERT_TRUE(main.WaitForResultView());
            }
            if (stage == 2) {
                ASSERT_TRUE(main.driver().Click(L"btnUniNameKB5000003"))
                    << main.driver().LastError();
                ++uninstalls;
            }
            ASSERT_TRUE(main.driver().Click(CLOSE_BUTTON));
            main.driver().Pump();
        }
        if (stage == 0) m_enumeration.Release();
        DuiLib::Headless::Reset();
    }

    // Every load and every uninstall ends, after its window is gone.
    ASSERT_TRUE(FinishBackgroundWork());
    EXPECT_EQ(log.Matching(L"get install list ret:0(").size(), static_cast<size_t>(kRounds));
    EXPECT_EQ(log.Matching(L"unstall status ui callback status:").size(),
              static_cast<size_t>(uninstalls));
    EXPECT_FALSE(log.Contains(L"is null"));
    EXPECT_EQ(installer.Calls().size(), static_cast<size_t>(uninstalls));
}

}  // namespace
