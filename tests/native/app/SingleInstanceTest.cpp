// The single instance against other programs: a mutex of the same name that
// another program made, and a window of the main window's class and title that
// another program (or this one unelevated) shows, neither keeps the program
// from starting nor gets its foreground.
#include <cwctype>

#include "StartupFixture.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;
using DuiLib::Headless::WindowState;

namespace {

const wchar_t kMutexName[] = L"windows//PC/Orvelle";

class SingleInstanceTest : public StartupFixture<> {
protected:
    void SetUp() override {
        StageThisTest("single-instance", "en_US.UTF-8");
        m_enumeration.Succeed(NumberedHotfixes(1));
    }
    static int Run() { return wWinMain(nullptr, nullptr, const_cast<LPWSTR>(L""), 1); }
    // Runs the program; true when it showed its main window (closed at once).
    static bool RunShowsMainWindow() {
        bool shown = false;
        DuiLib::Headless::SetIdleHook([&] {
            for (const WindowState& state : DuiLib::Headless::Windows())
                if (state.className == MAIN_WINDOW_CLASS && state.visible) {
                    shown = true;
                    DuiLib::WindowApi::SendMessageW(state.hwnd, WM_CLOSE, 0, 0);
                }
        });
        EXPECT_EQ(Run(), 0);
        DuiLib::Headless::SetIdleHook(nullptr);
        return shown;
    }
};

// Another program's mutex (made without this program's security descriptor).
TEST_F(SingleInstanceTest, AnotherProgramsMutexIsIgnored) {
    const struct {
        const char* name;
        bool privateNamespaces;
        const wchar_t* logged;
    } cases[] = {
        {"the lock moves to the private namespace", true,
         L"instance mutex of another owner ignored! ret:0(IsAlreadyRunning)"},
        {"no private namespace (Wine): no lock, but a start", false,
         L"instance mutex of another owner ignored! ret:50(IsAlreadyRunning)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WinApi::Testing::SetPrivateNamespaces(c.privateNamespaces);
        HANDLE squatter = WinApi::CreateMutexW(nullptr, TRUE, kMutexName);
        LogCapture log;
        EXPECT_TRUE(RunShowsMainWindow());
        EXPECT_EQ(log.Matching(c.logged).size(), 1u);
        EXPECT_EQ(g_instanceMutex, nullptr);
        EXPECT_EQ(WinApi::Testing::NamedMutexHandles(L"Orvelle\\windows//PC/Orvelle"), 0);
        WinApi::CloseHandle(squatter);
    }
}

// While a stranger holds the name, the first instance holds the private
// namespace's mutex, and a second start finds it there, also once the
// stranger is gone.
TEST_F(SingleInstanceTest, TheFirstInstanceBehindAStrangersMutexStillKeepsOthersOut) {
    HANDLE squatter = WinApi::CreateMutexW(nullptr, TRUE, kMutexName);
    const WinApi::InstanceLock first = WinApi::LockSingleInstance(kMutexName);
    ASSERT_NE(first.mutex, nullptr);
    EXPECT_TRUE(first.squatted);
    EXPECT_FALSE(first.alreadyRunning);
    EXPECT_FALSE(RunShowsMainWindow());
    WinApi::CloseHandle(squatter);
    EXPECT_FALSE(RunShowsMainWindow());
    WinApi::CloseHandle(first.mutex);
    EXPECT_TRUE(RunShowsMainWindow());
}

// A window of the main window's class and title whose process is not this
// executable, or is it unelevated: it is neither restored nor raised.
TEST_F(SingleInstanceTest, AWindowOfAnotherProgramIsLeftAlone) {
    UseExecutableFolder(m_folder);
    std::wstring otherCase = ExecutablePathIn(m_folder);
    for (wchar_t& ch : otherCase) ch = static_cast<wchar_t>(std::towupper(ch));
    const struct {
        const char* name;
        std::wstring image;
        bool elevated;
        bool raised;
    } cases[] = {
        {"this executable, elevated", L"", true, true},
        {"the same path in other case, elevated", otherCase, true, true},
        {"another executable", L"C:\\Users\\Public\\OrvelleEx.exe", true, false},
        {"this executable, not elevated", L"", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OpenMainWindow first;
        ASSERT_TRUE(first.driver().Click(MIN_BUTTON));
        WinApi::Testing::SetWindowProcess(c.image, c.elevated);
        HANDLE firstInstance = WinApi::LockSingleInstance(kMutexName).mutex;
        LogCapture log;
        EXPECT_EQ(Run(), 0);
        WindowState state;
        ASSERT_TRUE(DuiLib::Headless::FindWindowState(first.hwnd(), state));
        EXPECT_EQ(state.minimized, !c.raised);
        EXPECT_EQ(state.foreground, c.raised);
        EXPECT_EQ(log.Matching(L"window of another program left alone!").size(),
                  c.raised ? 0u : 1u);
        WinApi::CloseHandle(firstInstance);
        WinApi::Testing::SetWindowProcess(L"", true);
    }
}

}  // namespace
