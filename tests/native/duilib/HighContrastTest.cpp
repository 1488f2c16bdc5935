// High contrast: with the system's setting on (the headless stand-in), every
// colour painted comes from the system's scheme by the part it paints; with it
// off, every colour is the layout's, exactly as before.
#include "DuiTestEnv.h"

using namespace DuiLib;

namespace {

class HighContrastTest : public DuiTest::DrivenWindowTest<> {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(DrivenWindowTest::SetUp());
        m_driver->Find(L"item2")->SetEnabled(false);
    }
    // The colours drawn inside a control's rectangle, by kind of command.
    std::vector<uint32_t> Colours(const CRenderList& list, const wchar_t* name, RenderOp op) {
        const UIRect rc = m_driver->Find(name)->GetPos();
        std::vector<uint32_t> colours;
        for (const RenderCommand& c : list.Commands()) {
            const bool inside = c.rect.left >= rc.left && c.rect.top >= rc.top &&
                                c.rect.right <= rc.right && c.rect.bottom <= rc.bottom;
            if (c.op != op || !inside) continue;
            colours.push_back(op == RenderOp::RoundRect && c.width > 0 ? c.borderColor : c.color);
        }
        return colours;
    }
};

struct Part {
    const wchar_t* control;
    RenderOp op;
    uint32_t UISystemColors::*colour;
};

TEST_F(HighContrastTest, EveryPartTakesItsSystemColourAndTintsAreLeftOut) {
    Headless::SetHighContrast(true);
    const UISystemColors scheme = Headless::HighContrastColors();
    ASSERT_TRUE(m_driver->PressKeys(UIKEY_TAB, 2));  // the focus indicator on closeButton
    const CRenderList list = m_driver->Paint();
    const Part parts[] = {
        {L"root", RenderOp::FillRect, &UISystemColors::window},
        {L"title", RenderOp::Text, &UISystemColors::windowText},
        {L"aboutButton", RenderOp::FillRect, &UISystemColors::buttonFace},
        {L"aboutButton", RenderOp::Text, &UISystemColors::buttonText},
        {L"aboutButton", RenderOp::FrameRect, &UISystemColors::buttonText},
        {L"item2", RenderOp::Text, &UISystemColors::grayText},
        {L"spinner", RenderOp::FillCircle, &UISystemColors::windowText},
    };
    for (const Part& part : parts) {
        SCOPED_TRACE(std::string(part.control, part.control + wcslen(part.control)));
        const std::vector<uint32_t> colours = Colours(list, part.control, part.op);
        ASSERT_FALSE(colours.empty());
        for (uint32_t c : colours) EXPECT_EQ(c | 0xFF000000u, scheme.*part.colour);
    }
    bool linkSeen = false;
    for (const RenderCommand& c : list.Commands()) {
        if (c.op == RenderOp::Text && c.font.underline) {
            linkSeen = true;
            EXPECT_EQ(c.color, scheme.hotLight);
        }
    }
    EXPECT_TRUE(linkSeen);
    const RenderCommand& ring = list.Commands()[list.Commands().size() - 2];
    EXPECT_EQ(ring.color, scheme.highlight);
    EXPECT_EQ(list.Commands().back().color, scheme.window);
}

// Separators stay visible in the scheme's text colour (spacers stay empty; a
// thin control the layout does not call a separator is a panel), and the button under the mouse
// takes the highlight pair, as Windows' own controls show hover in high contrast.
TEST_F(HighContrastTest, RulesKeepTheirLineAndTheHoveredButtonTakesTheHighlight) {
    DuiTest::RecordingWindow window(
        L"<Window size=\"200,100\"><VerticalLayout name=\"page\" bkcolor=\"#FFFFFFFF\">"
        L"<HorizontalLayout height=\"30\"><Button name=\"hovered\" text=\"a\" "
        L"hotbkcolor=\"#140A59F7\"/><Control name=\"upright\" width=\"1\" "
        L"separator=\"true\" bkcolor=\"#14000000\"/><Button name=\"other\" "
        L"text=\"b\"/></HorizontalLayout>"
        L"<Control name=\"rule\" height=\"1\" separator=\"true\" bkcolor=\"#FFE5E7EB\"/>"
        L"<Control name=\"thin\" height=\"1\" bkcolor=\"#FFE5E7EB\"/>"
        L"<Control name=\"spacer\" height=\"2\"/><Control name=\"block\" height=\"20\" "
        L"bkcolor=\"#FFE5E7EB\"/></VerticalLayout></Window>");
    ASSERT_NE(window.CreateDefault(), nullptr);
    UITestDriver driver(window);
    Headless::SetHighContrast(true);
    const UISystemColors scheme = Headless::HighContrastColors();
    ASSERT_TRUE(driver.Hover(L"hovered"));
    const CRenderList list = driver.Paint();
    // What each control paints, by kind: its own first command of that kind.
    auto first = [&](const wchar_t* name, RenderOp op) -> uint32_t {
        const UIRect rc = driver.Find(name)->GetPos();
        for (const RenderCommand& c : list.Commands()) {
            if (c.op == op && c.rect == rc) return c.color;
            if (op == RenderOp::Text && c.op == op && rc.Contains(c.rect.left, c.rect.top))
                return c.color;
        }
        return 0;
    };
    const struct {
        const wchar_t* control;
        RenderOp op;
        uint32_t expected;
    } parts[] = {
        {L"rule", RenderOp::FillRect, scheme.windowText},
        {L"upright", RenderOp::FillRect, scheme.windowText},
        {L"thin", RenderOp::FillRect, scheme.window},
        {L"spacer", RenderOp::FillRect, 0},
        {L"block", RenderOp::FillRect, scheme.window},  // a panel, not a line
        {L"hovered", RenderOp::FillRect, scheme.highlight},
        {L"hovered", RenderOp::Text, scheme.highlightText},
        {L"other", RenderOp::FillRect, scheme.buttonFace},
        {L"other", RenderOp::Text, scheme.buttonText},
    };
    for (const auto& part : parts) {
        SCOPED_TRACE(std::wstring(part.control));
        EXPECT_EQ(first(part.control, part.op), part.expected);
    }
}

TEST_F(HighContrastTest, OffPaintsTheLayoutsColoursExactlyAsBefore) {
    auto colours = [this] {
        std::vector<std::pair<uint32_t, uint32_t>> out;
        const CRenderList list = m_driver->Paint();
        for (const RenderCommand& c : list.Commands()) out.emplace_back(c.color, c.borderColor);
        return out;
    };
    const auto before = colours();
    EXPECT_EQ(Colours(m_driver->Paint(), L"root", RenderOp::FillRect),
              std::vector<uint32_t>{0xFFF7F8FA});
    EXPECT_EQ(Colours(m_driver->Paint(), L"item2", RenderOp::Text),
              std::vector<uint32_t>{0xFFA7A6AA});
    Headless::SetHighContrast(true);
    EXPECT_NE(colours(), before);
    Headless::SetHighContrast(false);
    EXPECT_EQ(colours(), before);
}

}  // namespace
