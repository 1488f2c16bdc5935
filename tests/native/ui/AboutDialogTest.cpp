// The About dialog: its version label, the notice link (opened by a stand-in
// xdg-open that records what it was given, or, without a desktop to hand it
// to, shown as a path to copy) and its modal run from the main window.
#include "UiFixtures.h"
#include "support/UrlsManagerTesting.h"
#include "testkit/LogCapture.h"
#include "ui/about/AboutDialog.h"

using namespace UiFixtures;

namespace {

class AboutDialogTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        // A stand-in opener first on PATH: it writes the path it was asked to open.
        m_openerDir = fs::path(m_folder) / "opener";
        m_openedFile = m_openerDir / "opened";
        WriteFile(m_openerDir / "xdg-open",
                  "#!/bin/sh\nprintf '%s' \"$1\" > \"" + m_openedFile.string() + ".tmp\" && mv \"" +
                      m_openedFile.string() + ".tmp\" \"" + m_openedFile.string() + "\"\n");
        chmod((m_openerDir / "xdg-open").c_str(), 0755);
        const char* path = getenv("PATH");
        m_savedPath = path ? path : "";
        setenv("PATH", (m_openerDir.string() + ":" + m_savedPath).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", m_savedPath.c_str(), 1);
        m_dialog.reset();
        UiTest::TearDown();
    }
    AboutDialog& Open() {
        m_dialog.reset(new AboutDialog());
        EXPECT_NE(m_dialog->Create(nullptr, ABOUT_WINDOW_TITLE, WS_POPUP, 0, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr),
                  nullptr);
        m_driver.reset(new DuiLib::UITestDriver(*m_dialog));
        return *m_dialog;
    }
    std::string WaitForOpenedPath() {
        for (int i = 0; i < 250 && !fs::exists(m_openedFile); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return ReadFile(m_openedFile);
    }
    DuiLib::TNotifyUI NotificationFrom(const wchar_t* name, const wchar_t* type) {
        DuiLib::TNotifyUI msg;
        msg.sType = type;
        msg.pSender = m_driver->Find(name);
        return msg;
    }

    std::unique_ptr<AboutDialog> m_dialog;
    std::unique_ptr<DuiLib::UITestDriver> m_driver;
    fs::path m_openerDir, m_openedFile;
    std::string m_savedPath;
};

TEST_F(AboutDialogTest, VersionLabelAppendsTheFileVersionOfTheExecutablesFullPath) {
    LogCapture log;
    Open();
    // This system has no version resources: the version is empty and the label
    // keeps the layout's text, asked for with the executable's full path (a
    // bare name would go through the DLL search order).
    EXPECT_EQ(m_driver->Find(TOOL_VERSION)->GetText().str(), L"Version ");
    EXPECT_TRUE(log.Contains(L"file:" + ExecutablePathIn(m_folder) + L"(DE::GetFileVersion)"));
}

TEST_F(AboutDialogTest, ExecutableInALongPathIsStillNamedExactly) {
    const std::wstring path = L"/opt/" + std::wstring(300, L'd') + L"/OrvelleEx.exe";
    WinApi::Testing::SetModuleFileName(path);
    LogCapture log;
    Open();
    EXPECT_TRUE(log.Contains(L"file:" + path + L"(DE::GetFileVersion)"));
}

TEST_F(AboutDialogTest, PathWithoutSeparatorLeavesTheLabelAsTheLayoutSetIt) {
    WinApi::Testing::SetModuleFileName(L"OrvelleEx.exe");
    LogCapture log;
    Open();
    EXPECT_EQ(m_driver->Find(TOOL_VERSION)->GetText().str(), L"Version ");
    EXPECT_TRUE(log.Contains(L"get current app name fail(AboutDialog::GetCurrentAppVersion)"));
}

TEST_F(AboutDialogTest, NoticeLinkOpensTheNoticeOnClickAndOnLink) {
    Open();
    const std::string expected =
        (fs::path(m_folder) / "res" / "Notice" / "OpenSourceSoftwareNotice.htm").string();
    ASSERT_TRUE(m_driver->Click(OPEN_SOURCE_STATEMENT)) << m_driver->LastError();
    EXPECT_EQ(WaitForOpenedPath(), expected);
    EXPECT_NE(m_dialog->GetHWND(), nullptr);  // the dialog stays open

    fs::remove(m_openedFile);
    DuiLib::TNotifyUI link = NotificationFrom(OPEN_SOURCE_STATEMENT, L"link");
    m_dialog->Notify(link);
    EXPECT_EQ(WaitForOpenedPath(), expected);
}

// With no desktop shell to open it as the user, nothing is started: the dialog
// shows the notice's path, which Tab reaches and Ctrl+C copies whole. A shell
// that cannot open it leaves the same way to the notice.
TEST_F(AboutDialogTest, WithoutADesktopShellTheNoticesPathShowsAndNothingStarts) {
    using Shell = UrlOpeners::DesktopShellResult;
    for (const Shell& shell : {Shell{Shell::kNoShell, L"FindWindowSW hr:0x1"},
                               Shell{Shell::kRefused, L"ShellExecute hr:0x80004005"}}) {
        SCOPED_TRACE(shell.cause);
        std::vector<std::wstring> asked;
        UrlsManagerTesting::SetOpener([&](const std::wstring& url) {
            asked.push_back(url);
            return shell;
        });
        LogCapture log;
        Open();
        DuiLib::CControlUI* path = m_driver->Find(NOTICE_PATH);
        ASSERT_NE(path, nullptr);
        EXPECT_FALSE(path->IsVisibleInTree());
        ASSERT_TRUE(m_driver->Click(OPEN_SOURCE_STATEMENT)) << m_driver->LastError();
        UrlsManagerTesting::SetOpener(nullptr);

        const std::wstring notice = Strconv::Utf8ToWide(
            (fs::path(m_folder) / "res" / "Notice" / "OpenSourceSoftwareNotice.htm").string());
        EXPECT_EQ(asked, std::vector<std::wstring>{notice});
        EXPECT_EQ(log.Matching(L"open open source software notice file "
                               L"fail!(AboutDialog::ShowOpenSourceSoftwareNotice)")
                      .size(),
                  1u);
        EXPECT_TRUE(path->IsVisibleInTree());
        EXPECT_TRUE(m_driver->Find(NOTICE_PATH_TIPS)->IsVisibleInTree());
        EXPECT_EQ(path->GetText().str(), notice);
        EXPECT_NE(m_dialog->GetHWND(), nullptr);

        // The focus stays on the link; Tab goes on to the path, which Ctrl+C copies.
        EXPECT_TRUE(m_driver->Find(OPEN_SOURCE_STATEMENT)->HasFocus());
        ASSERT_TRUE(DuiLib::Headless::PressKey(m_dialog->GetHWND(), DuiLib::UIKEY_TAB));
        EXPECT_TRUE(path->HasFocus());
        ASSERT_TRUE(DuiLib::Headless::PressKey(m_dialog->GetHWND(), DuiLib::UIKEY_C,
                                               DuiLib::UIMOD_CONTROL));
        EXPECT_EQ(DuiLib::Headless::ClipboardText(), notice);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(fs::exists(m_openedFile)) << "something was started";
        m_dialog.reset();
    }
}

TEST_F(AboutDialogTest, MissingNoticeOnlyLogs) {
    fs::remove_all(fs::path(m_folder) / "res" / "Notice");
    LogCapture log;
    Open();
    ASSERT_TRUE(m_driver->Click(OPEN_SOURCE_STATEMENT));
    DuiLib::TNotifyUI link = NotificationFrom(OPEN_SOURCE_STATEMENT, L"link");
    m_dialog->Notify(link);
    EXPECT_EQ(log.Matching(L"open source software notice file is not "
                           L"exist!(AboutDialog::ShowOpenSourceSoftwareNotice)")
                  .size(),
              2u);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(fs::exists(m_openedFile));
    EXPECT_NE(m_dialog->GetHWND(), nullptr);
}

TEST_F(AboutDialogTest, OtherNotificationsHaveNoEffect) {
    Open();
    for (const wchar_t* type : {L"mouseenter", L"mouseleave", L"setfocus"}) {
        DuiLib::TNotifyUI msg = NotificationFrom(OPEN_SOURCE_STATEMENT, type);
        m_dialog->Notify(msg);
        DuiLib::TNotifyUI close = NotificationFrom(ABOUT_CLOSE_BUTTON, type);
        m_dialog->Notify(close);
    }
    m_driver->Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(fs::exists(m_openedFile));
    EXPECT_NE(m_dialog->GetHWND(), nullptr);
    DuiLib::TNotifyUI nobody;
    nobody.sType = L"click";
    m_dialog->Notify(nobody);  // a click without a sender does nothing
    EXPECT_NE(m_dialog->GetHWND(), nullptr);
}

TEST_F(AboutDialogTest, CloseButtonClosesTheDialog) {
    Open();
    ASSERT_TRUE(m_driver->Click(ABOUT_CLOSE_BUTTON));
    m_driver->Pump();
    EXPECT_EQ(m_dialog->GetHWND(), nullptr);
}

// The about button runs the dialog modally over the main window and deletes it after.
TEST_F(AboutDialogTest, AboutButtonShowsTheDialogModallyEachTime) {
    m_enumeration.Succeed({Hotfix(L"KB1")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());

    std::vector<DuiLib::Headless::WindowState> seen;
    bool mainTookInput = true;
    bool indicatorShown = false;  // opened by the mouse: none until a key is used
    DuiLib::Headless::SetIdleHook([&] {
        for (const DuiLib::Headless::WindowState& state : DuiLib::Headless::Windows()) {
            if (state.className != ABOUT_WINDOW_CLASS) continue;
            seen.push_back(state);
            DuiLib::Headless::WindowState owner;
            DuiLib::Headless::FindWindowState(main.hwnd(), owner);
            mainTookInput = owner.inputEnabled;
            DuiLib::CPaintManagerUI* dialog = DuiLib::Headless::PaintManagerOf(state.hwnd);
            dialog->Layout(state.rect.Width(), state.rect.Height());  // as its first paint does
            indicatorShown = dialog->IsFocusIndicatorShown();
            DuiLib::WindowApi::SendMessageW(state.hwnd, WM_CLOSE, 1, 0);
        }
    });
    ASSERT_TRUE(main.driver().Click(ABOUT_BUTTON)) << main.driver().LastError();
    ASSERT_TRUE(main.driver().Click(ABOUT_BUTTON)) << main.driver().LastError();
    DuiLib::Headless::SetIdleHook(nullptr);

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[0].hwnd, nullptr);
    EXPECT_EQ(seen[0].parent, main.hwnd());
    EXPECT_EQ(seen[0].title, L"OrvelleEx");
    EXPECT_TRUE(seen[0].modal);
    EXPECT_FALSE(mainTookInput);
    EXPECT_FALSE(indicatorShown);
    for (const DuiLib::Headless::WindowState& state : DuiLib::Headless::Windows())
        EXPECT_NE(state.className, ABOUT_WINDOW_CLASS);
    DuiLib::Headless::WindowState owner;
    ASSERT_TRUE(DuiLib::Headless::FindWindowState(main.hwnd(), owner));
    EXPECT_TRUE(owner.inputEnabled);
}

}  // namespace
