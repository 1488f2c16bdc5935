// The window frame: class and title, the title-bar buttons, closing, scale, and a
// layout that lacks one of the controls the window needs.
#include "UiFixtures.h"
#include "testkit/LogCapture.h"
#include "ui/item/HotfixManageItemDetail.h"

using namespace UiFixtures;

namespace {

class MainWindowFrameTest : public UiTest {
protected:
    DuiLib::Headless::WindowState State(HWND hwnd) {
        DuiLib::Headless::WindowState state;
        EXPECT_TRUE(DuiLib::Headless::FindWindowState(hwnd, state));
        return state;
    }
    bool Alive(HWND hwnd) {
        DuiLib::Headless::WindowState state;
        return DuiLib::Headless::FindWindowState(hwnd, state);
    }
};

TEST_F(MainWindowFrameTest, WindowCarriesItsClassTitleAndLayout) {
    m_enumeration.Succeed({Hotfix(L"KB1")});
    OpenMainWindow main;
    ASSERT_TRUE(main.created());
    EXPECT_EQ(State(main.hwnd()).className, L"OrvelleExUI");
    EXPECT_EQ(State(main.hwnd()).title, L"OrvelleEx");
    EXPECT_EQ(DuiLib::WindowApi::FindWindowW(MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE), main.hwnd());
    EXPECT_EQ(main.Text(L"appTitle"), L"OrvelleEx");
    EXPECT_EQ(main.window().GetSkinFile().str(), L"layout\\MainWindow.xml");
}

TEST_F(MainWindowFrameTest, ScaleFactorComesFromTheWindowScale) {
    OpenMainWindow main;
    const std::pair<unsigned, float> cases[] = {
        {0, 1.0f}, {100, 1.0f}, {125, 1.25f}, {150, 1.5f}, {200, 2.0f}};
    for (const auto& c : cases) {
        main.window().GetPaintManager().SetScale(c.first);
        EXPECT_FLOAT_EQ(main.window().GetScaleFactor(), c.second) << c.first;
    }
}

TEST_F(MainWindowFrameTest, MinimiseButtonMinimisesTheWindow) {
    OpenMainWindow main;
    ASSERT_TRUE(main.driver().Click(MIN_BUTTON)) << main.driver().LastError();
    EXPECT_TRUE(State(main.hwnd()).minimized);
}

TEST_F(MainWindowFrameTest, CloseButtonReleasesRowsClosesAndPostsQuitOnce) {
    const int rowsBefore = HotfixManageItemDetail::LiveRows();
    m_enumeration.Succeed(NumberedHotfixes(3));
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    EXPECT_EQ(HotfixManageItemDetail::LiveRows(), rowsBefore + 3);
    ASSERT_TRUE(main.driver().Click(CLOSE_BUTTON)) << main.driver().LastError();
    EXPECT_EQ(HotfixManageItemDetail::LiveRows(), rowsBefore);
    EXPECT_TRUE(DuiLib::Headless::IsQuitPending());
    main.driver().Pump();  // the close request comes back as a close message
    EXPECT_FALSE(Alive(main.hwnd()));
    EXPECT_EQ(HotfixManageItemDetail::LiveRows(), rowsBefore);  // the second release finds none

    // One quit: the loop consumes it and nothing is left pending.
    DuiLib::CPaintManagerUI::MessageLoop();
    EXPECT_FALSE(DuiLib::Headless::IsQuitPending());
}

TEST_F(MainWindowFrameTest, CloseMessageClosesLikeTheButton) {
    m_enumeration.Succeed(NumberedHotfixes(2));
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    main.window().SendMessageW(WM_CLOSE, 0, 0);
    main.driver().Pump();
    EXPECT_FALSE(Alive(main.hwnd()));
    EXPECT_TRUE(DuiLib::Headless::IsQuitPending());
    DuiLib::CPaintManagerUI::MessageLoop();
    EXPECT_FALSE(DuiLib::Headless::IsQuitPending());
}

TEST_F(MainWindowFrameTest, ButtonNamesAreComparedWholeAndCaseSensitive) {
    LogCapture log;
    OpenMainWindow main;
    main.Find(CLOSE_BUTTON)->SetName(L"CloseButton");
    main.Find(MIN_BUTTON)->SetName(L"minButton2");
    ASSERT_TRUE(main.driver().Click(L"CloseButton"));
    ASSERT_TRUE(main.driver().Click(L"minButton2"));
    main.driver().Pump();
    EXPECT_TRUE(Alive(main.hwnd()));
    EXPECT_FALSE(State(main.hwnd()).minimized);
    EXPECT_FALSE(DuiLib::Headless::IsQuitPending());

    DuiLib::TNotifyUI nobody;
    nobody.sType = L"click";
    main.window().OnClick(nobody);
    EXPECT_TRUE(log.Contains(L"msg pSender is null(MainWindow::OnClick)"));
}

class IncompleteLayoutTest : public MainWindowFrameTest {
protected:
    void SetUp() override {
        MainWindowFrameTest::SetUp();
        const fs::path file = fs::path(m_folder) / "res" / "layout" / "MainWindow.xml";
        std::string text = ReadFile(file);
        const std::string name = "name=\"hotfixDiscribeLayout\"";
        text.replace(text.find(name), name.size(), "name=\"somePanel\"");
        WriteFile(file, text);
    }
};

TEST_F(IncompleteLayoutTest, MissingControlStopsInitialisationButTheWindowStillCloses) {
    LogCapture log;
    m_enumeration.Succeed({Hotfix(L"KB1")});
    OpenMainWindow main;
    ASSERT_TRUE(main.created());
    ASSERT_TRUE(FinishBackgroundWork());  // a load, had one started, has queried by now

    const std::vector<LogRecord> windowLines = log.Matching(L"(MainWindow::");
    ASSERT_EQ(windowLines.size(), 1u);
    EXPECT_EQ(windowLines[0].text, L"main form control is null!(MainWindow::InitWindow)");
    EXPECT_EQ(windowLines[0].level, LOG_ERROR);
    EXPECT_TRUE(m_enumeration.Queries().empty());
    EXPECT_FALSE(main.FindAs<DuiLib::CAnimPanelUI>(L"loadWaitAnimate")->IsAnimating());
    EXPECT_EQ(State(main.hwnd()).title, L"OrvelleEx");

    ASSERT_TRUE(main.driver().Click(CLOSE_BUTTON));
    main.driver().Pump();
    EXPECT_FALSE(Alive(main.hwnd()));
    EXPECT_TRUE(DuiLib::Headless::IsQuitPending());
}

}  // namespace
