// The program by keyboard alone: the focus order of every view of the main
// window, the tip on focus, an uninstall started by a key (the same log lines
// and installer call as a click), the focus moving on as rows are disabled, a
// long list walked row by row, and the About dialog opened, used and closed by
// keys with the focus back on the about button.
// (The focus after an uninstall starts: AfterEnterOnARow... below.)
#include "UiFixtures.h"
#include "duilib/UIAccessible.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;
using DuiLib::UIKEY_ESCAPE;
using DuiLib::UIKEY_RETURN;
using DuiLib::UIKEY_TAB;
using DuiLib::UIMOD_SHIFT;

namespace {

using Names = std::vector<std::wstring>;

class KeyboardFlowTest : public UiTest {
protected:
    // The focus after each of a round of Tab presses.
    static Names TabRound(OpenMainWindow& main, int presses) {
        Names names;
        for (int i = 0; i < presses; ++i) {
            main.driver().PressKey(UIKEY_TAB);
            names.push_back(main.driver().FocusName());
        }
        return names;
    }
};

const Names kTitleButtons = {L"aboutButton", L"minButton", L"closeButton"};

Names Join(Names a, const Names& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(KeyboardFlowTest, TabGoesRoundWhatEachViewOffers) {
    {
        SCOPED_TRACE("loading");
        m_enumeration.Hold();
        OpenMainWindow main;
        ASSERT_TRUE(m_enumeration.WaitForQueries(1));
        main.driver().Pump();
        EXPECT_EQ(TabRound(main, 4), Join(kTitleButtons, {L"aboutButton"}));
        m_enumeration.Release();
        ASSERT_TRUE(main.WaitForFailView() || main.WaitForResultView());
    }
    {
        SCOPED_TRACE("failure, with the retry link");
        m_enumeration.Fail();
        OpenMainWindow main;
        ASSERT_TRUE(main.WaitForFailView());
        EXPECT_EQ(TabRound(main, 5), Join(kTitleButtons, {L"loadHotfixFailText", L"aboutButton"}));
    }
    {
        SCOPED_TRACE("nothing installed");
        m_enumeration.Succeed({});
        OpenMainWindow main;
        ASSERT_TRUE(main.WaitForFailView());
        EXPECT_EQ(TabRound(main, 4), Join(kTitleButtons, {L"aboutButton"}));
    }
    {
        SCOPED_TRACE("the list");
        m_enumeration.Succeed({Hotfix(L"KB1"), Hotfix(L"KB2")});
        OpenMainWindow main;
        ASSERT_TRUE(main.WaitForResultView());
        // Each row: its "Learn more" link, then its button; after the list, Hide updates.
        EXPECT_EQ(TabRound(main, 10),
                  Join(kTitleButtons, {L"btnUninstallTip", L"learnMoreLinkKB1", L"btnUniNameKB1",
                                       L"learnMoreLinkKB2", L"btnUniNameKB2", L"hideUpdatesButton",
                                       L"aboutButton"}));
    }
}

TEST_F(KeyboardFlowTest, TheRetryLinkReloadsByEnterAsByAClick) {
    LogCapture log;
    m_enumeration.Fail();
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForFailView());
    ASSERT_TRUE(main.driver().PressKeys(UIKEY_TAB, 4));
    m_enumeration.Succeed({Hotfix(L"KB1")});
    ASSERT_TRUE(main.driver().PressKey(UIKEY_RETURN));
    ASSERT_TRUE(main.WaitForResultView());
    EXPECT_TRUE(log.Contains(L"ENTER Reload Hotfix link(MainWindow::OnLink)"));
    // The link went with its view; the next Tab starts again at the top.
    EXPECT_EQ(main.driver().FocusName(), L"aboutButton");
}

TEST_F(KeyboardFlowTest, TheTipShowsWhileTheTipButtonHasTheKeyboardFocus) {
    m_enumeration.Succeed({Hotfix(L"KB1")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    ASSERT_TRUE(main.driver().PressKeys(UIKEY_TAB, 4));
    EXPECT_EQ(main.driver().FocusName(), L"btnUninstallTip");
    EXPECT_TRUE(main.Shown(L"hotfixDiscribeLayout"));
    ASSERT_TRUE(main.driver().Hover(L"appTitle"));  // the mouse passing by changes nothing
    EXPECT_TRUE(main.Shown(L"hotfixDiscribeLayout"));
    ASSERT_TRUE(main.driver().PressKey(UIKEY_TAB));
    EXPECT_FALSE(main.Shown(L"hotfixDiscribeLayout"));

    // A click focuses the button as well, but then hovering alone decides, as before.
    ASSERT_TRUE(main.driver().Click(L"btnUninstallTip"));
    EXPECT_TRUE(main.Shown(L"hotfixDiscribeLayout"));
    ASSERT_TRUE(main.driver().Hover(L"appTitle"));
    EXPECT_FALSE(main.Shown(L"hotfixDiscribeLayout"));
}

// A press that no hover or key focus explains (a reader's default action) shows the
// tip too, and it goes as a tip goes: when the focus or the pointer moves on.
TEST_F(KeyboardFlowTest, ThePressOfTheTipButtonShowsTheTipUntilTheUserMovesOn) {
    m_enumeration.Succeed({Hotfix(L"KB1")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    DuiLib::CControlUI* tip = main.Find(L"btnUninstallTip");
    ASSERT_NE(tip, nullptr);
    EXPECT_FALSE(DuiLib::Accessible::DefaultActionOf(tip).empty());
    const struct {
        const char* movingOn;
        std::function<bool()> act;
    } cases[] = {
        {"the focus goes to another control", [&] { return main.driver().PressKey(UIKEY_TAB); }},
        {"the pointer leaves the button",
         [&] {
             return main.driver().Hover(L"btnUninstallTip") && main.driver().Hover(L"appTitle");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.movingOn);
        ASSERT_TRUE(DuiLib::Accessible::DoDefaultAction(tip));
        EXPECT_TRUE(main.Shown(L"hotfixDiscribeLayout"));
        ASSERT_TRUE(c.act());
        EXPECT_FALSE(main.Shown(L"hotfixDiscribeLayout"));
    }
}

// The UI's log lines and the installer's calls of one uninstall of KB200.
struct UninstallRecord {
    std::vector<std::wstring> lines;
    std::vector<std::string> calls;
};

TEST_F(KeyboardFlowTest, EnterOnARowButtonUninstallsExactlyAsAClickDoes) {
    auto uninstall = [this](bool byKey) {
        FakeInstaller installer(m_folder + (byKey ? "/key" : "/click"));
        m_enumeration.Succeed({Hotfix(L"KB100"), Hotfix(L"KB200"), Hotfix(L"KB300")});
        LogCapture log;
        OpenMainWindow main;
        EXPECT_TRUE(main.WaitForResultView());
        if (byKey) {
            EXPECT_TRUE(main.driver().PressKeys(UIKEY_TAB, 8));
            EXPECT_EQ(main.driver().FocusName(), L"btnUniNameKB200");
            EXPECT_TRUE(main.driver().PressKey(UIKEY_RETURN));
        } else {
            EXPECT_TRUE(main.driver().Click(L"btnUniNameKB200"));
        }
        EXPECT_TRUE(main.PumpUntil([&] { return main.Shown(L"labUniNameKB200"); }));
        return UninstallRecord{UiLines(log.Records()), installer.Calls()};
    };
    const UninstallRecord clicked = uninstall(false);
    const UninstallRecord keyed = uninstall(true);
    EXPECT_EQ(keyed.lines, clicked.lines);
    EXPECT_EQ(keyed.calls, clicked.calls);
    EXPECT_EQ(keyed.calls, std::vector<std::string>{"/uninstall /kb:200"});
}

// The Focus events a screen reader heard since the last call, as element names.
Names FocusHeard(HWND window) {
    Names names;
    for (const DuiLib::Headless::HeardEvent& e : DuiLib::Headless::TakeHeardEvents(window)) {
        if (e.type == DuiLib::UIAccessibleEventType::Focus) names.push_back(e.name);
    }
    return names;
}

TEST_F(KeyboardFlowTest, AfterEnterOnARowTheFocusStaysOnThatRowWhichSaysItsOutcome) {
    FakeInstaller installer(m_folder);
    installer.Hold();
    ASSERT_TRUE(OpenWithRows(NumberedHotfixes(300)));
    ASSERT_TRUE(main().driver().PressKeys(UIKEY_TAB, 8));
    ASSERT_EQ(main().driver().FocusName(), L"btnUniNameKB5000002");
    FocusHeard(main().hwnd());
    ASSERT_TRUE(main().driver().PressKey(UIKEY_RETURN));
    // Every other row went unavailable at once; the focus moved once, to the row at work.
    DuiLib::CPaintManagerUI& manager = main().window().GetPaintManager();
    EXPECT_EQ(DuiLib::Accessible::NameOf(manager.GetFocus()), L"KB5000002");
    EXPECT_EQ(FocusHeard(main().hwnd()), Names{L"KB5000002"});

    // A second Enter starts nothing and opens nothing (a dialog would be closed at once).
    bool dialogSeen = false;
    DuiLib::Headless::SetIdleHook([&] {
        for (const DuiLib::Headless::WindowState& state : DuiLib::Headless::Windows()) {
            if (state.className != ABOUT_WINDOW_CLASS) continue;
            dialogSeen = true;
            DuiLib::Headless::PressKey(state.hwnd, UIKEY_ESCAPE);
        }
    });
    main().driver().PressKey(UIKEY_RETURN);
    DuiLib::Headless::SetIdleHook(nullptr);
    EXPECT_FALSE(dialogSeen);

    installer.Release();
    ASSERT_TRUE(main().PumpUntil([&] { return main().Shown(L"labUniNameKB5000002"); }));
    // The outcome arrives on the focused row: it is read again, now with the outcome (once
    // for the outcome, once for the "Hide from Windows Update" link that comes with it).
    EXPECT_EQ(FocusHeard(main().hwnd()), (Names{L"KB5000002", L"KB5000002"}));
    EXPECT_EQ(DuiLib::Accessible::NameOf(manager.GetFocus()), L"KB5000002");
    EXPECT_EQ(DuiLib::Accessible::DescriptionOf(manager.GetFocus()), L"Uninstalled");
    EXPECT_EQ(installer.Calls(), std::vector<std::string>{"/uninstall /kb:5000002"});
    // Tab goes on from the row: its own links (its button went), then the next row.
    std::vector<std::wstring> stops;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(main().driver().PressKey(UIKEY_TAB));
        stops.push_back(main().driver().FocusName());
    }
    EXPECT_EQ(stops,
              (std::vector<std::wstring>{L"learnMoreLinkKB5000002", L"hideFromUpdateLinkKB5000002",
                                         L"learnMoreLinkKB5000003"}));
}

TEST_F(KeyboardFlowTest, EveryRowOfALongListIsReachedAndTheLastUninstalledByKeysAlone) {
    FakeInstaller installer(m_folder);
    m_enumeration.Succeed(NumberedHotfixes(60));
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    auto* view = main.FindAs<DuiLib::CContainerUI>(L"hotfixListView");
    DuiLib::CControlUI* rows = main.Find(L"containerInstalledHotfix");
    ASSERT_TRUE(main.driver().PressKeys(UIKEY_TAB, 4));  // to the tip button
    for (int i = 0; i < 60; ++i) {
        const std::wstring id = L"KB" + std::to_wstring(5000001 + i);
        ASSERT_TRUE(main.driver().PressKey(UIKEY_TAB));
        ASSERT_EQ(main.driver().FocusName(), L"learnMoreLink" + id);
        ASSERT_TRUE(main.driver().PressKey(UIKEY_TAB));
        const std::wstring name = L"btnUniName" + id;
        ASSERT_EQ(main.driver().FocusName(), name);
        DuiLib::CControlUI* row = main.Find(name.c_str());
        while (row->GetParent() != rows) row = row->GetParent();
        const DuiLib::UIRect rc = row->GetPos();  // the whole row, not only its button
        const DuiLib::UIRect shown = view->GetViewRect();
        ASSERT_TRUE(rc.top >= shown.top && rc.bottom <= shown.bottom) << i;
    }

    // On past Hide updates round to the top; from there Shift+Tab goes back to the last row's
    // button.
    ASSERT_TRUE(main.driver().PressKey(UIKEY_TAB));
    ASSERT_EQ(main.driver().FocusName(), L"hideUpdatesButton");
    ASSERT_TRUE(main.driver().PressKey(UIKEY_TAB));
    ASSERT_EQ(main.driver().FocusName(), L"aboutButton");
    ASSERT_TRUE(main.driver().PressKeys(UIKEY_TAB, 2, UIMOD_SHIFT));
    ASSERT_EQ(main.driver().FocusName(), L"btnUniNameKB5000060");
    ASSERT_TRUE(main.driver().PressKey(UIKEY_RETURN));
    ASSERT_TRUE(main.PumpUntil([&] { return main.Shown(L"labUniNameKB5000060"); }));
    EXPECT_EQ(installer.Calls(), std::vector<std::string>{"/uninstall /kb:5000060"});
}

TEST_F(KeyboardFlowTest, TheAboutDialogByKeysGivesTheFocusBackToTheAboutButton) {
    // A stand-in opener first on PATH: the notice link's target lands in a file.
    const fs::path opened = fs::path(m_folder) / "opened";
    WriteFile(fs::path(m_folder) / "opener" / "xdg-open",
              "#!/bin/sh\nprintf '%s' \"$1\" > \"" + opened.string() + ".tmp\" && mv \"" +
                  opened.string() + ".tmp\" \"" + opened.string() + "\"\n");
    chmod((fs::path(m_folder) / "opener" / "xdg-open").c_str(), 0755);
    const std::string path = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", ((fs::path(m_folder) / "opener").string() + ":" + path).c_str(), 1);

    m_enumeration.Succeed({Hotfix(L"KB1")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    Names dialogFocus;
    bool dialogSeen = false;
    bool indicatorAtOpen = false;  // opened by a key: shown from the start
    DuiLib::Headless::SetIdleHook([&] {
        for (const DuiLib::Headless::WindowState& state : DuiLib::Headless::Windows()) {
            if (state.className != ABOUT_WINDOW_CLASS || dialogSeen) continue;
            dialogSeen = true;
            DuiLib::CPaintManagerUI* dialog = DuiLib::Headless::PaintManagerOf(state.hwnd);
            dialog->Layout(state.rect.Width(), state.rect.Height());  // as its first paint does
            indicatorAtOpen = dialog->IsFocusIndicatorShown();
            // The dialog opens with its first control focused; Tab goes on to the link.
            for (int i = 0; i < 2; ++i) {
                if (i > 0) DuiLib::Headless::PressKey(state.hwnd, UIKEY_TAB);
                dialogFocus.push_back(dialog->GetFocus() ? dialog->GetFocus()->GetName().str()
                                                         : L"");
            }
            DuiLib::Headless::PressKey(state.hwnd, UIKEY_RETURN);  // the notice link
            DuiLib::Headless::PressKey(state.hwnd, UIKEY_ESCAPE);
        }
    });
    ASSERT_TRUE(main.driver().PressKey(UIKEY_TAB));
    ASSERT_TRUE(main.driver().PressKey(UIKEY_RETURN));  // runs the dialog until Esc closes it
    DuiLib::Headless::SetIdleHook(nullptr);
    setenv("PATH", path.c_str(), 1);

    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(indicatorAtOpen);
    EXPECT_EQ(dialogFocus, (Names{ABOUT_CLOSE_BUTTON, OPEN_SOURCE_STATEMENT}));
    for (int i = 0; i < 250 && !fs::exists(opened); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(ReadFile(opened),
              (fs::path(m_folder) / "res" / "Notice" / "OpenSourceSoftwareNotice.htm").string());
    for (const DuiLib::Headless::WindowState& state : DuiLib::Headless::Windows())
        EXPECT_NE(state.className, ABOUT_WINDOW_CLASS);
    EXPECT_EQ(main.driver().FocusName(), ABOUT_BUTTON);
    EXPECT_TRUE(main.window().GetPaintManager().IsFocusIndicatorShown());
}

}  // namespace
