// The list of rows as a load builds it: order, content, separators, height, duplicates.
#include "UiFixtures.h"
#include "testkit/LogCapture.h"
#include "ui/item/HotfixManageItemDetail.h"

using namespace UiFixtures;
using DuiLib::CControlUI;

namespace {

using Texts = std::vector<std::wstring>;

class HotfixListTest : public UiTest {};

TEST_F(HotfixListTest, RowsFollowQueryOrderWithSeparatorsOnAllButTheLast) {
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB300", L"Security Update", L"1/15/2026"),
                              Hotfix(L"KB100", L"Update", L"12/7/2026"),
                              Hotfix(L"KB200", L"Unknown Category", L"3/4/2025")}));
    ASSERT_EQ(main().RowCount(), 3);

    const wchar_t* ids[] = {L"KB300", L"KB100", L"KB200"};
    EXPECT_EQ(main().RowTexts(L"hotfixNameText"), (Texts{ids, ids + 3}));
    EXPECT_EQ(main().RowTexts(L"descriptionText"), (Texts{L"Security Update", L"Update", L""}));
    EXPECT_EQ(main().RowTexts(L"installedTimeText"),
              (Texts{L"2026-1-15", L"2026-12-7", L"2025-3-4"}));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        CControlUI* button = main().InRow(i, (L"btnUniName" + std::wstring(ids[i])).c_str());
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->GetText().str(), L"Uninstall");
        EXPECT_TRUE(button->IsEnabled());
        EXPECT_TRUE(button->IsVisible());
        CControlUI* label = main().InRow(i, (L"labUniName" + std::wstring(ids[i])).c_str());
        ASSERT_NE(label, nullptr);
        EXPECT_FALSE(label->IsVisible());
        EXPECT_EQ(main().InRow(i, L"lytStartupItemDetail")->IsVisible(), i != 2);
    }
}

TEST_F(HotfixListTest, SingleRowHasNoSeparator) {
    m_enumeration.Succeed({Hotfix(L"KB1")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    ASSERT_EQ(main.RowCount(), 1);
    EXPECT_FALSE(main.InRow(0, L"lytStartupItemDetail")->IsVisible());
    main.driver().Layout();
    EXPECT_EQ(main.Find(L"containerInstalledHotfix")->GetPos().Height(), 64);
}

class ListHeightTest : public UiTest, public ::testing::WithParamInterface<unsigned> {};

// Opened at the scale, or moved there from a 100 % monitor: the list is exactly
// as tall as its rows, also at scales where a row is no whole number of pixels,
// and only the outer view scrolls, to the list's end.
TEST_P(ListHeightTest, TenRowsSizeTheListByScale) {
    for (const bool moved : {false, true}) {
        SCOPED_TRACE(moved ? "moved" : "opened");
        DuiLib::Headless::SetDpiScale(moved ? 100 : GetParam());
        m_enumeration.Succeed(NumberedHotfixes(10));
        OpenMainWindow main;
        ASSERT_TRUE(main.WaitForResultView());
        ASSERT_EQ(main.RowCount(), 10);
        if (moved) main.window().GetPaintManager().SetScale(GetParam());
        main.driver().Layout();
        auto* list = main.FindAs<DuiLib::CContainerUI>(L"containerInstalledHotfix");
        auto* view = main.FindAs<DuiLib::CContainerUI>(L"hotfixListView");
        int rows = 0;
        for (int i = 0; i < main.RowCount(); ++i) rows += main.Row(i)->GetPos().Height();
        EXPECT_EQ(list->GetPos().Height(), rows);
        EXPECT_EQ(list->GetScrollRange(), 0);
        EXPECT_EQ(view->GetScrollRange(), rows - view->GetScrollPage());
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ListHeightTest,
                         ::testing::Values(100u, 110u, 115u, 125u, 150u, 175u, 200u, 225u, 300u));

TEST_F(HotfixListTest, LongListScrollsInsideTheWindow) {
    m_enumeration.Succeed(NumberedHotfixes(30));
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    main.driver().Layout();
    auto* view = main.FindAs<DuiLib::CContainerUI>(L"hotfixListView");
    ASSERT_NE(view, nullptr);
    EXPECT_GT(view->GetScrollRange(), 0);
    // The last row can be reached: scroll to it and click its button.
    ASSERT_TRUE(main.driver().Wheel(L"hotfixListView", -120 * 40)) << main.driver().LastError();
    EXPECT_EQ(view->GetScrollPos(), view->GetScrollRange());
    EXPECT_TRUE(main.driver().Hover(L"btnUniNameKB5000030")) << main.driver().LastError();
}

TEST_F(HotfixListTest, DuplicatedIdentifierKeepsBothRowsAndRoutesToTheLater) {
    FakeInstaller installer(m_folder);
    installer.Hold();
    m_enumeration.Succeed({Hotfix(L"KB7"), Hotfix(L"KB8"), Hotfix(L"KB7", L"Hotfix")});
    const int rowsBefore = HotfixManageItemDetail::LiveRows();
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    ASSERT_EQ(main.RowCount(), 3);
    EXPECT_EQ(HotfixManageItemDetail::LiveRows(), rowsBefore + 3);
    EXPECT_EQ(main.InRow(0, L"descriptionText")->GetText().str(), L"Update");
    EXPECT_EQ(main.InRow(2, L"descriptionText")->GetText().str(), L"Hotfix");

    // A click on the earlier row's button reaches the later row, the one the map keeps.
    CControlUI* earlier = main.InRow(0, L"btnUniNameKB7");
    CControlUI* later = main.InRow(2, L"btnUniNameKB7");
    ASSERT_TRUE(main.driver().Click(L"btnUniNameKB7")) << main.driver().LastError();
    EXPECT_EQ(later->GetText().str(), L"Uninstalling…");
    EXPECT_EQ(earlier->GetText().str(), L"Uninstall");
    // No second uninstall can start meanwhile: the earlier row is disabled too.
    EXPECT_FALSE(earlier->IsEnabled());
    EXPECT_FALSE(main.InRow(1, L"btnUniNameKB8")->IsEnabled());

    installer.Release();
    ASSERT_TRUE(main.PumpUntil([&] { return !later->IsVisible(); }));
    EXPECT_TRUE(earlier->IsEnabled());
    EXPECT_TRUE(main.InRow(1, L"btnUniNameKB8")->IsEnabled());
    EXPECT_EQ(installer.Calls().size(), 1u);

    // Closing releases all three rows, the earlier duplicate included, each once.
    ASSERT_TRUE(main.driver().Click(CLOSE_BUTTON));
    main.driver().Pump();
    EXPECT_EQ(HotfixManageItemDetail::LiveRows(), rowsBefore);
    main.Destroy();
    EXPECT_EQ(HotfixManageItemDetail::LiveRows(), rowsBefore);
}

TEST_F(HotfixListTest, MissingContainerBuildsNoRows) {
    LogCapture log;
    m_enumeration.Succeed(NumberedHotfixes(2));
    OpenMainWindow main;
    main.Find(L"containerInstalledHotfix")->SetName(L"renamedContainer");
    ASSERT_TRUE(
        main.PumpUntil([&] { return log.Contains(L"containerInstalledHotfix control is null!"); }));
    EXPECT_TRUE(
        log.Contains(L"containerInstalledHotfix control is null!(MainWindow::UpdateContainer)"));
    EXPECT_TRUE(main.Shown(L"loadHotfixFinishLayout"));
    EXPECT_EQ(main.Text(L"hotfixFirstTitle"), L"Total: 2");
    EXPECT_EQ(main.FindAs<DuiLib::CContainerUI>(L"renamedContainer")->GetCount(), 0);
}

TEST_F(HotfixListTest, EmptyIdentifierGetsARowThatStartsNothing) {
    LogCapture log;
    m_enumeration.Succeed({Hotfix(L""), Hotfix(L"KB2")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    ASSERT_TRUE(main.driver().Click(L"btnUniName")) << main.driver().LastError();
    EXPECT_TRUE(log.Contains(L"click hotfix name:(MainWindow::OnClick)"));
    EXPECT_TRUE(log.Contains(L"ctrName is null(HotfixManageItemDetail::OnClickUninstall)"));
    EXPECT_TRUE(main.InRow(1, L"btnUniNameKB2")->IsEnabled());
    EXPECT_TRUE(WinApi::Testing::LaunchRecords().empty());
}

}  // namespace
