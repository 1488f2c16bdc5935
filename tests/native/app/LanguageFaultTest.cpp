// Broken language files at start-up, end to end through wWinMain: a file that
// does not parse or is not a <Strings> document counts as absent (the next
// candidate serves, or the missing-resource box shows), and a file that lacks
// keys still gives a usable window.
#include "StartupFixture.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;
using DuiLib::Headless::WindowState;

namespace {

const char kNotXml[] = "<Strings language=\"xx\"><String id=\"IDS_APP_TITLE\">";
const char kWrongRoot[] = "<Resources><String id=\"IDS_APP_TITLE\">Wrong</String></Resources>";
const char kFewKeys[] =
    "<Strings language=\"en-US\"><String id=\"IDS_APP_TITLE\">OrvelleEx</String>"
    "<String id=\"IDS_HOTFIX_INSTALLED_TOTAL_COUNT\">{0}</String></Strings>";

class LanguageFaultTest : public StartupFixture<> {
protected:
    void SetUp() override {
        StageThisTest("languagefault");
        m_enumeration.Succeed(NumberedHotfixes(3));
    }
    void WriteLanguage(const std::string& name, const std::string& text) {
        WriteFile(fs::path(m_folder) / "res" / "values" / (name + ".xml"), text);
    }
    // Runs the program as `locale`; once the list is shown, records what the
    // window shows and closes it as the user would.
    int RunAs(const char* locale) {
        setenv("LC_ALL", locale, 1);
        DuiLib::Headless::SetIdleHook([this] {
            for (const WindowState& state : DuiLib::Headless::Windows()) {
                if (state.className != MAIN_WINDOW_CLASS ||
                    !m_log.Contains(L"get install list ret:0"))
                    continue;
                DuiLib::UIMainQueue::getInstance()->drain();  // the rows
                m_shownUninstall = DuiLib::UICulture::GetInstance()
                                       ->GetString(L"IDS_UNINSTALL_HOTFIX_OPERATION")
                                       .str();
                ++m_windowsShown;
                DuiLib::WindowApi::SendMessageW(state.hwnd, WM_CLOSE, 0, 0);
            }
        });
        return wWinMain(nullptr, nullptr, const_cast<LPWSTR>(L""), 1);
    }

    LogCapture m_log;
    int m_windowsShown = 0;
    std::wstring m_shownUninstall;
};

TEST_F(LanguageFaultTest, EveryFileBrokenShowsTheBoxWithBuiltInTexts) {
    WriteLanguage("en-US", kNotXml);
    WriteLanguage("zh-CN", kWrongRoot);
    EXPECT_EQ(RunAs("en_US.UTF-8"), 0);
    const std::vector<WinApi::Testing::MessageBoxCall> boxes = WinApi::Testing::MessageBoxCalls();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(boxes[0].text.empty());
    EXPECT_EQ(boxes[0].caption, L"Prompt");
    EXPECT_EQ(m_windowsShown, 0);
    EXPECT_TRUE(m_log.Contains(L"get language resource file fail!(wWinMain)"));
}

TEST_F(LanguageFaultTest, BrokenUserLanguageFallsBackToEnglish) {
    WriteLanguage("de-DE", kNotXml);
    EXPECT_EQ(RunAs("de_DE.UTF-8"), 0);
    EXPECT_TRUE(WinApi::Testing::MessageBoxCalls().empty());
    EXPECT_EQ(m_windowsShown, 1);
    EXPECT_EQ(m_shownUninstall, L"Uninstall");
}

TEST_F(LanguageFaultTest, FileLackingKeysStillGivesAUsableWindow) {
    WriteLanguage("en-US", kFewKeys);
    fs::remove(fs::path(m_folder) / "res" / "values" / "zh-CN.xml");
    EXPECT_EQ(RunAs("en_US.UTF-8"), 0);
    EXPECT_TRUE(WinApi::Testing::MessageBoxCalls().empty());
    EXPECT_EQ(m_windowsShown, 1);
    EXPECT_EQ(m_shownUninstall, L"");
    // Each missing key is logged once, however many rows ask for it.
    EXPECT_EQ(m_log.Matching(L"unknown language key:IDS_UNINSTALL_HOTFIX_OPERATION(").size(), 1u);
    EXPECT_TRUE(DuiLib::Headless::Windows().empty());
}

}  // namespace
