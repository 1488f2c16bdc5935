// Scrolling lists: the wheel by the system's setting, the bar's thumb and
// track, keys and the keyboard focus, hit-testing after a scroll, and children
// moved out of view agreeing with a full layout.
//
// window.xml at 100 %: the list is 230 px high (70..300) and holds four 100 px
// buttons, so it scrolls 170 px and its thumb is 230 * 230 / 400 = 132 px.
#include "DuiTestEnv.h"
#include "duilib/UIBackend.h"

using namespace DuiLib;

namespace {

class ListScrollTest : public DuiTest::ToolkitTest {
protected:
    void Open(unsigned scale = 100) {
        Headless::SetDpiScale(scale);
        ASSERT_NE(m_window.CreateDefault(), nullptr);
        m_driver.reset(new UITestDriver(m_window));
        m_driver->Layout();
        m_list = dynamic_cast<CContainerUI*>(m_driver->Find(L"list"));
        ASSERT_NE(m_list, nullptr);
    }
    CPaintManagerUI& Manager() { return m_window.GetPaintManager(); }

    DuiTest::RecordingWindow m_window{L"layout\\window.xml"};
    std::unique_ptr<UITestDriver> m_driver;
    CContainerUI* m_list = nullptr;
};

struct WheelCase {
    unsigned scale;
    unsigned lines;
    std::vector<int> deltas;
    int position;
};

class WheelTest : public ListScrollTest, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(WheelTest, ScrollsByTheSystemsLinesAddingUpSmallSteps) {
    Headless::SetWheelScrollLines(GetParam().lines);
    Open(GetParam().scale);
    for (int delta : GetParam().deltas) ASSERT_TRUE(m_driver->Wheel(L"item1", delta));
    EXPECT_EQ(m_list->GetScrollPos(), GetParam().position);
}

// A line is 16 px at 100 %, 24 px at 150 % (where the list scrolls 255 px).
INSTANTIATE_TEST_SUITE_P(
    Settings, WheelTest,
    ::testing::Values(WheelCase{100, 3, {-120}, 48}, WheelCase{100, 1, {-120}, 16},
                      WheelCase{150, 3, {-120}, 72}, WheelCase{100, 3, {-40, -40, -40}, 48},
                      WheelCase{100, 3, {-30}, 12}, WheelCase{100, 1, {-20, -20, -20, -20}, 10},
                      WheelCase{100, 3, {-120, -120, 120}, 48},
                      WheelCase{100, 3, {-60, 30}, 12},  // a turn back starts afresh
                      WheelCase{100, Backend::kWheelPageScroll, {-120}, 170},
                      WheelCase{100, 0, {-120}, 0}, WheelCase{100, 3, {-1200}, 170},
                      WheelCase{100, 0xFFFFFFFEu, {-120}, 170},  // an absurd setting
                      WheelCase{100, 0xFFFFFFFEu, {120}, 0}));

TEST_F(ListScrollTest, AnInsetTallerThanTheContainerLeavesNothingToScroll) {
    DuiTest::RecordingWindow window(
        L"<Window size='100,100'><VerticalLayout name='list' vscrollbar='true' "
        L"inset='0,80,0,80'/></Window>");
    ASSERT_NE(window.CreateDefault(), nullptr);
    UITestDriver driver(window);
    driver.Layout();
    auto* list = dynamic_cast<CContainerUI*>(driver.Find(L"list"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetScrollRange(), 0);
    EXPECT_TRUE(IsRectEmpty(list->GetScrollThumbRect()));
    EXPECT_GE(list->GetViewRect().Height(), 0);
}

TEST_F(ListScrollTest, TheThumbIsTheVisibleShareAndFollowsADrag) {
    Open();
    UIRect thumb = m_list->GetScrollThumbRect();
    EXPECT_EQ(thumb.top, 70);
    EXPECT_EQ(thumb.Height(), 132);
    const UIRect track = m_list->GetScrollTrackRect();
    EXPECT_EQ(track.top, 70);
    EXPECT_EQ(track.bottom, 300);
    const int x = track.left + track.Width() / 2;
    // Grab the middle and drag half its travel (98 px) down: half the range.
    Manager().OnMouseMove(x, thumb.top + 60);
    Manager().OnButtonDown(x, thumb.top + 60);
    Manager().OnMouseMove(x, thumb.top + 60 + 49);
    EXPECT_EQ(m_list->GetScrollPos(), 85);
    Manager().OnMouseMove(x + 200, 1000);  // the drag goes on outside the bar
    EXPECT_EQ(m_list->GetScrollPos(), 170);
    Manager().OnButtonUp(x + 200, 1000);
    Manager().OnMouseMove(x, 150);
    EXPECT_EQ(m_list->GetScrollPos(), 170);
    EXPECT_EQ(m_list->GetScrollThumbRect().bottom, 300);
}

TEST_F(ListScrollTest, APressOnTheTrackPagesTowardsIt) {
    Open();
    const UIRect track = m_list->GetScrollTrackRect();
    const int x = track.left + 2;
    ASSERT_TRUE(m_driver->ClickAt(x, 290));  // below the thumb
    EXPECT_EQ(m_list->GetScrollPos(), 170);  // a page is 230: to the end
    ASSERT_TRUE(m_driver->ClickAt(x, 75));   // above it
    EXPECT_EQ(m_list->GetScrollPos(), 0);
    EXPECT_EQ(m_window.events, std::vector<std::wstring>{});  // the buttons under it get nothing
    EXPECT_FALSE(Manager().HitTestCaption(x, 75));
}

class HitAfterScrollTest : public ListScrollTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(HitAfterScrollTest, ClicksAndHoverFindWhatIsShownAfterTheWheel) {
    Open(GetParam());
    EXPECT_FALSE(m_driver->Click(L"item4"));  // below the view
    ASSERT_TRUE(m_driver->Hover(L"item2"));
    ASSERT_TRUE(m_driver->Wheel(L"item2", -120 * 10));
    EXPECT_EQ(m_list->GetScrollPos(), m_list->GetScrollRange());
    // The mouse did not move: what is under it now (item2's place) is hot.
    EXPECT_EQ(Manager().GetHotControl(), m_driver->Find(L"item4"));
    ASSERT_TRUE(m_driver->Click(L"item4")) << m_driver->LastError();
    EXPECT_FALSE(m_driver->Click(L"item1"));
    EXPECT_EQ(m_window.events, std::vector<std::wstring>{L"click:item4"});
}

INSTANTIATE_TEST_SUITE_P(Scales, HitAfterScrollTest, ::testing::Values(100u, 150u));

TEST_F(ListScrollTest, AKeyboardFocusIsScrolledWhollyIntoView) {
    Open();
    auto wholly = [this](const wchar_t* name) {
        const UIRect rc = m_driver->Find(name)->GetPos();
        const UIRect view = m_list->GetViewRect();
        return rc.top >= view.top && rc.bottom <= view.bottom;
    };
    ASSERT_TRUE(m_driver->PressKeys(UIKEY_TAB, 6));  // about, close, retry, item1 .. item3
    EXPECT_EQ(m_driver->FocusName(), L"item3");
    EXPECT_TRUE(wholly(L"item3"));
    EXPECT_EQ(m_list->GetScrollPos(), 73);  // its bottom and the indicator's 3 px
    ASSERT_TRUE(m_driver->PressKey(UIKEY_TAB));
    EXPECT_EQ(m_driver->FocusName(), L"item4");
    EXPECT_TRUE(wholly(L"item4"));
    EXPECT_EQ(m_list->GetScrollPos(), 170);
    ASSERT_TRUE(m_driver->PressKeys(UIKEY_TAB, 3, UIMOD_SHIFT));
    EXPECT_EQ(m_driver->FocusName(), L"item1");
    EXPECT_TRUE(wholly(L"item1"));
    EXPECT_EQ(m_list->GetScrollPos(), 0);
    // A focus given by the program (or a press) does not scroll.
    Manager().SetFocus(m_driver->Find(L"item4"));
    EXPECT_EQ(m_list->GetScrollPos(), 0);
}

struct PageCase {
    unsigned key;
    const wchar_t* from;
    int position;
    const wchar_t* focus;
};

class PageKeyTest : public ListScrollTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageKeyTest, PageKeysScrollTheListWithTheFocusAndTakeTheFocusAlong) {
    Open();
    ASSERT_TRUE(Manager().SetFocus(m_driver->Find(GetParam().from)));
    ASSERT_TRUE(m_driver->PressKey(GetParam().key));
    EXPECT_EQ(m_list->GetScrollPos(), GetParam().position);
    EXPECT_EQ(m_driver->FocusName(), GetParam().focus);
}

// Page Down: a page on, the focus to the last button wholly in view; Page Up:
// to the first; End / Home: the list's end and its last / first button.
INSTANTIATE_TEST_SUITE_P(Keys, PageKeyTest,
                         ::testing::Values(PageCase{UIKEY_PAGEDOWN, L"item1", 170, L"item4"},
                                           PageCase{UIKEY_END, L"item1", 170, L"item4"},
                                           PageCase{UIKEY_PAGEUP, L"item4", 0, L"item1"},
                                           PageCase{UIKEY_HOME, L"item3", 0, L"item1"}));

TEST_F(ListScrollTest, PageKeysOutsideAListAreNotUsed) {
    Open();
    ASSERT_TRUE(m_driver->PressKey(UIKEY_TAB));  // aboutButton
    EXPECT_FALSE(m_driver->PressKey(UIKEY_PAGEDOWN));
    EXPECT_FALSE(m_driver->PressKey(UIKEY_END));
    EXPECT_EQ(m_list->GetScrollPos(), 0);
}

// Every control's rectangle, by name, as GetPos reports it.
std::vector<std::pair<std::wstring, UIRect>> Positions(CControlUI* control) {
    std::vector<std::pair<std::wstring, UIRect>> out{{control->GetName().str(), control->GetPos()}};
    if (auto* box = dynamic_cast<CContainerUI*>(control)) {
        for (int i = 0; i < box->GetCount(); ++i) {
            for (auto& entry : Positions(box->GetItemAt(i))) out.push_back(entry);
        }
    }
    return out;
}

TEST_F(ListScrollTest, ControlsMovedOutOfViewAreWhereAFullLayoutPutsThem) {
    // A list inside a list, as the main window has it, with rows of nested controls.
    CPaintManagerUI manager;
    CDialogBuilder builder;
    ASSERT_TRUE(manager.AttachDialog(
        builder.Create(L"<VerticalLayout name='view' vscrollbar='true' inset='0,10,0,10'>"
                       L"<VerticalLayout name='rows' height='6000'/></VerticalLayout>")));
    auto* rows = dynamic_cast<CContainerUI*>(manager.FindControl(L"rows"));
    for (int i = 0; i < 200; ++i) {
        rows->Add(builder.Create((L"<HorizontalLayout name='row" + std::to_wstring(i) +
                                  L"' height='30' inset='4,2,4,2'><Label width='50'/>"
                                  L"<HorizontalLayout><Button name='button" +
                                  std::to_wstring(i) +
                                  L"' width='40'/></HorizontalLayout>"
                                  L"</HorizontalLayout>")
                                     .c_str()));
    }
    UITestDriver driver(manager, 300, 200);
    driver.Layout();
    auto* view = dynamic_cast<CContainerUI*>(manager.FindControl(L"view"));
    for (int position : {35, 4000, 4017, 120, 5820, 0}) {
        SCOPED_TRACE(position);
        view->SetScrollPos(position);
        const auto moved = Positions(manager.GetRoot());
        manager.SetNeedsLayout();
        driver.Layout();
        EXPECT_EQ(Positions(manager.GetRoot()), moved);
    }
}

TEST_F(ListScrollTest, PaintingALongListDrawsOnlyWhatIsInView) {
    auto commandsFor = [](int count) {
        CPaintManagerUI manager;
        CDialogBuilder builder;
        manager.AttachDialog(
            builder.Create(L"<VerticalLayout name='view' vscrollbar='true'></VerticalLayout>"));
        auto* view = dynamic_cast<CContainerUI*>(manager.FindControl(L"view"));
        for (int i = 0; i < count; ++i) {
            view->Add(builder.Create(L"<Button height='20' text='row' bkcolor='#FF112233'/>"));
        }
        UITestDriver driver(manager, 100, 100);
        driver.Layout();
        view->SetScrollPos(60);
        return driver.Paint().Commands().size();
    };
    EXPECT_EQ(commandsFor(1000), commandsFor(20));
}

}  // namespace
