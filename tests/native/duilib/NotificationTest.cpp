// Input through the manager becomes notifications that the message maps route:
// click, link, mouseenter, mouseleave; disabled controls raise nothing.
#include "DuiTestEnv.h"
#include "testkit/LogCapture.h"

using namespace DuiLib;

namespace {

// A map of its own, chained to WindowImplBase's ("click" -> OnClick).
class HoverWindow : public DuiTest::RecordingWindow {
public:
    using RecordingWindow::RecordingWindow;
    void OnEnter(TNotifyUI& msg) { Record(L"enter", msg); }
    void OnLeave(TNotifyUI& msg) { Record(L"leave", msg); }
    DUI_DECLARE_MESSAGE_MAP()
};

DUI_BEGIN_MESSAGE_MAP(HoverWindow, WindowImplBase)
DUI_ON_MSGTYPE(L"mouseenter", HoverWindow::OnEnter)
DUI_ON_MSGTYPE(L"mouseleave", HoverWindow::OnLeave)
DUI_END_MESSAGE_MAP()

// The most derived map: its entries come first, then HoverWindow's, then WindowImplBase's.
class LinkWindow : public HoverWindow {
public:
    LinkWindow() : HoverWindow(L"layout\\window.xml") {}
    void OnLink(TNotifyUI& msg) {
        Record(L"link", msg);
        events.back() += L"#" + std::to_wstring(msg.wParam);
    }
    void OnCloseButton(TNotifyUI& msg) { Record(L"close", msg); }
    DUI_DECLARE_MESSAGE_MAP()
};

DUI_BEGIN_MESSAGE_MAP(LinkWindow, HoverWindow)
DUI_ON_MSGTYPE(L"link", LinkWindow::OnLink)
DUI_ON_MSGTYPE_CTRNAME(L"click", L"closeButton", LinkWindow::OnCloseButton)
DUI_END_MESSAGE_MAP()

class NotificationTest : public DuiTest::DrivenWindowTest<LinkWindow> {
protected:
    // The recorded events of one kind ("click", "enter", ...), in order.
    std::vector<std::wstring> Of(const std::wstring& kind) const {
        std::vector<std::wstring> out;
        for (const std::wstring& e : m_window.events) {
            if (e.rfind(kind + L":", 0) == 0) out.push_back(e);
        }
        return out;
    }
    CControlUI* Find(const wchar_t* name) { return m_driver->Find(name); }
    using Events = std::vector<std::wstring>;
};

TEST_F(NotificationTest, ClicksReachTheFirstMatchingEntryAlongTheChainedMaps) {
    ASSERT_TRUE(m_driver->Click(L"closeButton")) << m_driver->LastError();
    ASSERT_TRUE(m_driver->Click(L"aboutButton")) << m_driver->LastError();
    EXPECT_EQ(Of(L"close"), Events{L"close:closeButton"});  // the named entry of LinkWindow
    EXPECT_EQ(Of(L"click"), Events{L"click:aboutButton"});  // WindowImplBase's entry
}

TEST_F(NotificationTest, HoverRaisesEnterAndLeaveAsTheMouseMoves) {
    ASSERT_TRUE(m_driver->Hover(L"title"));
    ASSERT_TRUE(m_driver->Hover(L"aboutButton"));
    ASSERT_TRUE(m_driver->Hover(L"aboutButton"));  // staying raises nothing new
    ASSERT_TRUE(m_driver->LeaveWindow());
    EXPECT_EQ(m_window.events,
              (Events{L"enter:title", L"leave:title", L"enter:aboutButton", L"leave:aboutButton"}));
}

// Asking to hear the pointer leave keeps some systems polling it: only while the
// control under it would change (a hover look, a tip, a button's notifications).
TEST_F(NotificationTest, TheWindowAsksToHearThePointerLeaveOnlyWhereItChangesSomething) {
    m_driver->Layout();
    auto* list = dynamic_cast<CContainerUI*>(Find(L"list"));
    ASSERT_NE(list, nullptr);
    const UIRect track = list->GetScrollTrackRect();
    ASSERT_GT(track.Height(), 0);
    const UIRect text = Find(L"retryText")->GetPos();
    const struct {
        const wchar_t* where;
        int x, y;
        bool wanted;
    } cases[] = {
        {L"plain label", Find(L"title")->GetPos().left + 1, Find(L"title")->GetPos().top + 1,
         false},
        {L"button", Find(L"closeButton")->GetPos().left + 1, Find(L"closeButton")->GetPos().top + 1,
         true},
        {L"text with a link", text.right - 2, text.top + 2, false},
        {L"list's scroll bar", track.left + 1, track.top + 1, true},
        {L"title bar's background", 2, 2, false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(m_driver->MoveTo(c.x, c.y)) << c.where;
        EXPECT_EQ(m_window.GetPaintManager().WantsMouseLeave(), c.wanted) << c.where;
    }
    ASSERT_TRUE(m_driver->LeaveWindow());
    EXPECT_FALSE(m_window.GetPaintManager().WantsMouseLeave());
}

TEST_F(NotificationTest, AClickOnALinkRaisesLinkWithItsIndexAndNothingElseDoes) {
    auto* text = dynamic_cast<CTextUI*>(Find(L"retryText"));
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(text->GetLinkCount(), 1);
    EXPECT_EQ(text->GetLinkContent(0), L"retry");
    ASSERT_TRUE(m_driver->ClickLink(L"retryText", 0)) << m_driver->LastError();
    EXPECT_EQ(Of(L"link"), Events{L"link:retryText#0"});
    // Headless metrics: "Loading failed. " is 16 x 7 px, the link 5 x 7 px.
    EXPECT_EQ(text->GetLinkRect(0).left, 112);
    EXPECT_EQ(text->GetLinkRect(0).right, 147);
    // The plain part of the text and the text's empty end are not links.
    ASSERT_TRUE(m_driver->ClickAt(50, 55));
    ASSERT_TRUE(m_driver->ClickAt(300, 55));
    EXPECT_EQ(Of(L"link").size(), 1u);
    EXPECT_FALSE(m_driver->ClickLink(L"retryText", 1));
}

TEST_F(NotificationTest, DisabledControlsAndChildrenOfDisabledContainersRaiseNothing) {
    Find(L"aboutButton")->SetEnabled(false);
    ASSERT_TRUE(m_driver->Hover(L"aboutButton"));
    ASSERT_TRUE(m_driver->Click(L"aboutButton"));
    EXPECT_EQ(m_window.events, Events{});

    Find(L"aboutButton")->SetEnabled(true);
    Find(L"titleBar")->SetEnabled(false);
    ASSERT_TRUE(m_driver->Click(L"closeButton"));
    ASSERT_TRUE(m_driver->Click(L"aboutButton"));
    EXPECT_EQ(m_window.events, Events{});

    Find(L"titleBar")->SetEnabled(true);
    Find(L"retryText")->SetEnabled(false);
    ASSERT_TRUE(m_driver->ClickLink(L"retryText"));
    EXPECT_EQ(Of(L"link"), Events{});
    ASSERT_TRUE(m_driver->Click(L"aboutButton"));
    EXPECT_EQ(Of(L"click"), Events{L"click:aboutButton"});
}

TEST_F(NotificationTest, APressReleasedOffTheButtonIsNoClick) {
    CPaintManagerUI& manager = m_window.GetPaintManager();
    m_driver->Layout();
    CControlUI* close = Find(L"closeButton");
    UIRect rc = close->GetPos();
    manager.OnButtonDown(rc.left + 2, rc.top + 2);
    EXPECT_TRUE(close->IsPushed());
    manager.OnMouseMove(rc.left - 40, rc.top + 2);
    EXPECT_FALSE(close->IsPushed());  // the pushed look follows the mouse
    manager.OnMouseMove(rc.left + 2, rc.top + 2);
    EXPECT_TRUE(close->IsPushed());
    manager.OnButtonUp(rc.left - 40, rc.top + 2);
    EXPECT_FALSE(close->IsPushed());
    EXPECT_EQ(Of(L"close"), Events{});
}

TEST_F(NotificationTest, HotAndPushedButtonsPaintTheirColours) {
    auto fillOf = [&](const CRenderList& list, const UIRect& rc) {
        uint32_t colour = 0;
        for (const RenderCommand& c : list.Commands()) {
            if (c.op == RenderOp::FillRect && c.rect.left == rc.left && c.rect.top == rc.top &&
                c.rect.right == rc.right && c.rect.bottom == rc.bottom) {
                colour = c.color;
            }
        }
        return colour;
    };
    m_driver->Layout();
    UIRect rc = Find(L"aboutButton")->GetPos();
    EXPECT_EQ(fillOf(m_driver->Paint(), rc), 0u);
    ASSERT_TRUE(m_driver->Hover(L"aboutButton"));
    EXPECT_EQ(fillOf(m_driver->Paint(), rc), 0x140A59F7u);
    m_window.GetPaintManager().OnButtonDown(rc.left + 1, rc.top + 1);
    EXPECT_EQ(fillOf(m_driver->Paint(), rc), 0x290A59F7u);
    m_window.GetPaintManager().OnButtonUp(rc.left + 1, rc.top + 1);
    EXPECT_EQ(fillOf(m_driver->Paint(), rc), 0x140A59F7u);
}

TEST_F(NotificationTest, TheCaptionAreaDragsExceptOverButtonsAndLinks) {
    CPaintManagerUI& manager = m_window.GetPaintManager();
    m_driver->Layout();
    UIRect about = Find(L"aboutButton")->GetPos();
    EXPECT_TRUE(manager.HitTestCaption(100, 20));  // over the title label
    EXPECT_FALSE(manager.HitTestCaption(about.left + 1, about.top + 1));
    EXPECT_FALSE(manager.HitTestCaption(100, 45));  // below the 40 px caption
}

TEST_F(NotificationTest, ControlsDestroyedWhileHotOrCoveredAreHandledSafely) {
    ASSERT_TRUE(m_driver->Hover(L"item1"));
    auto* list = dynamic_cast<CContainerUI*>(Find(L"list"));
    list->RemoveAll();
    EXPECT_EQ(m_window.GetPaintManager().GetHotControl(), nullptr);
    ASSERT_TRUE(m_driver->Hover(L"title"));
    EXPECT_EQ(m_window.events, (Events{L"enter:item1", L"enter:title"}));

    // A floating control moved over a button at run time takes its clicks.
    Find(L"spinner")->SetAttribute(L"pos", L"0,0,400,40");
    EXPECT_FALSE(m_driver->Click(L"aboutButton"));
    EXPECT_NE(m_driver->LastError().find("covered by spinner"), std::string::npos)
        << m_driver->LastError();
}

// Like a list row: a pump whose own map holds only its end entry.
struct Row : CNotifyPump {
    DUI_DECLARE_MESSAGE_MAP()
};

DUI_BEGIN_MESSAGE_MAP(Row, CNotifyPump)
DUI_END_MESSAGE_MAP()

TEST(NotifyPumpTest, AnEmptyMapChainedToThePumpHandlesNothing) {
    TNotifyUI msg;
    msg.sType = L"click";
    Row row;
    EXPECT_FALSE(row.LoopDispatch(msg));
}

// A map that names its own class as the base: the chain never ends by itself.
struct SelfChained : CNotifyPump {
    DUI_DECLARE_MESSAGE_MAP()
};

DUI_BEGIN_MESSAGE_MAP(SelfChained, SelfChained)
DUI_END_MESSAGE_MAP()

TEST(NotifyPumpTest, AMapChainedToItselfEndsTheDispatchInEveryBuild) {
    TNotifyUI msg;
    msg.sType = L"click";
    SelfChained pump;
    LogCapture log;
    EXPECT_FALSE(pump.LoopDispatch(msg));
    EXPECT_EQ(log.Matching(L"message map chain loops").size(), 1u);
}

}  // namespace

TEST_F(NotificationTest, ActivationRaisesWhatAClickRaisesAndTheFocusLeavesWhatCannotHoldIt) {
    CPaintManagerUI& manager = m_window.GetPaintManager();
    EXPECT_FALSE(manager.SetFocus(Find(L"title")));  // a label takes no focus
    ASSERT_TRUE(manager.SetFocus(Find(L"aboutButton")));
    EXPECT_TRUE(Find(L"aboutButton")->Activate());
    EXPECT_TRUE(Find(L"retryText")->Activate());
    EXPECT_EQ(m_window.events, (Events{L"click:aboutButton", L"link:retryText#0"}));

    // Disabling an ancestor, hiding the control or removing it moves the focus
    // on to the next control in tree order that can take it, wrapping round.
    Find(L"titleBar")->SetEnabled(false);
    EXPECT_EQ(manager.GetFocus(), Find(L"retryText"));
    EXPECT_FALSE(Find(L"aboutButton")->Activate());
    Find(L"titleBar")->SetEnabled(true);
    ASSERT_TRUE(manager.SetFocus(Find(L"item2")));
    Find(L"list")->SetVisible(false);
    EXPECT_EQ(manager.GetFocus(), Find(L"aboutButton"));
    Find(L"list")->SetVisible(true);
    ASSERT_TRUE(manager.SetFocus(Find(L"item3")));
    static_cast<IContainerUI*>(dynamic_cast<CContainerUI*>(Find(L"list")))->Remove(Find(L"item3"));
    EXPECT_EQ(manager.GetFocus(), Find(L"item4"));
    static_cast<IContainerUI*>(dynamic_cast<CContainerUI*>(Find(L"list")))->RemoveAll();
    EXPECT_EQ(manager.GetFocus(), Find(L"aboutButton"));
    // A focus destroyed with its whole tree is dropped, with no event to anyone.
    ASSERT_TRUE(manager.SetFocus(Find(L"closeButton")));
    m_window.events.clear();
    manager.AttachDialog(nullptr);
    EXPECT_EQ(manager.GetFocus(), nullptr);
    EXPECT_EQ(m_window.events, Events{});
}
