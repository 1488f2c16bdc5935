// The background load and its three views, driven through a real window, the
// shipped layout and language files and a fake WMI enumeration.
#include "UiFixtures.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;
using DuiLib::CControlUI;

namespace {

class MainWindowLoadTest : public UiTest {};

TEST_F(MainWindowLoadTest, ShowsLoadingViewWhileTheQueryRuns) {
    m_enumeration.Hold();
    m_enumeration.Succeed({Hotfix(L"KB1")});
    OpenMainWindow main;
    ASSERT_TRUE(main.created());
    ASSERT_TRUE(m_enumeration.WaitForQueries(1));
    ASSERT_TRUE(main.PumpUntil([&] { return main.Shown(L"loadingHotfixLayout"); }));

    EXPECT_FALSE(main.Shown(L"loadHotfixFailLayout"));
    EXPECT_FALSE(main.Shown(L"loadHotfixFinishLayout"));
    EXPECT_TRUE(main.FindAs<DuiLib::CAnimPanelUI>(L"loadWaitAnimate")->IsAnimating());
    EXPECT_EQ(main.Text(L"loadingText"), L"Reading the installed updates…");
    const std::vector<std::wstring> queries = m_enumeration.Queries();
    EXPECT_EQ(queries[0], L"ROOT\\CIMV2|SELECT * FROM Win32_QuickFixEngineering");

    m_enumeration.Release();
    ASSERT_TRUE(main.WaitForResultView());
    EXPECT_FALSE(main.FindAs<DuiLib::CAnimPanelUI>(L"loadWaitAnimate")->IsAnimating());
}

TEST_F(MainWindowLoadTest, SuccessShowsCountTitleAndHidesThePanel) {
    LogCapture log;
    m_enumeration.Succeed(NumberedHotfixes(3));
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());

    EXPECT_FALSE(main.Shown(L"loadingHotfixLayout"));
    EXPECT_FALSE(main.Shown(L"loadHotfixFailLayout"));
    EXPECT_FALSE(main.Shown(L"hotfixDiscribeLayout"));
    EXPECT_EQ(main.Text(L"hotfixFirstTitle"), L"Total: 3");
    EXPECT_EQ(main.RowCount(), 3);
    EXPECT_TRUE(log.Contains(L"get install list ret:0(MainWindow::StartLoadHotfix::LoadTask)"));
}

TEST_F(MainWindowLoadTest, FailedQueryOffersRetryThatReloads) {
    LogCapture log;
    m_enumeration.Fail();
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForFailView());
    EXPECT_FALSE(main.Shown(L"loadingHotfixLayout"));
    EXPECT_FALSE(main.Shown(L"loadHotfixFinishLayout"));
    EXPECT_EQ(main.Text(L"loadHotfixFailText"),
              L"The installed updates could not be read. {a}Retry{/a}");
    auto* text = main.FindAs<DuiLib::CTextUI>(L"loadHotfixFailText");
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(text->GetLinkCount(), 1);
    EXPECT_TRUE(log.Contains(L"get install list ret:1(MainWindow::StartLoadHotfix::LoadTask)"));

    m_enumeration.Hold();
    m_enumeration.Succeed(NumberedHotfixes(2));
    ASSERT_TRUE(main.driver().ClickLink(L"loadHotfixFailText", 0)) << main.driver().LastError();
    EXPECT_TRUE(log.Contains(L"ENTER Reload Hotfix link(MainWindow::OnLink)"));
    ASSERT_TRUE(main.PumpUntil([&] { return main.Shown(L"loadingHotfixLayout"); }));
    EXPECT_FALSE(main.Shown(L"loadHotfixFailLayout"));

    m_enumeration.Release();
    ASSERT_TRUE(main.WaitForResultView());
    EXPECT_EQ(m_enumeration.Queries().size(), 2u);
    EXPECT_EQ(main.RowCount(), 2);
    EXPECT_EQ(main.Text(L"hotfixFirstTitle"), L"Total: 2");
}

TEST_F(MainWindowLoadTest, EmptyMachineShowsNoUpdateText) {
    LogCapture log;
    m_enumeration.Succeed({});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForFailView());
    EXPECT_EQ(main.Text(L"loadHotfixFailText"), L"No updates are installed on this PC.");
    EXPECT_FALSE(main.Shown(L"loadHotfixFinishLayout"));
    EXPECT_FALSE(main.Shown(L"loadingHotfixLayout"));
    EXPECT_EQ(main.RowCount(), 0);
    EXPECT_TRUE(log.Contains(L"get install list ret:2(MainWindow::StartLoadHotfix::LoadTask)"));
}

TEST_F(MainWindowLoadTest, OtherFailureCodesDependOnTheList) {
    m_enumeration.Succeed(NumberedHotfixes(1));
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    main.window().ShowHotFixesFailUI(7);  // the list still holds the record
    EXPECT_TRUE(main.Shown(L"loadHotfixFailLayout"));
    EXPECT_EQ(main.Text(L"loadHotfixFailText"), L"");
    main.window().ReleaseItems();
    main.window().ShowHotFixesFailUI(7);
    EXPECT_EQ(main.Text(L"loadHotfixFailText"), L"No updates are installed on this PC.");
}

TEST_F(MainWindowLoadTest, ChineseUserGetsChineseTexts) {
    DuiLib::UICulture::GetInstance()->SetLanguage(L"zh-CN", true);
    m_enumeration.Succeed(NumberedHotfixes(12));
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    EXPECT_EQ(main.Text(L"hotfixFirstTitle"), L"共 12 项");
    EXPECT_EQ(main.InRow(0, L"btnUniNameKB5000001")->GetText().str(), L"卸载");
    EXPECT_EQ(main.InRow(0, L"descriptionText")->GetText().str(), L"更新");
}

// Width of the count title and "pos" of the panel beside it, by digits and scale.
struct TitleCase {
    unsigned scale;
    int count;
    int width;
    const wchar_t* pos;
};

class TitlePlacementTest : public UiTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(TitlePlacementTest, TitleWidthAndPanelPositionFollowTheCount) {
    static const TitleCase cases[] = {
        {100, 9, 58, L"136,25,442,157"},    {100, 10, 62, L"140,25,500,157"},
        {100, 999, 70, L"148,25,508,157"},  {100, 1000, 84, L"162,25,468,157"},
        {125, 0, 72, L"136,25,442,157"},    {125, 99, 77, L"140,25,500,157"},
        {125, 100, 87, L"148,25,508,157"},  {125, 4321, 105, L"162,25,468,157"},
        {150, 1, 87, L"136,25,442,157"},    {150, 42, 93, L"140,25,500,157"},
        {150, 500, 105, L"148,25,508,157"}, {150, 1000, 126, L"162,25,468,157"},
    };
    const unsigned scale = GetParam();
    DuiLib::Headless::SetDpiScale(scale);
    m_enumeration.Succeed(NumberedHotfixes(9));
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    CControlUI* title = main.Find(L"hotfixFirstTitle");
    CControlUI* panel = main.Find(L"hotfixDiscribeLayout");
    if (scale == 100) {  // the load itself placed them for 9 records
        EXPECT_EQ(title->GetFixedWidth(), 58);
        EXPECT_EQ(panel->GetFloatPos().left, 136);
    }
    for (const TitleCase& c : cases) {
        if (c.scale != scale) continue;
        main.window().UpdateTitlePosition(c.count);
        EXPECT_EQ(title->GetFixedWidth(), c.width) << "count " << c.count;
        const DuiLib::UIRect pos = panel->GetFloatPos();
        const std::wstring posText = std::to_wstring(pos.left) + L"," + std::to_wstring(pos.top) +
                                     L"," + std::to_wstring(pos.right) + L"," +
                                     std::to_wstring(pos.bottom);
        EXPECT_EQ(posText, c.pos) << "count " << c.count;
        EXPECT_TRUE(panel->IsFloat());
    }
    main.window().UpdateTitlePosition(-1);  // changes nothing
    EXPECT_EQ(panel->GetFloatPos().left, 162);
}

INSTANTIATE_TEST_SUITE_P(Scales, TitlePlacementTest, ::testing::Values(100u, 125u, 150u));

}  // namespace
