// Keys through the manager: the focus order read from the tree, activation
// that raises what a click raises, Esc for the window's cancel control, the
// focus indicator and its Windows convention, focus notifications.
#include "DuiTestEnv.h"

using namespace DuiLib;

namespace {

using Events = std::vector<std::wstring>;

// Records links and focus changes too (WindowImplBase's map has "click" only).
class KeyWindow : public DuiTest::RecordingWindow {
public:
    explicit KeyWindow(std::wstring skin = L"layout\\window.xml") : RecordingWindow(skin) {}
    void Notify(TNotifyUI& msg) override {
        for (const wchar_t* type : {L"link", L"setfocus", L"killfocus"}) {
            if (msg.sType == type) Record(type, msg);
        }
        RecordingWindow::Notify(msg);
    }
};

class KeyboardTest : public DuiTest::ToolkitTest {
protected:
    void Open(KeyWindow& window) {
        ASSERT_NE(window.CreateDefault(), nullptr);
        m_driver.reset(new UITestDriver(window));
        m_driver->Layout();
    }
    // The focus after each of `times` presses of the key.
    std::vector<std::wstring> FocusAfterEach(unsigned key, int times, unsigned modifiers = 0) {
        std::vector<std::wstring> names;
        for (int i = 0; i < times; ++i) {
            m_driver->PressKey(key, modifiers);
            names.push_back(m_driver->FocusName());
        }
        return names;
    }
    // The clicks and links among the recorded events.
    static Events Actions(const Events& events) {
        Events out;
        for (const std::wstring& e : events) {
            if (e.rfind(L"click:", 0) == 0 || e.rfind(L"link:", 0) == 0) out.push_back(e);
        }
        return out;
    }
    std::unique_ptr<UITestDriver> m_driver;
};

TEST_F(KeyboardTest, TabWalksTheFocusableControlsInTreeOrderWrappingRound) {
    KeyWindow window;
    Open(window);
    EXPECT_EQ(m_driver->FocusName(), L"");  // a fresh window has no focus
    EXPECT_EQ(FocusAfterEach(UIKEY_TAB, 8),
              (Events{L"aboutButton", L"closeButton", L"retryText", L"item1", L"item2", L"item3",
                      L"item4", L"aboutButton"}));
    EXPECT_EQ(FocusAfterEach(UIKEY_TAB, 2, UIMOD_SHIFT), (Events{L"item4", L"item3"}));

    // Hidden and disabled controls (and what they hold) are passed over.
    m_driver->Find(L"closeButton")->SetVisible(false);
    m_driver->Find(L"item2")->SetEnabled(false);
    ASSERT_TRUE(window.GetPaintManager().SetFocus(m_driver->Find(L"aboutButton")));
    EXPECT_EQ(FocusAfterEach(UIKEY_TAB, 5),
              (Events{L"retryText", L"item1", L"item3", L"item4", L"aboutButton"}));
    m_driver->Find(L"list")->SetEnabled(false);
    EXPECT_EQ(FocusAfterEach(UIKEY_TAB, 3, UIMOD_SHIFT),
              (Events{L"retryText", L"aboutButton", L"retryText"}));
}

// A dialog's layout names the control it opens on; the reader hears it when the
// window is shown and active, not while it is built out of sight.
TEST_F(KeyboardTest, AWindowOpensOnTheControlItsLayoutNamesAndTheReaderHearsItOnceShown) {
    const struct {
        const wchar_t* focus;
        std::wstring opensOn, afterTab;
    } cases[] = {
        {L"closeButton", L"closeButton", L"retryText"},
        {L"title", L"", L"aboutButton"},  // cannot take the focus: none, as without the attribute
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.focus));
        KeyWindow window(
            std::wstring(L"<Window size=\"200,100\" focus=\"") + c.focus +
            L"\"><HorizontalLayout><Label name=\"title\" text=\"t\"/>"
            L"<Button name=\"aboutButton\" text=\"?\"/>"
            L"<Button name=\"closeButton\" text=\"x\"/>"
            L"<Text name=\"retryText\" text=\"IDS_LOAD_FAIL\"/></HorizontalLayout></Window>");
        ASSERT_NE(window.Create(nullptr, L"", WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT),
                  nullptr);
        CControlUI* focus = window.GetPaintManager().GetFocus();
        EXPECT_EQ(focus ? focus->GetName().str() : L"", c.opensOn);
        EXPECT_TRUE(Headless::TakeHeardEvents(window.GetHWND()).empty());
        window.ShowWindow(true, true);
        const auto heard = Headless::TakeHeardEvents(window.GetHWND());
        EXPECT_EQ(heard.size(), focus ? 1u : 0u);
        if (focus && !heard.empty()) EXPECT_EQ(heard[0].type, UIAccessibleEventType::Focus);
        m_driver.reset(new UITestDriver(window));
        EXPECT_EQ(FocusAfterEach(UIKEY_TAB, 1), Events{c.afterTab});
        m_driver.reset();
    }
}

TEST_F(KeyboardTest, TheFirstShiftTabOfAFreshWindowFocusesTheLastControl) {
    KeyWindow window;
    Open(window);
    EXPECT_EQ(FocusAfterEach(UIKEY_TAB, 1, UIMOD_SHIFT), Events{L"item4"});
}

TEST_F(KeyboardTest, EnterAndSpaceRaiseExactlyWhatAClickRaises) {
    KeyWindow clicked;
    Open(clicked);
    ASSERT_TRUE(m_driver->Click(L"aboutButton"));
    ASSERT_TRUE(m_driver->ClickLink(L"retryText"));
    ASSERT_TRUE(m_driver->Click(L"item1"));

    KeyWindow keyed;
    Open(keyed);
    ASSERT_TRUE(m_driver->PressKey(UIKEY_TAB));
    ASSERT_TRUE(m_driver->PressKey(UIKEY_RETURN));  // aboutButton
    ASSERT_TRUE(m_driver->PressKeys(UIKEY_TAB, 2));
    ASSERT_TRUE(m_driver->PressKey(UIKEY_SPACE));  // retryText's link
    ASSERT_TRUE(m_driver->PressKey(UIKEY_TAB));
    ASSERT_TRUE(m_driver->PressKey(UIKEY_RETURN));  // item1
    EXPECT_EQ(Actions(keyed.events), Actions(clicked.events));
    EXPECT_EQ(Actions(keyed.events),
              (Events{L"click:aboutButton", L"link:retryText", L"click:item1"}));
}

TEST_F(KeyboardTest, SpaceActsOnReleaseOverTheControlItWentDownOnAndEnterOncePerPress) {
    KeyWindow window;
    Open(window);
    CPaintManagerUI& manager = window.GetPaintManager();
    ASSERT_TRUE(m_driver->PressKey(UIKEY_TAB));
    EXPECT_TRUE(manager.OnKeyDown(UIKEY_SPACE, 0));
    EXPECT_EQ(Actions(window.events), Events{});  // nothing on the way down
    manager.OnKeyDown(UIKEY_TAB, 0);              // the focus moves while Space is held
    EXPECT_FALSE(manager.OnKeyUp(UIKEY_SPACE, 0));
    EXPECT_EQ(Actions(window.events), Events{});

    manager.OnKeyDown(UIKEY_RETURN, 0);
    manager.OnKeyDown(UIKEY_RETURN, 0, true);  // the key's auto-repeat
    manager.OnKeyUp(UIKEY_RETURN, 0);
    EXPECT_EQ(Actions(window.events), Events{L"click:closeButton"});
}

TEST_F(KeyboardTest, EscPressesTheWindowsCancelControlAndOnlyWhileItCanBePressed) {
    KeyWindow dialog(
        L"<Window size='200,100' cancel='closeButton'><HorizontalLayout>"
        L"<Button name='okButton' text='OK'/><Button name='closeButton' text='x'/>"
        L"</HorizontalLayout></Window>");
    Open(dialog);
    EXPECT_EQ(dialog.GetPaintManager().GetCancelControl(), L"closeButton");
    EXPECT_TRUE(m_driver->PressKey(UIKEY_ESCAPE));
    EXPECT_EQ(Actions(dialog.events), Events{L"click:closeButton"});
    m_driver->Find(L"closeButton")->SetEnabled(false);
    m_driver->PressKey(UIKEY_ESCAPE);
    m_driver->Find(L"closeButton")->SetEnabled(true);
    m_driver->Find(L"closeButton")->SetVisible(false);
    m_driver->PressKey(UIKEY_ESCAPE);
    EXPECT_EQ(Actions(dialog.events), Events{L"click:closeButton"});

    // No cancel control: Esc is not the window's, whatever the unnamed controls.
    for (const wchar_t* skin :
         {L"layout\\window.xml", L"<Window size='90,30'><Button text='OK'/></Window>"}) {
        KeyWindow plain(skin);
        Open(plain);
        EXPECT_FALSE(m_driver->PressKey(UIKEY_ESCAPE));
        EXPECT_EQ(Actions(plain.events), Events{});
    }
}

TEST_F(KeyboardTest, SystemCombinationsAndUnknownKeysAreLeftToTheSystem) {
    KeyWindow window;
    Open(window);
    ASSERT_TRUE(m_driver->PressKey(UIKEY_TAB));
    EXPECT_FALSE(m_driver->PressKey(0x73, UIMOD_ALT));  // Alt+F4
    EXPECT_FALSE(m_driver->PressKey(UIKEY_TAB, UIMOD_CONTROL));
    EXPECT_FALSE(m_driver->PressKey(UIKEY_RETURN, UIMOD_ALT));
    EXPECT_FALSE(m_driver->PressKey('A'));
    EXPECT_EQ(m_driver->FocusName(), L"aboutButton");
    EXPECT_EQ(Actions(window.events), Events{});
}

TEST_F(KeyboardTest, FocusChangesAreNotifiedLosingFirst) {
    KeyWindow window;
    Open(window);
    ASSERT_TRUE(m_driver->PressKeys(UIKEY_TAB, 2));
    window.GetPaintManager().SetFocus(nullptr);
    EXPECT_EQ(window.events, (Events{L"setfocus:aboutButton", L"killfocus:aboutButton",
                                     L"setfocus:closeButton", L"killfocus:closeButton"}));
}

// The rings the manager draws round the focus: the last commands of a paint.
struct Rings {
    UIRect outer, inner;
    int outerWidth = 0, innerWidth = 0;
};

bool FindRings(const CRenderList& list, Rings& rings) {
    const auto& commands = list.Commands();
    if (commands.size() < 2) return false;
    const RenderCommand& outer = commands[commands.size() - 2];
    const RenderCommand& inner = commands.back();
    if (outer.op != RenderOp::FrameRect || inner.op != RenderOp::FrameRect) return false;
    rings = Rings{outer.rect, inner.rect, outer.width, inner.width};
    return outer.color == UIColors::kFocusRing && inner.color == 0xFFFFFFFF;
}

class FocusIndicatorTest : public KeyboardTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(FocusIndicatorTest, ShowsAfterKeysHidesAfterAPressAndScalesWithTheWindow) {
    Headless::SetDpiScale(GetParam());
    KeyWindow window;
    Open(window);
    CPaintManagerUI& manager = window.GetPaintManager();
    Rings rings;
    ASSERT_TRUE(m_driver->Click(L"closeButton"));  // a press focuses the button, quietly
    EXPECT_EQ(m_driver->FocusName(), L"closeButton");
    EXPECT_FALSE(manager.IsFocusIndicatorShown());
    EXPECT_FALSE(FindRings(m_driver->Paint(), rings));

    ASSERT_TRUE(m_driver->PressKey(UIKEY_TAB, UIMOD_SHIFT));
    ASSERT_TRUE(FindRings(m_driver->Paint(), rings));
    const int w = GetParam() == 150 ? 2 : 1;  // one unscaled pixel, rounded
    const UIRect about = m_driver->Find(L"aboutButton")->GetPos();
    EXPECT_EQ(rings.outer, about.Inflate(3 * w));
    EXPECT_EQ(rings.outerWidth, 2 * w);
    EXPECT_EQ(rings.inner, about.Inflate(w));
    EXPECT_EQ(rings.innerWidth, w);

    manager.OnWindowFocus(false);  // another window has the keyboard
    EXPECT_FALSE(FindRings(m_driver->Paint(), rings));
    manager.OnWindowFocus(true);
    EXPECT_TRUE(FindRings(m_driver->Paint(), rings));
    ASSERT_TRUE(m_driver->ClickAt(5, 60));  // a press anywhere hides it, the focus stays
    EXPECT_FALSE(FindRings(m_driver->Paint(), rings));
    EXPECT_EQ(m_driver->FocusName(), L"aboutButton");
}

INSTANTIATE_TEST_SUITE_P(Scales, FocusIndicatorTest, ::testing::Values(100u, 150u));

TEST_F(KeyboardTest, WithKeyboardCuesAlwaysOnTheIndicatorShowsAfterAPressToo) {
    Headless::SetKeyboardCues(true);
    KeyWindow window;
    Open(window);
    ASSERT_TRUE(m_driver->Click(L"closeButton"));
    EXPECT_TRUE(window.GetPaintManager().IsFocusIndicatorShown());
}

TEST_F(KeyboardTest, TheIndicatorOfALinkGoesRoundTheLink) {
    KeyWindow window;
    Open(window);
    ASSERT_TRUE(m_driver->PressKeys(UIKEY_TAB, 3));
    ASSERT_EQ(m_driver->FocusName(), L"retryText");
    auto* text = dynamic_cast<CTextUI*>(m_driver->Find(L"retryText"));
    Rings rings;
    ASSERT_TRUE(FindRings(m_driver->Paint(), rings));
    EXPECT_EQ(rings.inner, text->GetLinkRect(0).Inflate(1));
}

}  // namespace
