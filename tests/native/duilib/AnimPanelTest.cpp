// The loading animation advances on its manager's timer, and only while running.
#include "DuiTestEnv.h"

using namespace DuiLib;

namespace {

class AnimPanelTest : public DuiTest::DrivenWindowTest<> {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(DrivenWindowTest::SetUp());
        m_anim = dynamic_cast<CAnimPanelUI*>(m_driver->Find(L"spinner"));
        ASSERT_NE(m_anim, nullptr);
    }
    // The centre of the solid (lit) dot in the painted frame.
    std::pair<int, int> LitDot() {
        std::pair<int, int> lit{-1, -1};
        int dots = 0;
        const CRenderList painted = m_driver->Paint();
        for (const RenderCommand& c : painted.Commands()) {
            if (c.op != RenderOp::FillCircle) continue;
            ++dots;
            if ((c.color >> 24) == 0xFF) lit = {c.rect.left, c.rect.top};
        }
        EXPECT_EQ(dots, CAnimPanelUI::kDots);
        return lit;
    }

    CAnimPanelUI* m_anim = nullptr;
};

TEST_F(AnimPanelTest, FramesAdvanceOnTimerTicksOnlyWhileRunning) {
    EXPECT_EQ(m_driver->TickTimers(3), 0);  // no timer before StartAnim
    EXPECT_EQ(m_anim->GetFrame(), 0);

    m_anim->StartAnim();
    EXPECT_TRUE(m_anim->IsAnimating());
    auto first = LitDot();
    EXPECT_EQ(m_driver->TickTimers(3), 3);
    EXPECT_EQ(m_anim->GetFrame(), 3);
    EXPECT_NE(LitDot(), first);  // the lit dot moved round the ring

    m_anim->StopAnim();
    EXPECT_FALSE(m_anim->IsAnimating());
    EXPECT_EQ(m_driver->TickTimers(2), 0);
    EXPECT_EQ(m_anim->GetFrame(), 3);

    m_anim->StartAnim();
    m_anim->StartAnim();  // a second start keeps one timer
    EXPECT_EQ(m_driver->TickTimers(1), 1);
    EXPECT_EQ(m_anim->GetFrame(), 4);
}

TEST_F(AnimPanelTest, TheMessageLoopDoesNotTickTimersByItself) {
    m_anim->StartAnim();
    UIMainQueue::getInstance()->dispatch([] { WindowApi::PostQuitMessage(0); });
    CPaintManagerUI::MessageLoop();
    EXPECT_EQ(m_anim->GetFrame(), 0);
}

TEST_F(AnimPanelTest, APanelStartedBeforeJoiningAWindowAnimatesOnceAdded) {
    auto* panel = new CAnimPanelUI;
    panel->SetName(L"late");
    panel->StartAnim();
    auto* list = dynamic_cast<CContainerUI*>(m_driver->Find(L"list"));
    ASSERT_TRUE(list->Add(panel));
    EXPECT_EQ(m_driver->TickTimers(2), 2);
    EXPECT_EQ(panel->GetFrame(), 2);

    list->Remove(panel);  // a destroyed panel leaves no timer behind
    EXPECT_EQ(m_driver->TickTimers(1), 0);
}

}  // namespace
