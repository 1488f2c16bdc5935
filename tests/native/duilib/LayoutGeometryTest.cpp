// Where the layouts put controls: fixed and flexible sizes, padding, inset,
// childpadding, floating "pos", min/max, at 100, 125 and 150 percent, and
// vertical scrolling when the content is taller than the view.
#include <iterator>

#include "DuiTestEnv.h"

using namespace DuiLib;

namespace {

// Worked by hand from geometry.xml, each control at 100, 125 and 150 %, in a
// client area of 300 x 400 scaled alike. At 125 % the flexible space (315 px)
// does not split evenly: the last flexible child takes the extra pixel.
constexpr unsigned kScales[] = {100, 125, 150};

struct Placement {
    const wchar_t* name;
    UIRect at[3];  // at each of kScales
};

const Placement kPlacements[] = {
    {L"root", {{0, 0, 300, 400}, {0, 0, 375, 500}, {0, 0, 450, 600}}},
    {L"fixedTop", {{8, 8, 292, 48}, {10, 10, 365, 60}, {12, 12, 438, 72}}},
    {L"flexA", {{8, 52, 292, 178}, {10, 65, 365, 222}, {12, 78, 438, 267}}},
    {L"flexB", {{12, 186, 284, 312}, {15, 232, 355, 390}, {18, 279, 426, 468}}},
    {L"row", {{8, 320, 292, 368}, {10, 400, 365, 460}, {12, 480, 438, 552}}},
    {L"left", {{12, 324, 72, 364}, {15, 405, 90, 455}, {18, 486, 108, 546}}},
    {L"mid", {{76, 324, 252, 364}, {95, 405, 315, 455}, {114, 486, 378, 546}}},
    {L"right", {{256, 332, 288, 352}, {320, 415, 360, 440}, {384, 498, 432, 528}}},
    {L"narrow", {{8, 372, 108, 392}, {10, 465, 135, 490}, {12, 558, 162, 588}}},
    {L"floater", {{20, 32, 120, 60}, {25, 40, 150, 75}, {30, 48, 180, 90}}},
};

std::string Describe(const UIRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

class GeometryTest : public DuiTest::ToolkitTest {};

TEST_F(GeometryTest, PlacesEveryControlOfTheFixtureAtEachScale) {
    for (size_t s = 0; s < std::size(kScales); ++s) {
        const unsigned scale = kScales[s];
        CPaintManagerUI manager;
        manager.SetScale(scale);
        CDialogBuilder builder;
        ASSERT_TRUE(manager.AttachDialog(builder.Create(L"layout\\geometry.xml")));
        UITestDriver driver(manager, static_cast<int>(300 * scale / 100),
                            static_cast<int>(400 * scale / 100));
        driver.Layout();
        for (const Placement& p : kPlacements) {
            CControlUI* control = manager.FindControl(p.name);
            ASSERT_NE(control, nullptr) << scale;
            EXPECT_EQ(Describe(control->GetPos()), Describe(p.at[s]))
                << "control " << std::string(p.name, p.name + wcslen(p.name)) << " at " << scale;
        }
    }
}

class LayoutTest : public DuiTest::ToolkitTest {
protected:
    CControlUI* Build(const wchar_t* xml, int width, int height) {
        CDialogBuilder builder;
        m_manager.AttachDialog(builder.Create(xml));
        m_driver.reset(new UITestDriver(m_manager, width, height));
        m_driver->Layout();
        return m_manager.GetRoot();
    }
    UIRect Pos(const wchar_t* name) { return m_manager.FindControl(name)->GetPos(); }
    // The rectangles of the named controls, in that order, separated by "; ".
    std::string Places(std::initializer_list<const wchar_t*> names) {
        std::string places;
        for (const wchar_t* name : names)
            places += (places.empty() ? "" : "; ") + Describe(Pos(name));
        return places;
    }

    CPaintManagerUI m_manager;
    std::unique_ptr<UITestDriver> m_driver;
};

TEST_F(LayoutTest, FlexibleChildrenRespectTheirMinimumAndMaximum) {
    Build(
        L"<VerticalLayout><Control name='a' maxheight='50'/><Control name='b'/>"
        L"<Control name='c' minheight='200'/></VerticalLayout>",
        100, 300);
    EXPECT_EQ(Places({L"a", L"b", L"c"}), "0,0,100,50; 0,50,100,100; 0,100,100,300");
}

TEST_F(LayoutTest, HiddenChildrenTakeNoSpaceAndRuntimeChangesRelayout) {
    Build(
        L"<HorizontalLayout><Control name='a' width='40'/><Control name='b'/>"
        L"<Control name='c' width='40'/></HorizontalLayout>",
        200, 20);
    EXPECT_EQ(Describe(Pos(L"b")), "40,0,160,20");
    m_manager.FindControl(L"a")->SetVisible(false);
    m_manager.FindControl(L"c")->SetFixedWidth(100);
    EXPECT_TRUE(m_manager.NeedsLayout());
    m_driver->Layout();
    EXPECT_EQ(Places({L"b", L"c"}), "0,0,100,20; 100,0,200,20");
}

TEST_F(LayoutTest, SettingPosAtRunTimeMakesTheControlFloat) {
    Build(
        L"<VerticalLayout inset='5,5,5,5'><Control name='a' height='30'/>"
        L"<Control name='b' height='30'/></VerticalLayout>",
        200, 200);
    m_manager.FindControl(L"a")->SetAttribute(L"pos", L"136,25,442,157");
    m_driver->Layout();
    EXPECT_TRUE(m_manager.FindControl(L"a")->IsFloat());
    EXPECT_EQ(Describe(Pos(L"a")), "136,25,442,157");  // relative to the parent, not its inset
    EXPECT_EQ(Describe(Pos(L"b")), "5,5,195,35");      // a left the stacking
}

class ScrollTest : public DuiTest::ToolkitTest {
protected:
    void SetUp() override {
        DuiTest::ToolkitTest::SetUp();
        m_window.reset(new DuiTest::RecordingWindow(L"layout\\window.xml"));
        ASSERT_NE(m_window->CreateDefault(), nullptr);
        m_driver.reset(new UITestDriver(*m_window));
        m_driver->Layout();
        m_list = dynamic_cast<CContainerUI*>(m_driver->Find(L"list"));
        ASSERT_NE(m_list, nullptr);
    }
    int Top(const wchar_t* name) { return m_driver->Find(name)->GetPos().top; }

    std::unique_ptr<DuiTest::RecordingWindow> m_window;
    std::unique_ptr<UITestDriver> m_driver;
    CContainerUI* m_list = nullptr;
};

TEST_F(ScrollTest, TheWheelScrollsContentTallerThanTheViewWithinItsRange) {
    // The list shows 230 px of its 400 px.
    EXPECT_EQ(Describe(m_list->GetPos()), "0,70,400,300");
    EXPECT_EQ(m_list->GetScrollRange(), 170);
    EXPECT_EQ(Top(L"item1"), 70);

    ASSERT_TRUE(m_driver->Wheel(L"item2", -120)) << m_driver->LastError();
    EXPECT_EQ(m_list->GetScrollPos(), 48);
    EXPECT_EQ(Top(L"item1"), 22);
    EXPECT_EQ(Top(L"item4"), 322);

    for (int i = 0; i < 5; ++i) m_driver->Wheel(L"list", -120);
    EXPECT_EQ(m_list->GetScrollPos(), 170);
    EXPECT_EQ(Top(L"item4"), 200);

    ASSERT_TRUE(m_driver->Wheel(L"item4", 3 * 120));
    EXPECT_EQ(m_list->GetScrollPos(), 26);
    ASSERT_TRUE(m_driver->Wheel(L"list", 120));
    EXPECT_EQ(m_list->GetScrollPos(), 0);
}

TEST_F(ScrollTest, OnlyTheVisiblePartOfAScrolledControlTakesInput) {
    // item3 (270..370) is mostly outside the view (70..300): clicks land on its visible part.
    ASSERT_TRUE(m_driver->Click(L"item3")) << m_driver->LastError();
    EXPECT_EQ(m_window->events, std::vector<std::wstring>{L"click:item3"});
    EXPECT_FALSE(m_driver->Click(L"item4"));  // wholly below the view
    // Scrolled to the end, item1 is out of view and cannot be clicked.
    m_list->SetScrollPos(1000);
    EXPECT_FALSE(m_driver->Click(L"item1"));
    EXPECT_NE(m_driver->LastError().find("clipped"), std::string::npos) << m_driver->LastError();
}

TEST_F(ScrollTest, AContainerWhoseContentFitsDoesNotScroll) {
    ASSERT_TRUE(m_window->GetPaintManager().FindControl(L"item3")->GetParent() == m_list);
    m_list->Remove(m_driver->Find(L"item3"));
    m_list->Remove(m_driver->Find(L"item4"));
    m_driver->Layout();
    EXPECT_EQ(m_list->GetScrollRange(), 0);
    m_driver->Wheel(L"item1", -120);
    EXPECT_EQ(m_list->GetScrollPos(), 0);
    EXPECT_EQ(Top(L"item1"), 70);
}

}  // namespace

namespace {

class FixedSizeTest : public DuiTest::ToolkitTest {};

// A size set from code is already in device pixels (the main window scales the
// list height itself); only the layout's own sizes are scaled by the toolkit.
TEST_F(FixedSizeTest, SizesSetFromCodeAreNotScaledAgain) {
    CPaintManagerUI manager;
    manager.SetScale(150);
    CDialogBuilder builder;
    ASSERT_TRUE(manager.AttachDialog(builder.Create(L"layout\\geometry.xml")));
    UITestDriver driver(manager, 300, 400);
    CControlUI* fixedTop = manager.FindControl(L"fixedTop");
    ASSERT_NE(fixedTop, nullptr);
    driver.Layout();
    const int layoutHeight = fixedTop->GetPos().Height();
    EXPECT_EQ(layoutHeight, fixedTop->GetScaledFixedHeight());

    fixedTop->SetFixedHeight(45);
    driver.Layout();
    EXPECT_EQ(fixedTop->GetPos().Height(), 45);
    EXPECT_EQ(fixedTop->GetFixedHeight(), 45);

    fixedTop->SetAttribute(L"height", L"30");
    driver.Layout();
    EXPECT_EQ(fixedTop->GetPos().Height(), 45) << "layout units are scaled to 150 %";
}

}  // namespace
