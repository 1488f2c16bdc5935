// How labels lay out their text with the headless metrics (7 px per character
// and 16 px lines for the default 13 px font at 100 %): alignment, ellipsis,
// wrapping, and links.
#include "DuiTestEnv.h"
#include "duilib/UITextLayout.h"

using namespace DuiLib;

namespace {

struct Drawn {
    std::wstring text;
    int left, top;
};

std::vector<Drawn> TextsOf(const CRenderList& list) {
    std::vector<Drawn> out;
    for (const RenderCommand& c : list.Commands()) {
        if (c.op == RenderOp::Text) out.push_back(Drawn{c.text, c.rect.left, c.rect.top});
    }
    return out;
}

class TextLayoutTest : public DuiTest::ToolkitTest {
protected:
    std::vector<Drawn> Paint(const wchar_t* xml, int width, int height, unsigned scale = 100) {
        CDialogBuilder builder;
        m_manager.SetScale(scale);
        m_manager.AttachDialog(builder.Create(xml));
        UITestDriver driver(m_manager, width, height);
        return TextsOf(driver.Paint());
    }
    CPaintManagerUI m_manager;
};

TEST_F(TextLayoutTest, AlignmentPlacesTheLineInTheBox) {
    struct Case {
        const wchar_t* align;
        int left, top;
    };
    for (Case c : {Case{L"left", 0, 0}, Case{L"left|vcenter", 0, 12},
                   Case{L"center|vcenter", 32, 12}, Case{L"right", 65, 0}}) {
        std::wstring xml = std::wstring(L"<Label text='abcde' align='") + c.align + L"'/>";
        auto drawn = Paint(xml.c_str(), 100, 40);
        ASSERT_EQ(drawn.size(), 1u) << c.align;
        EXPECT_EQ(drawn[0].left, c.left) << c.align;
        EXPECT_EQ(drawn[0].top, c.top) << c.align;
    }
}

TEST_F(TextLayoutTest, EllipsisCutsTextThatDoesNotFitAndLeavesTextThatFits) {
    auto cut = Paint(L"<Label text='abcdefghijklmnop' align='ellipsis'/>", 70, 16);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].text, L"abcdefg...");  // 10 characters fill the 70 px
    auto fits = Paint(L"<Label text='abcdefghij' align='ellipsis'/>", 70, 16);
    EXPECT_EQ(fits[0].text, L"abcdefghij");
    auto plain = Paint(L"<Label text='abcdefghijklmnop'/>", 70, 16);
    EXPECT_EQ(plain[0].text, L"abcdefghijklmnop");  // clipped, not cut
}

TEST_F(TextLayoutTest, WrapBreaksAtBlanksAndBetweenIdeographs) {
    auto words = Paint(L"<Label text='aaa bbb ccc' align='wrap'/>", 56, 100);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].text, L"aaa bbb ");
    EXPECT_EQ(words[1].text, L"ccc");
    EXPECT_EQ(words[1].top, 16);

    auto hanzi = Paint(L"<Label text='一二三四五' align='wrap'/>", 21, 100);
    ASSERT_EQ(hanzi.size(), 2u);
    EXPECT_EQ(hanzi[0].text, L"一二三");
    EXPECT_EQ(hanzi[1].text, L"四五");

    // Three lines in a box of two: the last shown line ends with "..." for the rest.
    auto dropped = Paint(L"<Label text='aaa bbb ccc ddd eee' align='wrap|ellipsis'/>", 56, 32);
    ASSERT_EQ(dropped.size(), 2u);
    EXPECT_EQ(dropped[1].text, L"ccc d...");
}

// Lines break where Unicode's line breaking allows: Korean at spaces like Latin,
// Chinese and Japanese between characters but never before a closing mark or a
// prolonged sound mark, nor after an opening one. 7 px per character.
TEST_F(TextLayoutTest, WrapKeepsWordsAndMarksWhereTheirScriptWantsThem) {
    struct Case {
        const wchar_t* text;
        int width;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {L"하나씩 제거합니다.", 56, {L"하나씩 ", L"제거합니다."}},
        {L"다시 시작해야 하며", 42, {L"다시 ", L"시작해야 ", L"하며"}},
        {L"逐一解除安裝。", 42, {L"逐一解除安", L"裝。"}},
        {L"解除安裝，有些", 28, {L"解除安", L"裝，有些"}},
        {L"スーパー", 21, {L"スー", L"パー"}},
        {L"どれも「再起動」", 28, {L"どれも", L"「再起", L"動」"}},
    };
    for (const Case& c : cases) {
        const std::wstring xml = std::wstring(L"<Label text='") + c.text + L"' align='wrap'/>";
        std::vector<std::wstring> lines;
        for (const Drawn& d : Paint(xml.c_str(), c.width, 100)) lines.push_back(d.text);
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}

TEST_F(TextLayoutTest, TextScalesWithTheWindow) {
    auto drawn = Paint(L"<Label text='ab' align='right'/>", 200, 40, 150);
    ASSERT_EQ(drawn.size(), 1u);
    // 13 px at 150 % is a 20 px font: 10 px per character.
    EXPECT_EQ(drawn[0].left, 180);
}

TEST(LinkMarkupTest, LinksAreSplitOutAndBrokenMarkupStaysText) {
    struct Case {
        const wchar_t* text;
        std::vector<std::wstring> targets;
        std::vector<std::wstring> shown;
        size_t runs;
    };
    for (const Case& c :
         std::vector<Case>{{L"{a}Retry{/a}", {L""}, {L"Retry"}, 1},
                           {L"Failed. {a retry}Retry{/a} now", {L"retry"}, {L"Retry"}, 3},
                           {L"{a x}one{/a}{a}two{/a}", {L"x", L""}, {L"one", L"two"}, 2},
                           {L"no links {a}open", {}, {}, 1},
                           {L"{abc}not a link{/a}", {}, {}, 1}}) {
        LinkMarkup m = ParseLinkMarkup(c.text);
        EXPECT_EQ(m.targets, c.targets);
        EXPECT_EQ(m.shown, c.shown);
        EXPECT_EQ(m.runs.size(), c.runs);
    }
}

}  // namespace
