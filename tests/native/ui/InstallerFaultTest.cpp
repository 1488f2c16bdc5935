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
    // The status line, then its code in hexadecimal (other threads may log between them).
    const std::wstring status = L"(WindowsHotfix::WindowsHotfixHelper::SetUninstallStatus)";
    std::vector<std::wstring> statusLines;
    for (const LogRecord& record : log.Matching(status)) statusLines.push_back(record.text);
    EXPECT_EQ(statusLines,
              (std::vector<std::wstring>{L"update uninstall status:2" + status,
                                         L"uninstall code in hexadecimal:0x00000002" + status}));

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
