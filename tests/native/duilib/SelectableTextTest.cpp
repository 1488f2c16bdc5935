// Text to select and copy (the About dialog's notice path): Tab reaches it,
// Ctrl+C and Ctrl+Insert copy all of it only while it has the focus, and a
// long path breaks after its separators so that it shows whole.
#include "DuiTestEnv.h"
#include "duilib/UIBackend.h"

using namespace DuiLib;

namespace {

class SelectableTextTest : public DuiTest::ToolkitTest {
protected:
    void Open() {
        ASSERT_NE(m_window.CreateDefault(), nullptr);
        m_driver.reset(new UITestDriver(m_window));
        m_driver->Layout();
    }
    DuiTest::RecordingWindow m_window{L"layout\\selectable.xml"};
    std::unique_ptr<UITestDriver> m_driver;
};

const std::wstring kPath =
    L"C:\\Program Files\\OrvelleEx\\res\\Notice\\OpenSourceSoftwareNotice.htm";

TEST_F(SelectableTextTest, CopiesAllOfItsTextOnlyWhileFocused) {
    Open();
    EXPECT_TRUE(m_driver->PressKey(UIKEY_TAB));
    EXPECT_EQ(m_driver->FocusName(), L"before");
    m_driver->PressKey(UIKEY_C, UIMOD_CONTROL);  // a button has nothing to copy
    EXPECT_EQ(Headless::ClipboardText(), L"");

    EXPECT_TRUE(m_driver->PressKey(UIKEY_TAB));
    EXPECT_EQ(m_driver->FocusName(), L"path");
    EXPECT_TRUE(m_driver->PressKey(UIKEY_C, UIMOD_CONTROL));
    EXPECT_EQ(Headless::ClipboardText(), kPath);
    Headless::Reset();
    EXPECT_TRUE(m_driver->PressKey(UIKEY_INSERT, UIMOD_CONTROL));
    EXPECT_EQ(Headless::ClipboardText(), kPath);
    EXPECT_FALSE(m_driver->PressKey(UIKEY_C, UIMOD_CONTROL | UIMOD_ALT));  // the system's
}

TEST_F(SelectableTextTest, ALongPathBreaksAfterItsSeparatorsAndLosesNothing) {
    Open();
    auto* text = dynamic_cast<CSelectableTextUI*>(m_driver->Find(L"path"));
    ASSERT_NE(text, nullptr);
    const UIRect box = text->TextRect();
    const std::vector<std::wstring> lines = text->BreakLines(box);
    ASSERT_GT(lines.size(), 1u);
    std::wstring joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        joined += lines[i];
        const wchar_t last = lines[i].back();
        if (i + 1 < lines.size()) EXPECT_TRUE(last == L'\\' || last == L' ') << lines[i];
        const bool onePart = lines[i].find_first_of(L"\\ ") >= lines[i].size() - 1;
        if (!onePart)
            EXPECT_LE(Backend::MeasureText(lines[i], text->CurrentFont()).cx, box.Width())
                << lines[i];
    }
    EXPECT_EQ(joined, kPath);
}

}  // namespace
