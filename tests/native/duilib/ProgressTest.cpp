// The thin progress bar, built from a layout through the control factory: it
// repaints at most once per timer tick however often its value changes, and a
// screen reader reads it as a progress bar with the percentage it shows.
#include "DuiTestEnv.h"
#include "duilib/UIAccessible.h"
#include "duilib/UIProgress.h"

using namespace DuiLib;

namespace {

class ProgressTest : public DuiTest::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        m_window.reset(new DuiTest::RecordingWindow(L"layout\\progress.xml"));
        ASSERT_NE(m_window->CreateDefault(), nullptr);
        m_driver.reset(new UITestDriver(*m_window));
        m_bar = dynamic_cast<CProgressUI*>(m_driver->Find(L"bar"));
        ASSERT_NE(m_bar, nullptr);
        m_driver->Layout();
    }
    void TearDown() override {
        m_driver.reset();
        m_window.reset();
        ToolkitTest::TearDown();
    }
    // The width of the bar's done part as painted.
    int PaintedDoneWidth() {
        int width = 0;
        const CRenderList painted = m_driver->Paint();  // the commands live as long as it
        for (const RenderCommand& c : painted.Commands()) {
            if (c.op == RenderOp::FillRect && c.color == 0xFF0A59F7) width = c.rect.Width();
        }
        return width;
    }

    std::unique_ptr<DuiTest::RecordingWindow> m_window;
    std::unique_ptr<UITestDriver> m_driver;
    CProgressUI* m_bar = nullptr;
};

TEST_F(ProgressTest, ChangesWithinOneRepaintPeriodShowOnceAtItsTick) {
    m_bar->SetValue(10);  // nothing shown lately: at once
    EXPECT_EQ(m_bar->GetShownValue(), 10);
    EXPECT_EQ(PaintedDoneWidth(), m_bar->GetPos().Width() / 10);
    for (int percent : {20, 30, 40}) m_bar->SetValue(percent);
    EXPECT_EQ(m_bar->GetShownValue(), 10);
    EXPECT_EQ(m_bar->GetValue(), 40);

    EXPECT_EQ(m_driver->TickTimers(1), 1);
    EXPECT_EQ(m_bar->GetShownValue(), 40);
    EXPECT_EQ(PaintedDoneWidth(), m_bar->GetPos().Width() * 40 / 100);
    // A quiet period ends the timer; the next change shows at once again.
    EXPECT_EQ(m_driver->TickTimers(1), 1);
    EXPECT_EQ(m_driver->TickTimers(1), 0);
    m_bar->SetValue(250);
    EXPECT_EQ(m_bar->GetShownValue(), 100);
}

TEST_F(ProgressTest, AScreenReaderHearsAProgressBarWithTheShownPercentage) {
    Headless::TakeHeardEvents(m_window->GetHWND());
    m_bar->SetValue(40);
    m_bar->SetValue(50);  // not shown yet, so not said either
    EXPECT_EQ(Accessible::RoleOf(m_bar), UIRole::ProgressBar);
    EXPECT_EQ(Accessible::ValueOf(m_bar), L"40%");
    const auto heard = Headless::TakeHeardEvents(m_window->GetHWND());
    ASSERT_EQ(heard.size(), 1u);  // the shown change only
    EXPECT_EQ(heard[0].type, UIAccessibleEventType::ValueChange);
    EXPECT_EQ(heard[0].name, L"Removal");
    m_bar->SetValuePattern(L"{0}\u00A0%");  // as German writes it
    EXPECT_EQ(Accessible::ValueOf(m_bar), L"40\u00A0%");
    EXPECT_NE(Accessible::Describe(m_window->GetPaintManager().GetRoot())
                  .find(L"progress bar \"Removal\" [] = \"40\u00A0%\""),
              std::wstring::npos)
        << Accessible::Describe(m_window->GetPaintManager().GetRoot());
}

}  // namespace
