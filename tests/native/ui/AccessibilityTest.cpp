// The main window and the About dialog as a screen reader reads them: every
// control named in the user's language, the rows as list items of the list, each
// row's button named with the row it acts on, and what is heard while an
// uninstall runs. (Rows out of the list's view: tests/e2e/scenarios/11-screen-reader.sh.)
#include <algorithm>

#include "UiFixtures.h"
#include "duilib/UIAccessible.h"
#include "testkit/toolkit/HeardEvents.h"
#include "ui/about/AboutDialog.h"

using namespace UiFixtures;
using DuiLib::CControlUI;

namespace {

class AccessibilityTest : public UiTest {
protected:
    // The tree as laid out for the next paint (as the Win32 backend serves it).
    static std::wstring Tree(DuiLib::WindowImplBase& window) {
        DuiLib::UITestDriver(window).Layout();
        return DuiLib::Accessible::Describe(window.GetPaintManager().GetRoot());
    }
};

const wchar_t* const kTitleBar =
    L"client \"OrvelleEx\" []\n"
    L"  text \"OrvelleEx\" []\n"
    L"  push button \"About\" [focusable]\n"
    L"  push button \"Minimize\" [focusable]\n"
    L"  push button \"Close\" [focusable]\n";

TEST_F(AccessibilityTest, TheResultViewNamesEveryControlInTheUsersLanguage) {
    m_enumeration.Succeed({Hotfix(L"KB11", L"Security Update", L"1/15/2026"), Hotfix(L"KB22")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    EXPECT_EQ(Tree(main.window()), std::wstring(kTitleBar) +
                                       L"  text \"Total: 2\" []\n"
                                       L"  push button \"More information\" [focusable]\n"
                                       L"  text \"Update\" []\n"
                                       L"  text \"Type\" []\n"
                                       L"  text \"Installed on\" []\n"
                                       L"  text \"Action\" []\n"
                                       L"  list \"Installed updates\" []\n"
                                       L"    list item \"KB11\" [focusable]\n"
                                       L"      text \"KB11\" []\n"
                                       L"      link \"Learn more about KB11\" [focusable]\n"
                                       L"      text \"Security Update\" []\n"
                                       L"      text \"2026-1-15\" []\n"
                                       L"      push button \"Uninstall KB11\" [focusable]\n"
                                       L"    list item \"KB22\" [focusable]\n"
                                       L"      text \"KB22\" []\n"
                                       L"      link \"Learn more about KB22\" [focusable]\n"
                                       L"      text \"Update\" []\n"
                                       L"      text \"2026-12-7\" []\n"
                                       L"      push button \"Uninstall KB22\" [focusable]\n"
                                       L"  push button \"Hide updates\" [focusable]\n");
    // What the tip panel says, without hovering.
    EXPECT_EQ(DuiLib::Accessible::DescriptionOf(main.Find(L"btnUninstallTip")),
              main.Find(L"hotfixDescribeText")->GetText().str());
}

TEST_F(AccessibilityTest, TheLoadingViewAndTheAboutDialogInAnotherLanguage) {
    UseExecutableFolder(m_folder, L"de-DE");
    m_enumeration.Succeed({Hotfix(L"KB1")});
    m_enumeration.Hold();
    OpenMainWindow main;
    ASSERT_TRUE(m_enumeration.WaitForQueries(1));
    ASSERT_TRUE(main.PumpUntil([&] { return main.Shown(L"loadingHotfixLayout"); }));
    DuiLib::UICulture* culture = DuiLib::UICulture::GetInstance();
    const std::wstring loading = culture->GetString(L"IDS_HOTFIX_LOADING").str();
    const std::wstring tree = Tree(main.window());
    EXPECT_NE(tree.find(L"  push button \"" + culture->GetString(L"IDS_CLOSE_BUTTON_NAME").str() +
                        L"\" [focusable]\n  animation \"" + loading + L"\" []\n  text \"" +
                        loading + L"\" []\n"),
              std::wstring::npos)
        << tree;

    AboutDialog about;
    ASSERT_NE(about.Create(main.hwnd(), ABOUT_WINDOW_TITLE, WS_POPUP, 0, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr),
              nullptr);
    const std::wstring aboutTree = Tree(about);
    for (const wchar_t* key : {L"IDS_ABOUT_TITLE", L"IDS_CLOSE_BUTTON_NAME",
                               L"IDS_OPEN_SOURCE_STATEMENT", L"IDS_ABOUT_COPYRIGHT"}) {
        EXPECT_NE(aboutTree.find(L"\"" + culture->GetString(key).str() + L"\""), std::wstring::npos)
            << key << "\n"
            << aboutTree;
    }
    m_enumeration.Release();
    EXPECT_TRUE(main.WaitForResultView());  // the load thread's work is done
}

TEST_F(AccessibilityTest, AnUninstallIsHeardOnItsRowAndOnTheOthers) {
    FakeInstaller installer(m_folder);
    installer.Hold();
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB11"), Hotfix(L"KB22"), Hotfix(L"KB33")}));
    HeardEvents::Take(main().hwnd());

    // What a screen reader's default action on the button does.
    main().driver().Layout();
    ASSERT_TRUE(DuiLib::Accessible::DoDefaultAction(main().Find(L"btnUniNameKB22")));
    EXPECT_EQ(HeardEvents::Take(main().hwnd()),
              (std::vector<std::wstring>{
                  L"namechange Uninstalling KB22…", L"statechange Uninstalling KB22…",
                  L"statechange Uninstall KB11", L"statechange Uninstall KB33",
                  // Windows Update waits for the uninstall too.
                  L"statechange Hide updates"}));
    EXPECT_EQ(DuiLib::Accessible::StateOf(main().Find(L"btnUniNameKB11")),
              unsigned{DuiLib::kAccUnavailable});

    installer.Release();
    ASSERT_TRUE(main().PumpUntil([&] { return main().Shown(L"labUniNameKB22"); }));
    std::vector<std::wstring> heard = HeardEvents::Take(main().hwnd());
    std::sort(heard.begin(), heard.end());
    EXPECT_EQ(heard, (std::vector<std::wstring>{
                         L"hide Uninstalling KB22…", L"show Hide KB22 from Windows Update",
                         L"show Uninstalled", L"statechange Hide updates",
                         L"statechange Uninstall KB11", L"statechange Uninstall KB33"}));
    ASSERT_EQ(installer.Calls().size(), 1u);
    EXPECT_EQ(installer.Calls()[0], "/uninstall /kb:22");
    const std::wstring tree = Tree(main().window());
    EXPECT_NE(
        tree.find(
            L"    list item \"KB22\" [focusable]\n      text \"KB22\" []\n      link \"Learn more "
            L"about KB22\" [focusable]\n      text \"Update\" []\n      text \"2026-12-7\" []\n"
            L"      text \"Uninstalled\" []\n"
            L"      link \"Hide KB22 from Windows Update\" [focusable]\n    list"),
        std::wstring::npos)
        << tree;
}

TEST_F(AccessibilityTest, BehindTheAboutDialogNothingActsAndTheFocusIsHeardAgainAfter) {
    FakeInstaller installer(m_folder);
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB11")}));
    main().window().ShowWindow(true, true);  // the foreground window, as the user sees it
    ASSERT_TRUE(main().driver().PressKey(DuiLib::UIKEY_TAB));  // the About button
    bool seen = false;
    std::vector<bool> unavailable, acted;
    DuiLib::Headless::SetIdleHook([&] {
        for (const DuiLib::Headless::WindowState& state : DuiLib::Headless::Windows()) {
            if (state.className != ABOUT_WINDOW_CLASS || seen) continue;
            seen = true;
            HeardEvents::Take(main().hwnd());
            // What a screen reader can still reach of the main window: nothing to act on.
            for (const wchar_t* name : {L"btnUniNameKB11", L"closeButton"}) {
                DuiLib::CControlUI* control = main().Find(name);
                unavailable.push_back(DuiLib::Accessible::StateOf(control) &
                                      DuiLib::kAccUnavailable);
                acted.push_back(DuiLib::Accessible::DoDefaultAction(control));
            }
            DuiLib::Headless::PressKey(state.hwnd, DuiLib::UIKEY_ESCAPE);
        }
    });
    ASSERT_TRUE(main().driver().PressKey(DuiLib::UIKEY_RETURN));  // runs About until Esc
    DuiLib::Headless::SetIdleHook(nullptr);
    ASSERT_TRUE(seen);
    EXPECT_EQ(unavailable, (std::vector<bool>{true, true}));
    EXPECT_EQ(acted, (std::vector<bool>{false, false}));
    EXPECT_TRUE(installer.Calls().empty());
    EXPECT_TRUE(main().Shown(L"btnUniNameKB11"));
    // Back in the main window, a screen reader lands on the About button again.
    EXPECT_EQ(HeardEvents::Take(main().hwnd()), std::vector<std::wstring>{L"focus About"});
}

TEST_F(AccessibilityTest, AReaderAfterAChangeGetsThePlacesOfAFullLayoutWithoutOne) {
    ASSERT_TRUE(OpenWithRows(NumberedHotfixes(300)));
    DuiLib::CPaintManagerUI& manager = main().window().GetPaintManager();
    main().driver().Layout();
    // A row far down shows its outcome while it is hidden, and comes back.
    auto* hiddenOutcome = main().FindAs<DuiLib::CLabelUI>(L"labUniNameKB5000281");
    ASSERT_NE(hiddenOutcome, nullptr);
    main().Row(280)->SetVisible(false);
    manager.UpdateLayout();
    hiddenOutcome->SetText(L"Uninstalled");
    hiddenOutcome->SetVisible(true);
    manager.UpdateLayout();
    main().Row(280)->SetVisible(true);
    // A row goes, so the rows below it move up, and another shows its outcome.
    main().Row(10)->SetVisible(false);
    auto* outcome = main().FindAs<DuiLib::CLabelUI>(L"labUniNameKB5000251");
    ASSERT_NE(outcome, nullptr);
    outcome->SetText(L"Uninstalled");
    outcome->SetVisible(true);
    const unsigned passes = manager.GetLayoutPass();
    const unsigned laidOut = manager.GetContainersLaidOut();

    // Every element's state and place, as a reader walking the window reads them.
    const std::wstring walked = DuiLib::Accessible::Describe(manager.GetRoot(), true);
    EXPECT_EQ(manager.GetLayoutPass(), passes);
    EXPECT_LE(manager.GetContainersLaidOut() - laidOut, 2u);  // the list, the row's column
    manager.SetNeedsLayout();
    main().driver().Layout();
    EXPECT_EQ(DuiLib::Accessible::Describe(manager.GetRoot(), true), walked);
}

}  // namespace
