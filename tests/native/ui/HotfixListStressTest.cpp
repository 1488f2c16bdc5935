// 10,000 installed hotfixes, end to end through the window: every record has its
// row in order, the list is sized for all of them, the last row can be reached
// and uninstalled, and the other 9,999 rows are disabled and enabled around it.
#include "UiFixtures.h"

using namespace UiFixtures;

namespace {

class HotfixListStressTest : public UiTest {};

TEST_F(HotfixListStressTest, TenThousandRows) {
    const int count = 10000;
    FakeInstaller installer(m_folder);
    installer.Hold();
    m_enumeration.Succeed(NumberedHotfixes(count));
    OpenMainWindow main;
    ASSERT_TRUE(main.PumpUntil(
        [&] {
            return main.Find(L"containerInstalledHotfix")->GetFixedHeight() > 0 &&
                   main.window().RoutesKnown();
        },
        120000));

    ASSERT_EQ(main.RowCount(), count);
    for (int i : {0, 1, 4999, count - 2, count - 1}) {
        EXPECT_EQ(main.InRow(i, L"hotfixNameText")->GetText().str(),
                  L"KB" + std::to_wstring(5000001 + i));
        EXPECT_EQ(main.InRow(i, L"lytStartupItemDetail")->IsVisible(), i != count - 1);
    }
    EXPECT_EQ(main.Find(L"containerInstalledHotfix")->GetFixedHeight(), count * 64);
    EXPECT_NE(main.Text(L"hotfixFirstTitle").find(L"10000"), std::wstring::npos);
    EXPECT_EQ(main.Find(L"hotfixFirstTitle")->GetFixedWidth(), 84);

    ASSERT_TRUE(main.driver().Wheel(L"hotfixListView", -120 * (count * 64 / 40)));
    ASSERT_TRUE(main.driver().Click(L"btnUniNameKB5010000")) << main.driver().LastError();
    EXPECT_EQ(WaitForLaunches(1).size(), 1u);
    EXPECT_FALSE(main.InRow(0, L"btnUniNameKB5000001")->IsEnabled());
    EXPECT_FALSE(main.InRow(count - 2, L"btnUniNameKB5009999")->IsEnabled());
    installer.Release();
    ASSERT_TRUE(main.PumpUntil([&] { return main.Shown(L"labUniNameKB5010000"); }, 30000));
    EXPECT_TRUE(main.InRow(0, L"btnUniNameKB5000001")->IsEnabled());
    EXPECT_TRUE(main.InRow(count - 2, L"btnUniNameKB5009999")->IsEnabled());

    ASSERT_TRUE(main.driver().Click(CLOSE_BUTTON));
    main.driver().Pump();
    EXPECT_TRUE(DuiLib::Headless::IsQuitPending());
}

}  // namespace
