// Start-up end to end: wWinMain against a scratch executable folder, the headless
// toolkit and the stand-ins for the Windows calls. The test acts inside the
// program's own loops through the headless idle hook, as a user would, by sending
// the window its messages. Every path returns 0.
#include <functional>

#include "StartupFixture.h"
#include "support/DetachedThreads.h"
#include "testkit/LogCapture.h"
#include "winapi/DllSearchTesting.h"

using namespace UiFixtures;
using DuiLib::Headless::WindowState;

namespace {

class StartupTest : public StartupFixture<> {
protected:
    void SetUp() override { StageThisTest("startup", Locale(), Stage()); }
    virtual StageOptions Stage() const { return {}; }
    virtual const char* Locale() const { return "en_US.UTF-8"; }

    static int Run() { return wWinMain(nullptr, nullptr, const_cast<LPWSTR>(L""), 1); }
    static std::vector<WindowState> WindowsOfClass(const std::wstring& className) {
        std::vector<WindowState> found;
        for (const WindowState& state : DuiLib::Headless::Windows())
            if (state.className == className) found.push_back(state);
        return found;
    }
    // From the next idle moment on, closes each main window the program shows,
    // as the user would, after telling `seen` of it.
    static void CloseMainWindows(std::function<void(const WindowState&)> seen = nullptr) {
        DuiLib::Headless::SetIdleHook([seen] {
            for (const WindowState& state : WindowsOfClass(MAIN_WINDOW_CLASS)) {
                if (seen) seen(state);
                DuiLib::WindowApi::SendMessageW(state.hwnd, WM_CLOSE, 0, 0);
            }
        });
    }
    // True when no other holder of the single-instance mutex exists.
    static bool MutexIsFree() {
        HANDLE probe = WinApi::CreateMutexW(nullptr, TRUE, L"windows//PC/Orvelle");
        const bool free = WinApi::GetLastError() != ERROR_ALREADY_EXISTS;
        WinApi::CloseHandle(probe);
        return free;
    }
};

TEST_F(StartupTest, NormalRunShowsTheMainWindowUntilItIsClosed) {
    LogCapture log;
    m_enumeration.Succeed(NumberedHotfixes(4));
    std::vector<WindowState> seen;
    DuiLib::Headless::SetIdleHook([&] {
        std::vector<WindowState> mains = WindowsOfClass(MAIN_WINDOW_CLASS);
        if (mains.empty() || !log.Contains(L"get install list ret:0")) return;
        seen = mains;
        DuiLib::WindowApi::SendMessageW(mains[0].hwnd, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_EQ(seen.size(), 1u);
    const WindowState& main = seen[0];
    EXPECT_EQ(main.title, L"OrvelleEx");
    EXPECT_EQ(main.iconId, 5u);
    EXPECT_TRUE(main.visible);
    EXPECT_TRUE(main.modal);
    EXPECT_EQ(main.parent, nullptr);
    EXPECT_EQ(main.rect.Width(), 800);
    EXPECT_EQ(main.rect.left, (DuiLib::Headless::kScreenWidth - main.rect.Width()) / 2);
    EXPECT_EQ(main.rect.top, (DuiLib::Headless::kScreenHeight - main.rect.Height()) / 2);

    // What start-up configured on the way: the system folder is the current
    // directory, and every file was still found beside the executable.
    EXPECT_EQ(WinApi::Testing::CurrentDirectory(), Strconv::Utf8ToWide(m_systemFolder));
    EXPECT_EQ(DuiLib::CPaintManagerUI::GetResourcePath().str(),
              Strconv::Utf8ToWide(m_folder) + L"/res/");
    EXPECT_EQ(DuiLib::UICulture::GetInstance()->GetLanguage(), L"en-US");
    EXPECT_TRUE(WinApi::Testing::MessageBoxCalls().empty());
    EXPECT_TRUE(fs::exists(fs::path(m_folder) / "state" / "Orvelle"));

    // Afterwards: no window, no pending quit, the mutex released.
    EXPECT_TRUE(DuiLib::Headless::Windows().empty());
    EXPECT_FALSE(DuiLib::Headless::IsQuitPending());
    EXPECT_EQ(g_instanceMutex, nullptr);
    EXPECT_TRUE(MutexIsFree());
}

TEST_F(StartupTest, SystemCloseRequestEndsTheProgram) {
    LogCapture log;
    m_enumeration.Succeed(NumberedHotfixes(1));
    DuiLib::Headless::SetIdleHook([&] {
        std::vector<WindowState> mains = WindowsOfClass(MAIN_WINDOW_CLASS);
        if (mains.empty() || !log.Contains(L"get install list ret:0")) return;
        // A system close request, as the taskbar sends it.
        DuiLib::WindowApi::SendMessageW(mains[0].hwnd, WM_SYSCOMMAND, 0xF060 /* SC_CLOSE */, 0);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(DuiLib::Headless::Windows().empty());
    EXPECT_FALSE(DuiLib::Headless::IsQuitPending());
}

TEST_F(StartupTest, SecondInstanceRaisesTheFirstWindowAndExits) {
    UseExecutableFolder(m_folder);
    m_enumeration.Succeed(NumberedHotfixes(1));
    OpenMainWindow first;
    ASSERT_TRUE(first.driver().Click(MIN_BUTTON));
    HANDLE firstInstance = WinApi::LockSingleInstance(L"windows//PC/Orvelle").mutex;
    (void)!chdir("/");
    WinApi::SetCurrentDirectoryW(L"/");
    LogCapture log;

    EXPECT_EQ(Run(), 0);

    WindowState state;
    ASSERT_TRUE(DuiLib::Headless::FindWindowState(first.hwnd(), state));
    EXPECT_FALSE(state.minimized);
    EXPECT_TRUE(state.foreground);
    EXPECT_EQ(DuiLib::Headless::Windows().size(), 1u);
    EXPECT_EQ(WinApi::Testing::CurrentDirectory(), Strconv::Utf8ToWide(m_systemFolder));
    EXPECT_TRUE(WinApi::Testing::MessageBoxCalls().empty());
    EXPECT_EQ(g_instanceMutex, nullptr);
    EXPECT_FALSE(log.Contains(L"(wWinMain)"));
    EXPECT_TRUE(fs::exists(fs::path(m_folder) / "state" / "Orvelle"));  // logger set up first
    WinApi::CloseHandle(firstInstance);
}

TEST_F(StartupTest, SecondInstanceWithoutAFirstWindowJustExits) {
    HANDLE firstInstance = WinApi::LockSingleInstance(L"windows//PC/Orvelle").mutex;
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(DuiLib::Headless::Windows().empty());
    WinApi::CloseHandle(firstInstance);
    EXPECT_TRUE(MutexIsFree());
}

// Without the DLL search restricted any DLL could come from a folder the user
// can write: one line, then the program ends before anything else. Without
// RedirectionGuard (older Windows, Wine) it says so once and runs.
TEST_F(StartupTest, FailedDllSearchRestrictionEndsTheProgramAndRedirectionTrustOnlyLogs) {
    struct Case {
        uint32_t restriction, redirectionTrust;
        const wchar_t* line;
        bool runs;
    };
    const Case cases[] = {
        {87, 0, L"restrict dll search fail! ret:87(wWinMain)", false},
        {0, 87, L"enforce redirection trust fail! ret:87(wWinMain)", true},
    };
    m_enumeration.Succeed(NumberedHotfixes(1));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        WinApi::Testing::SetDllSearchErrors(c.restriction, c.redirectionTrust);
        LogCapture log;
        int mainWindows = 0;
        CloseMainWindows([&](const WindowState&) { ++mainWindows; });
        EXPECT_EQ(Run(), 0);
        WinApi::Testing::SetDllSearchErrors(0, 0);
        DuiLib::Headless::SetIdleHook(nullptr);

        const std::vector<LogRecord> lines = log.Matching(c.line);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].level, LOG_ERROR);
        EXPECT_EQ(mainWindows > 0, c.runs);
        if (!c.runs) {
            EXPECT_EQ(log.Records().size(), 1u) << "one line, and nothing else happened";
            EXPECT_EQ(g_instanceMutex, nullptr);
            EXPECT_TRUE(MutexIsFree());
        }
        EXPECT_TRUE(WinApi::Testing::MessageBoxCalls().empty());
        EXPECT_TRUE(DuiLib::Headless::Windows().empty());
    }
}

class MissingLanguagesTest : public StartupTest {
protected:
    StageOptions Stage() const override { return {false, true, true}; }
};

TEST_F(MissingLanguagesTest, ShowsTheTopMostBoxAndCreatesNoWindow) {
    LogCapture log;
    int windowsSeen = 0;
    DuiLib::Headless::SetIdleHook(
        [&] { windowsSeen += static_cast<int>(DuiLib::Headless::Windows().size()); });
    EXPECT_EQ(Run(), 0);

    const std::vector<WinApi::Testing::MessageBoxCall> boxes = WinApi::Testing::MessageBoxCalls();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              DuiLib::UICulture::GetInstance()->GetString(L"IDS_RES_FILE_NOT_EXIST_TIPS").str());
    EXPECT_EQ(boxes[0].caption,
              DuiLib::UICulture::GetInstance()->GetString(L"IDS_PROMPT_TIPS").str());
    EXPECT_FALSE(boxes[0].text.empty());
    EXPECT_FALSE(boxes[0].caption.empty());
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_TOPMOST));
    const std::vector<LogRecord> lines =
        log.Matching(L"get language resource file fail!(wWinMain)");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].level, LOG_ERROR);
    EXPECT_TRUE(DuiLib::Headless::Windows().empty());
    EXPECT_EQ(windowsSeen, 0);
    ASSERT_TRUE(DetachedThreads::WaitUntilNoneRuns(10000));
    EXPECT_TRUE(log.Matching(L"get install hotfix start!").empty()) << "nothing was queried";
}

class UnshippedLanguageTest : public StartupTest {
protected:
    const char* Locale() const override { return "sv_SE.UTF-8"; }
};

TEST_F(UnshippedLanguageTest, FallsBackToEnglishInsteadOfTheBox) {
    m_enumeration.Succeed(NumberedHotfixes(1));
    CloseMainWindows();
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(WinApi::Testing::MessageBoxCalls().empty());
    EXPECT_EQ(DuiLib::UICulture::GetInstance()->GetString(L"IDS_UNINSTALL_HOTFIX_OPERATION").str(),
              L"Uninstall");
}

class MissingMainLayoutTest : public StartupTest {
protected:
    StageOptions Stage() const override { return {true, false, true}; }
};

TEST_F(MissingMainLayoutTest, WindowThatCannotBeCreatedEndsStartUp) {
    LogCapture log;
    EXPECT_EQ(Run(), 0);  // returns instead of waiting in a loop no window would end
    EXPECT_TRUE(log.Contains(L"create main window fail!(wWinMain)"));
    EXPECT_TRUE(DuiLib::Headless::Windows().empty());
    EXPECT_FALSE(DuiLib::Headless::IsQuitPending());
    EXPECT_EQ(g_instanceMutex, nullptr);
    EXPECT_TRUE(MutexIsFree());
    ASSERT_TRUE(DetachedThreads::WaitUntilNoneRuns(10000));
    EXPECT_TRUE(log.Matching(L"get install hotfix").empty()) << "nothing was queried";
}

// A layout without one of the window's controls: the window opens and says so,
// and no query runs, neither before the window nor from it.
TEST_F(StartupTest, AMainLayoutMissingAControlQueriesNothing) {
    const fs::path layout = fs::path(m_folder) / "res" / "layout" / "MainWindow.xml";
    std::string text = ReadFile(layout.string());
    const std::string name = "name=\"hotfixDiscribeLayout\"";
    ASSERT_NE(text.find(name), std::string::npos);
    WriteFile(layout.string(), text.replace(text.find(name), name.size(), "name=\"elsewhere\""));
    m_enumeration.Succeed(NumberedHotfixes(1));
    LogCapture log;
    bool shown = false;
    CloseMainWindows([&](const WindowState& state) { shown = shown || state.visible; });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(shown);
    ASSERT_TRUE(DetachedThreads::WaitUntilNoneRuns(10000));
    EXPECT_EQ(log.Matching(L"main form control is null!(MainWindow::InitWindow)").size(), 1u);
    EXPECT_TRUE(log.Matching(L"get install hotfix").empty()) << "nothing was queried";
    EXPECT_TRUE(log.Matching(L"get install list ret:").empty());
}

TEST_F(StartupTest, AProgramRunAfterTheFirstEndedRunsNormally) {
    m_enumeration.Succeed(NumberedHotfixes(1));
    int runs = 0;
    CloseMainWindows([&](const WindowState&) { ++runs; });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(runs, 2);
}

}  // namespace
