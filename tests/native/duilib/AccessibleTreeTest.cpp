// The accessible tree of a window built from a layout file, read the way a
// screen reader reads it: roles, names, states, the tree's shape, hit testing,
// stable ids, and what assistive technology hears as the controls change.
#include <functional>

#include "DuiTestEnv.h"
#include "duilib/UIAccessible.h"
#include "testkit/toolkit/HeardEvents.h"

using namespace DuiLib;

namespace {

class AccessibleTreeTest : public DuiTest::ToolkitTest {
public:
    void SetUp() override {
        DuiTest::ToolkitTest::SetUp();
        Open();
    }
    // A fresh window from the layout, laid out.
    void Open() {
        m_driver.reset();
        m_window.reset(new DuiTest::RecordingWindow(L"layout\\accessible.xml"));
        ASSERT_NE(m_window->CreateDefault(), nullptr);
        m_driver.reset(new UITestDriver(*m_window));
        m_driver->Layout();
    }
    CPaintManagerUI& manager() { return m_window->GetPaintManager(); }
    CControlUI* Find(const wchar_t* name) { return m_driver->Find(name); }
    static std::vector<std::wstring> Names(const std::vector<CControlUI*>& elements) {
        std::vector<std::wstring> names;
        for (CControlUI* e : elements) names.push_back(e->GetName().str());
        return names;
    }

protected:
    std::unique_ptr<DuiTest::RecordingWindow> m_window;
    std::unique_ptr<UITestDriver> m_driver;
};

TEST_F(AccessibleTreeTest, TheTreeHoldsWhatTheWindowShowsUnderTheNamesTheUserReads) {
    EXPECT_EQ(Accessible::Describe(manager().GetRoot()),
              L"client \"Test\" []\n"
              L"  text \"Orvelle Test\" []\n"
              L"  push button \"Notice\" [focusable]\n"
              L"  push button \"x\" [focusable]\n"
              L"  link \"Loading failed. Retry\" [focusable]\n"
              L"  list \"Things\" []\n"
              L"    list item \"one\" [focusable]\n"
              L"      text \"first\" []\n"
              L"      push button \"Go\" [focusable]\n"
              L"    list item \"two\" [focusable]\n"
              L"      text \"second\" []\n"
              L"      push button \"Go\" [focusable]\n"
              L"    list item \"three\" [focusable]\n"
              L"      text \"third\" []\n"
              L"      push button \"Go\" [focusable]\n"
              L"    list item \"four\" [focusable offscreen]\n"
              L"      text \"fourth\" [offscreen]\n"
              L"      push button \"Go\" [focusable offscreen]\n"
              L"  animation \"Busy\" []\n");
    EXPECT_EQ(Accessible::DescriptionOf(Find(L"help")), L"More");  // the tooltip
    EXPECT_EQ(Accessible::DescriptionOf(Find(L"shut")), L"Closes it");
    EXPECT_EQ(Accessible::DefaultActionOf(Find(L"help")), L"Press");
    EXPECT_EQ(Accessible::DefaultActionOf(Find(L"retry")), L"Jump");
    EXPECT_EQ(Accessible::DefaultActionOf(Find(L"title")), L"");
    // Location: client pixels, the whole rectangle also where it is scrolled out.
    const UIRect row4 = Accessible::LocationOf(Find(L"row4"));
    EXPECT_EQ((std::vector<int>{row4.left, row4.top, row4.right, row4.bottom}),
              (std::vector<int>{0, 220, 300, 270}));
}

TEST_F(AccessibleTreeTest, ParentsChildrenAndNavigationDescribeOneTree) {
    std::function<void(CControlUI*)> check = [&](CControlUI* element) {
        SCOPED_TRACE(Accessible::NameOf(element));
        const std::vector<CControlUI*> children = Accessible::ChildrenOf(element);
        EXPECT_EQ(Accessible::Navigate(element, Accessible::Direction::FirstChild),
                  children.empty() ? nullptr : children.front());
        EXPECT_EQ(Accessible::Navigate(element, Accessible::Direction::LastChild),
                  children.empty() ? nullptr : children.back());
        for (size_t i = 0; i < children.size(); ++i) {
            EXPECT_TRUE(Accessible::IsElement(children[i]));
            EXPECT_EQ(Accessible::ParentOf(children[i]), element);
            EXPECT_EQ(Accessible::Navigate(children[i], Accessible::Direction::Next),
                      i + 1 < children.size() ? children[i + 1] : nullptr);
            EXPECT_EQ(Accessible::Navigate(children[i], Accessible::Direction::Previous),
                      i > 0 ? children[i - 1] : nullptr);
            check(children[i]);
        }
    };
    check(manager().GetRoot());
    EXPECT_EQ(Accessible::ParentOf(manager().GetRoot()), nullptr);
    // Hidden, empty and role-less controls are not elements; their parents are.
    for (const wchar_t* name : {L"secret", L"blank", L"decor", L"bar", L"view"}) {
        EXPECT_FALSE(Accessible::IsElement(Find(name))) << name;
    }
    EXPECT_EQ(Accessible::ParentOf(Find(L"help")), manager().GetRoot());
    EXPECT_EQ(Accessible::ParentOf(Find(L"go3")), Find(L"row3"));
}

TEST_F(AccessibleTreeTest, HitTestingFindsTheDeepestElementDrawnAtAPoint) {
    const struct {
        int x, y;
        const wchar_t* element;  // null: outside the window
    } cases[] = {
        {250, 20, L"help"}, {20, 20, L"title"},
        {10, 55, L"retry"}, {150, 100, L"spinner"},  // floats over the first row
        {20, 95, L"text1"}, {280, 145, L"go2"},
        {280, 195, L"go3"}, {225, 20, L"root"},  // the empty label is no element
        {350, 20, nullptr}, {20, 250, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        CControlUI* hit = Accessible::HitTest(manager(), c.x, c.y);
        EXPECT_EQ(hit ? hit->GetName().str() : L"<none>", c.element ? c.element : L"<none>");
    }
}

TEST_F(AccessibleTreeTest, StatesFollowTheFocusEnablingAndScrolling) {
    ASSERT_TRUE(manager().SetFocus(Find(L"go1")));
    EXPECT_EQ(Accessible::StateOf(Find(L"go1")), kAccFocusable | kAccFocused);
    EXPECT_EQ(Accessible::FocusOf(manager()), Find(L"go1"));

    Find(L"bar")->SetEnabled(false);
    EXPECT_EQ(Accessible::StateOf(Find(L"help")), unsigned{kAccUnavailable});
    EXPECT_EQ(Accessible::StateOf(Find(L"title")), unsigned{kAccUnavailable});

    auto* view = dynamic_cast<CContainerUI*>(Find(L"view"));
    view->SetScrollPos(view->GetScrollRange());
    m_driver->Layout();
    EXPECT_EQ(Accessible::StateOf(Find(L"row1")), kAccFocusable | kAccOffscreen);
    EXPECT_EQ(Accessible::StateOf(Find(L"go4")), unsigned{kAccFocusable});

    Find(L"row2")->SetVisible(false);
    EXPECT_EQ(Names(Accessible::ChildrenOf(Find(L"list"))),
              (std::vector<std::wstring>{L"row1", L"row3", L"row4"}));
    EXPECT_EQ(Accessible::StateOf(Find(L"go2")), unsigned{kAccInvisible});
}

TEST_F(AccessibleTreeTest, IdsStayWithTheirControlsAndDieWithThem) {
    CControlUI* go1 = Find(L"go1");
    const int id = Accessible::IdOf(manager(), go1);
    EXPECT_EQ(Accessible::IdOf(manager(), manager().GetRoot()), 0);
    EXPECT_GT(id, 0);
    EXPECT_EQ(Accessible::IdOf(manager(), go1), id);
    EXPECT_EQ(Accessible::ControlOfId(manager(), id), go1);

    const int rowId = Accessible::IdOf(manager(), Find(L"row1"));
    auto* list = dynamic_cast<CContainerUI*>(Find(L"list"));
    list->Remove(Find(L"row1"));
    EXPECT_EQ(Accessible::ControlOfId(manager(), id), nullptr);
    EXPECT_EQ(Accessible::ControlOfId(manager(), rowId), nullptr);
    auto* fresh = new CButtonUI();
    list->Add(fresh);
    const int freshId = Accessible::IdOf(manager(), fresh);
    EXPECT_NE(freshId, id);
    EXPECT_NE(freshId, rowId);
}

TEST_F(AccessibleTreeTest, AChildCursorHandsOutTheChildrenInOrderFromWhereItStopped) {
    auto* list = dynamic_cast<CContainerUI*>(Find(L"list"));
    ASSERT_NE(list, nullptr);
    // More rows, two of them inside a box without a role: they are the list's children too.
    auto* box = new CVerticalLayoutUI();
    list->Add(box);
    for (int i = 0; i < 20; ++i) {
        auto* button = new CButtonUI();
        button->SetName((L"b" + std::to_wstring(i)).c_str());
        (i < 2 ? static_cast<CContainerUI*>(box) : list)->Add(button);
    }
    const std::vector<std::wstring> all = Names(Accessible::ChildrenOf(list));
    ASSERT_EQ(all.size(), 24u);

    struct Step {
        unsigned count;
        size_t expectedFirst, expectedCount;  // indexes into `all`
    };
    // Chunks as IEnumVARIANT::Next asks for them, the last one short, then nothing.
    const Step steps[] = {{1, 0, 1},    {5, 1, 5},   {7, 6, 7}, {0, 13, 0},
                          {10, 13, 10}, {10, 23, 1}, {3, 24, 0}};
    Accessible::ChildCursor cursor;
    Accessible::ChildCursor copy;  // a Clone taken after the second chunk
    for (const Step& step : steps) {
        const std::vector<std::wstring> got =
            Names(Accessible::NextChildren(list, cursor, step.count));
        EXPECT_EQ(got,
                  std::vector<std::wstring>(all.begin() + step.expectedFirst,
                                            all.begin() + step.expectedFirst + step.expectedCount))
            << "asking for " << step.count << " at " << step.expectedFirst;
        if (step.expectedFirst == 1) copy = cursor;
    }
    EXPECT_EQ(Names(Accessible::NextChildren(list, copy, 2)),
              (std::vector<std::wstring>{all[6], all[7]}));

    // The last child handed out goes: the next are those after the place it had,
    // in the list or in the box without a role.
    list->Remove(Find(all[7].c_str()));
    EXPECT_EQ(Names(Accessible::NextChildren(list, copy, 2)),
              (std::vector<std::wstring>{all[8], all[9]}));
    Accessible::ChildCursor inBox;
    EXPECT_EQ(Names(Accessible::NextChildren(list, inBox, 5)).back(), L"b0");
    box->Remove(Find(L"b0"));
    EXPECT_EQ(Names(Accessible::NextChildren(list, inBox, 2)),
              (std::vector<std::wstring>{L"b1", L"b2"}));
}

TEST_F(AccessibleTreeTest, ChangesAreHeardOnTheElementsTheyChange) {
    const struct {
        const char* change;
        std::function<void(AccessibleTreeTest&)> act;
        std::vector<std::wstring> heard;  // "<event> <name>"
    } cases[] = {
        {"text", [](auto& t) { t.Find(L"go1")->SetText(L"Stop"); }, {L"namechange Stop"}},
        {"suffix",
         [](auto& t) { t.Find(L"go1")->SetAccessibleNameSuffix(L"one"); },
         {L"namechange Go one"}},
        {"role-less container hidden",
         [](auto& t) { t.Find(L"bar")->SetVisible(false); },
         {L"hide Orvelle Test", L"hide Notice", L"hide x"}},
        {"list item hidden", [](auto& t) { t.Find(L"row2")->SetVisible(false); }, {L"hide two"}},
        {"hidden label shown",
         [](auto& t) { t.Find(L"secret")->SetVisible(true); },
         {L"show hidden"}},
        {"hidden label's text", [](auto& t) { t.Find(L"secret")->SetText(L"new"); }, {}},
        {"row disabled",
         [](auto& t) { t.Find(L"row1")->SetEnabled(false); },
         {L"statechange one", L"statechange first", L"statechange Go"}},
        {"focus", [](auto& t) { t.manager().SetFocus(t.Find(L"go2")); }, {L"focus Go"}},
        {"an empty label's first text",
         [](auto& t) { t.Find(L"blank")->SetText(L"now"); },
         {L"show now"}},
        {"its last text", [](auto& t) { t.Find(L"text1")->SetText(L""); }, {L"hide "}},
        {"an identifier", [](auto& t) { t.Find(L"go1")->SetName(L"renamed"); }, {}},
        {"rows added at once",
         [](auto& t) {
             UIChangeBatch batch(t.manager());
             auto* list = dynamic_cast<CContainerUI*>(t.Find(L"list"));
             for (const wchar_t* text : {L"five", L"six"}) {
                 auto* row = new CButtonUI();
                 list->Add(row);
                 row->SetText(text);
             }
         },
         {L"reorder Things"}},
        {"scrolled",
         [](auto& t) { dynamic_cast<CContainerUI*>(t.Find(L"view"))->SetScrollPos(10); },
         {L"locationchange Test"}},
        {"the focus moved in the background, then the window activated",
         [](auto& t) {
             t.manager().OnWindowFocus(false);
             t.manager().SetFocus(t.Find(L"go2"));
             EXPECT_EQ(Accessible::FocusOf(t.manager()), nullptr);
             t.manager().OnWindowFocus(true);
         },
         {L"focus Go"}},
        {"every button disabled at once: the focus moves once, to its row",
         [](auto& t) {
             t.manager().SetFocus(t.Find(L"go2"));
             UIChangeBatch batch(t.manager());
             for (const wchar_t* go : {L"go1", L"go2", L"go3", L"go4"}) {
                 t.Find(go)->SetEnabled(false);
             }
         },
         {L"focus Go", L"statechange Go", L"statechange Go", L"statechange Go", L"statechange Go",
          L"focus two"}},
        {"what the focused row holds changes: the row is read again",
         [](auto& t) {
             t.manager().SetFocus(t.Find(L"row1"));
             t.Find(L"text1")->SetText(L"done");
         },
         {L"focus one", L"namechange done", L"focus one"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        Open();
        Headless::TakeHeardEvents(m_window->GetHWND());  // those of building the window
        c.act(*this);
        EXPECT_EQ(HeardEvents::Take(m_window->GetHWND()), c.heard);
    }
}

}  // namespace
