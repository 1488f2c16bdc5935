// Work that ends after the window closed: a load still querying and an uninstall
// still running. Closing waits for neither, and neither touches the closed window.
#include "UiFixtures.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;

namespace {

class WindowLifetimeTest : public UiTest {
protected:
    // Starts the uninstall of the row whose button is `button` (its installer held),
    // then closes the window by its close button.
    static void UninstallThenClose(OpenMainWindow& main, const wchar_t* button) {
        ASSERT_TRUE(main.WaitForResultView());
        ASSERT_TRUE(main.driver().Click(button));
        ASSERT_EQ(WaitForLaunches(1).size(), 1u);
        ASSERT_TRUE(main.driver().Click(CLOSE_BUTTON));
        main.driver().Pump();
    }
};

TEST_F(WindowLifetimeTest, LoadFinishingAfterCloseTouchesNothing) {
    LogCapture log;
    m_enumeration.Hold();
    m_enumeration.Succeed(NumberedHotfixes(3));
    {
        OpenMainWindow main;
        ASSERT_TRUE(m_enumeration.WaitForQueries(1));
        ASSERT_TRUE(main.driver().Click(CLOSE_BUTTON)) << main.driver().LastError();
        main.driver().Pump();
    }  // deleted while its load thread still waits in the query

    m_enumeration.Release();
    ASSERT_TRUE(FinishBackgroundWork());  // the load ended and what it queued ran
    EXPECT_TRUE(log.Contains(L"get install list ret:0"));
    EXPECT_FALSE(log.Contains(L"control is null"));

    // The next window works as usual.
    m_enumeration.Succeed(NumberedHotfixes(2));
    DuiLib::Headless::Reset();
    OpenMainWindow next;
    ASSERT_TRUE(next.WaitForResultView());
    EXPECT_EQ(next.RowCount(), 2);
}

TEST_F(WindowLifetimeTest, UninstallFinishingAfterCloseTouchesNothing) {
    LogCapture log;
    FakeInstaller installer(m_folder);
    installer.Hold();
    installer.ExitWith(0);
    m_enumeration.Succeed(NumberedHotfixes(3));
    {
        OpenMainWindow main;
        ASSERT_NO_FATAL_FAILURE(UninstallThenClose(main, L"btnUniNameKB5000002"));
    }  // rows and window deleted while the installer still runs

    installer.Release();
    ASSERT_TRUE(FinishBackgroundWork());
    EXPECT_TRUE(log.Contains(L"unstall status ui callback status:0"));
    EXPECT_FALSE(log.Contains(L"is null"));
}

TEST_F(WindowLifetimeTest, ClosingDuringAnUninstallDoesNotWaitForIt) {
    FakeInstaller installer(m_folder);
    installer.Hold();
    m_enumeration.Succeed(NumberedHotfixes(1));
    OpenMainWindow main;
    ASSERT_NO_FATAL_FAILURE(UninstallThenClose(main, L"btnUniNameKB5000001"));
    DuiLib::Headless::WindowState state;
    EXPECT_FALSE(DuiLib::Headless::FindWindowState(main.hwnd(), state));
    EXPECT_TRUE(DuiLib::Headless::IsQuitPending());

    // The late status goes nowhere, and the test ends only after it: the next
    // test's window takes over the service's callback.
    LogCapture log;
    installer.Release();
    ASSERT_TRUE(FinishBackgroundWork());
    EXPECT_TRUE(log.Contains(L"unstall status ui callback status:"));
    EXPECT_FALSE(log.Contains(L"is null"));
}

}  // namespace
