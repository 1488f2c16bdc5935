// A row's "Learn more" link: by a click, Enter or a screen reader's default action
// it hands the update's support article to the desktop shell (the signed-in user's
// browser), never opens it from this process, and never reloads the list.
#include "UiFixtures.h"
#include "duilib/UIAccessible.h"
#include "support/UrlsManagerTesting.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;
using DuiLib::UIKEY_RETURN;
using DuiLib::UIKEY_TAB;
using Shell = UrlOpeners::DesktopShellResult;

namespace {

class SupportLinkTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        UrlsManagerTesting::SetOpener([this](const std::wstring& url) {
            m_asUser.push_back(url);
            return m_shell;
        });
    }
    void TearDown() override {
        UrlsManagerTesting::SetOpener(nullptr);
        UiTest::TearDown();
    }

    Shell m_shell{Shell::kOpened, L""};
    std::vector<std::wstring> m_asUser;  // what reached the desktop shell
};

TEST_F(SupportLinkTest, EveryWayOfPressingTheLinkOpensTheArticleAsTheUserAndNeverReloads) {
    LogCapture log;
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5034441"), Hotfix(L"KB5031356")}));
    const wchar_t* const name = L"learnMoreLinkKB5031356";
    DuiLib::CControlUI* link = main().InRow(1, name);
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(main().Shown(name));
    EXPECT_EQ(DuiLib::Accessible::RoleOf(link), DuiLib::UIRole::Link);
    EXPECT_EQ(DuiLib::Accessible::NameOf(link), L"Learn more about KB5031356");
    DuiLib::CControlUI* rowButton = main().Find(L"btnUniNameKB5031356");

    const struct {
        const char* way;
        Shell shell;
        std::function<bool()> press;
    } ways[] = {
        // About, Minimize, Close, the tip, the first row's link and button, then this link.
        {"Enter",
         {Shell::kOpened, L""},
         [&] {
             return main().driver().PressKeys(UIKEY_TAB, 7) &&
                    main().driver().FocusName() == name && main().driver().PressKey(UIKEY_RETURN);
         }},
        {"click", {Shell::kOpened, L""}, [&] { return main().driver().ClickLink(name, 0); }},
        {"screen reader, no desktop shell",
         {Shell::kNoShell, L"FindWindowSW hr:0x1"},
         [&] { return DuiLib::Accessible::DoDefaultAction(link); }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        m_shell = w.shell;
        m_asUser.clear();
        ASSERT_TRUE(w.press()) << main().driver().LastError();
        main().driver().Pump();
        EXPECT_EQ(m_asUser,
                  std::vector<std::wstring>{L"https://support.microsoft.com/help/5031356"});
        // The list stays: no second query, no loading view, the same rows.
        EXPECT_EQ(m_enumeration.Queries().size(), 1u);
        EXPECT_FALSE(main().Shown(L"loadingHotfixLayout"));
        EXPECT_EQ(main().Find(L"btnUniNameKB5031356"), rowButton);
    }
    EXPECT_FALSE(log.Contains(L"ENTER Reload Hotfix link"));
    EXPECT_TRUE(
        log.Contains(L"no desktop shell (FindWindowSW hr:0x1), url not opened:"
                     L"https://support.microsoft.com/help/5031356"
                     L"(UrlsManager::OpenUrl)"));
}

// Only a plain KB number has an article: any other identifier shows no link, and
// the Tab order goes from the tip straight to its button.
TEST_F(SupportLinkTest, AnIdentifierWithoutAPlainNumberHasNoLink) {
    ASSERT_TRUE(OpenWithRows({Hotfix(L"{95120000-00B9-0409-1000-0000000FF1CE}")}));
    DuiLib::CControlUI* link = main().InRow(0, L"learnMoreLink");
    ASSERT_NE(link, nullptr);
    EXPECT_FALSE(link->IsVisible());
    ASSERT_TRUE(main().driver().PressKeys(UIKEY_TAB, 5));
    EXPECT_EQ(main().driver().FocusName(), L"btnUniName{95120000-00B9-0409-1000-0000000FF1CE}");
    EXPECT_TRUE(m_asUser.empty());
}

}  // namespace
