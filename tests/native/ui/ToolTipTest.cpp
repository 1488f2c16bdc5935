// Tooltips in the running main window (headless backend): after the hover time a
// title-bar button shows its name and an identifier cut by its cell's ellipsis
// shows whole; a text that fits shows none; moving on, pressing or leaving the
// window takes the tip away, and a row deleted under the mouse leaves nothing behind.
#include "UiFixtures.h"

using namespace UiFixtures;

namespace {

class ToolTipTest : public UiTest {
protected:
    // The tooltip the window shows now.
    std::wstring ShownTip(const OpenMainWindow& main) {
        DuiLib::Headless::WindowState state;
        EXPECT_TRUE(DuiLib::Headless::FindWindowState(main.hwnd(), state));
        return state.toolTip;
    }
};

const std::wstring kLongId = L"KB5034441-Preview-For-Windows-11-Version-23H2";

TEST_F(ToolTipTest, ShowsANameOrACutTextAfterTheHoverTime) {
    m_enumeration.Succeed({Hotfix(kLongId), Hotfix(L"KB7")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    DuiLib::UITestDriver& driver = main.driver();
    driver.Layout();

    ASSERT_TRUE(driver.Hover(L"closeButton"));
    EXPECT_EQ(ShownTip(main), L"");  // not before the hover time
    driver.TickTimers();
    EXPECT_EQ(ShownTip(main), L"Close");

    // Row 0's identifier does not fit its cell: the tip holds it whole, below the cell.
    auto* idCell = main.InRow<DuiLib::CLabelUI>(0, L"hotfixNameText");
    ASSERT_NE(idCell, nullptr);
    const DuiLib::UIRect cell = idCell->GetVisibleRect();
    ASSERT_TRUE(driver.MoveTo((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    EXPECT_EQ(ShownTip(main), L"");
    driver.TickTimers();
    EXPECT_EQ(ShownTip(main), kLongId);
    DuiLib::Headless::WindowState state;
    ASSERT_TRUE(DuiLib::Headless::FindWindowState(main.hwnd(), state));
    EXPECT_EQ(state.toolTipAnchor.bottom, cell.bottom);

    // A press takes it away; it does not come back for the same rest.
    ASSERT_TRUE(driver.ClickAt((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    driver.TickTimers();
    EXPECT_EQ(ShownTip(main), L"");

    // Row 1's identifier fits: no tip.
    const DuiLib::UIRect fits = main.InRow(1, L"hotfixNameText")->GetVisibleRect();
    ASSERT_TRUE(driver.MoveTo(fits.left + 2, (fits.top + fits.bottom) / 2));
    driver.TickTimers();
    EXPECT_EQ(ShownTip(main), L"");

    ASSERT_TRUE(driver.Hover(L"minButton"));
    driver.TickTimers();
    EXPECT_EQ(ShownTip(main), L"Minimize");
    ASSERT_TRUE(driver.LeaveWindow());
    EXPECT_EQ(ShownTip(main), L"");
}

TEST_F(ToolTipTest, ARowRebuiltUnderTheMouseLeavesNoTip) {
    m_enumeration.Succeed({Hotfix(kLongId)});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    main.driver().Layout();
    const DuiLib::UIRect cell = main.InRow(0, L"hotfixNameText")->GetVisibleRect();
    ASSERT_TRUE(main.driver().MoveTo(cell.left + 2, (cell.top + cell.bottom) / 2));
    main.driver().TickTimers();
    ASSERT_EQ(ShownTip(main), kLongId);

    main.window().ShowHotFixesSuccessUI();  // the list is built anew: the cell is gone
    EXPECT_EQ(ShownTip(main), L"");
    EXPECT_EQ(main.driver().TickTimers(), 0);
}

}  // namespace
