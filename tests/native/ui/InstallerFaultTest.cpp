// The installer missing, end to end through the window: the row shows the failure,
// the other rows come back, and the next uninstall runs normally.
#include "UiFixtures.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;

namespace {

class InstallerFaultTest : public UiTest {};

TEST_F(InstallerFaultTest, MissingInstallerFailsTheRowAndLeavesTheWindowUsable) {
    LogCapture log;  // no program stands in for wusa.exe: the launch finds no file
    m_enumeration.Succeed({Hotfix(L"KB1"), Hotfix(L"KB2"), Hotfix(L"KB3")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());

    ASSERT_TRUE(main.driver().Click(L"btnUniNameKB1")) << main.driver().LastError();
    ASSERT_TRUE(main.PumpUntil([&] { return main.Shown(L"labUniNameKB1"); }));
    EXPECT_EQ(main.Text(L"labUniNameKB1"), L"Uninstall failed");
    EXPECT_FALSE(main.Shown(L"btnUniNameKB1"));
    EXPECT_TRUE(main.Find(L"btnUniNameKB2")->IsEnabled());
    EXPECT_TRUE(main.Find(L"btnUniNameKB3")->IsEnabled());
    EXPECT_EQ(log.Matching(L"ShellExecute exe fail! ret:2(").size(), 1u);
    const std::wstring status = L"(WindowsHotfix::WindowsHotfixHelper::SetUninstallStatus)";
    const int statusLine = log.IndexOf(L"update uninstall status:2" + status);
    ASSERT_GE(statusLine, 0);
    EXPECT_EQ(log.IndexOf(L"uninstall code in hexadecimal:0x00000002" + status), statusLine + 1);

    // Once the installer is there again, the next row uninstalls as usual.
    FakeInstaller installer(m_folder);
    installer.ExitWith(3010);
    ASSERT_TRUE(main.driver().Click(L"btnUniNameKB3"));
    ASSERT_TRUE(main.PumpUntil([&] { return main.Shown(L"labUniNameKB3"); }));
    EXPECT_EQ(main.Text(L"labUniNameKB3"), L"Restart to finish");
    EXPECT_EQ(main.Text(L"labUniNameKB1"), L"Uninstall failed");
    EXPECT_TRUE(main.Find(L"btnUniNameKB2")->IsEnabled());
}

}  // namespace
