// Windows on the headless backend: creation from a layout, modal loops, close
// handling, the message order of WindowImplBase, and the WinApi window calls.
#include "DuiTestEnv.h"
#include "testkit/LogCapture.h"
#include "winapi/WinApiTesting.h"

using namespace DuiLib;
using DuiTest::RecordingWindow;

namespace {

Headless::WindowState StateOf(HWND window) {
    Headless::WindowState state;
    EXPECT_TRUE(Headless::FindWindowState(window, state));
    return state;
}

bool IsLive(HWND window) {
    Headless::WindowState state;
    return window && Headless::FindWindowState(window, state);
}

class WindowTest : public DuiTest::ToolkitTest {};

struct ScaleCase {
    unsigned scale;
    int width, height;
};

class WindowScaleTest : public WindowTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(WindowScaleTest, CreationBuildsTheLayoutAndSizesTheWindowAtItsScale) {
    Headless::SetDpiScale(GetParam().scale);
    RecordingWindow window(L"layout\\window.xml");
    HWND hwnd = window.Create(nullptr, L"Title", WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(window.GetHWND(), hwnd);
    EXPECT_EQ(window.initCount, 1);
    EXPECT_NE(window.GetPaintManager().FindControl(L"title"), nullptr);
    EXPECT_EQ(CResourceManager::GetInstance()->GetScale(&window.GetPaintManager()),
              GetParam().scale);
    Headless::WindowState state = StateOf(hwnd);
    EXPECT_EQ(state.className, L"DuiTestWindow");
    EXPECT_EQ(state.title, L"Title");
    EXPECT_EQ(state.rect.Width(), GetParam().width);
    EXPECT_EQ(state.rect.Height(), GetParam().height);
    EXPECT_FALSE(state.visible);
}

INSTANTIATE_TEST_SUITE_P(Scales, WindowScaleTest,
                         ::testing::Values(ScaleCase{100, 400, 300}, ScaleCase{125, 500, 375},
                                           ScaleCase{150, 600, 450}));

TEST_F(WindowTest, AWindowWhoseLayoutIsMissingIsNotCreatedAndShowModalReturnsAtOnce) {
    LogCapture log;
    RecordingWindow window(L"layout\\absent.xml");
    EXPECT_EQ(window.CreateDefault(), nullptr);
    EXPECT_EQ(window.GetHWND(), nullptr);
    EXPECT_EQ(window.initCount, 0);
    EXPECT_TRUE(Headless::Windows().empty());
    EXPECT_EQ(window.ShowModal(), 0u);
    EXPECT_TRUE(log.Contains(L"(WindowImplBase::OnCreate)"));
    EXPECT_TRUE(log.Contains(L"(CWindowWnd::ShowModal)"));
}

TEST_F(WindowTest, ShowModalRunsUntilCloseReturnsItsCodeAndBlocksTheOwner) {
    RecordingWindow owner(L"layout\\window.xml");
    ASSERT_NE(owner.CreateDefault(), nullptr);
    owner.ShowWindow(true, true);
    RecordingWindow dialog(L"layout\\row.xml", L"DuiTestDialog");
    ASSERT_NE(dialog.CreateDefault(owner.GetHWND()), nullptr);
    UITestDriver ownerDriver(owner);

    bool ownerBlocked = false, dialogModal = false, ownerClickRefused = false;
    Headless::SetIdleHook([&] {
        ownerBlocked = !StateOf(owner.GetHWND()).inputEnabled;
        dialogModal = StateOf(dialog.GetHWND()).modal && StateOf(dialog.GetHWND()).foreground;
        ownerClickRefused = !ownerDriver.Click(L"aboutButton");
        dialog.Close(7);
    });
    EXPECT_EQ(dialog.ShowModal(), 7u);
    Headless::SetIdleHook(nullptr);

    EXPECT_TRUE(ownerBlocked);
    EXPECT_TRUE(dialogModal);
    EXPECT_TRUE(ownerClickRefused);
    EXPECT_EQ(owner.events, std::vector<std::wstring>{});
    EXPECT_EQ(dialog.GetHWND(), nullptr);
    EXPECT_TRUE(StateOf(owner.GetHWND()).inputEnabled);
    EXPECT_TRUE(StateOf(owner.GetHWND()).foreground);
    EXPECT_EQ(dialog.messages, (std::vector<UINT>{WM_CREATE, WM_CLOSE, WM_DESTROY}));
}

TEST_F(WindowTest, CustomHandlingComesFirstAndBHandledKeepsTheWindowOpen) {
    RecordingWindow window(L"layout\\row.xml");
    ASSERT_NE(window.CreateDefault(), nullptr);
    UITestDriver driver(window);
    window.swallow = WM_CLOSE;
    window.Close(1);
    EXPECT_TRUE(IsLive(window.GetHWND()));  // Close only posts
    driver.Pump();
    EXPECT_TRUE(IsLive(window.GetHWND()));
    EXPECT_EQ(window.messages.back(), static_cast<UINT>(WM_CLOSE));

    window.swallow = 0;
    window.Close(2);
    driver.Pump();
    EXPECT_EQ(window.GetHWND(), nullptr);
    EXPECT_EQ(window.messages.back(), static_cast<UINT>(WM_DESTROY));
}

// Closes itself again and posts quit on WM_CLOSE, as the main window does.
class QuittingWindow : public RecordingWindow {
public:
    QuittingWindow() : RecordingWindow(L"layout\\window.xml") {}
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override {
        if (uMsg == WM_CLOSE) {
            ++closes;
            Close(1);
            WindowApi::PostQuitMessage(0);
        }
        return RecordingWindow::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    }
    int closes = 0;
};

TEST_F(WindowTest, AWindowThatClosesAgainOnCloseEndsItsModalLoopAndTheMessageLoop) {
    QuittingWindow window;
    ASSERT_NE(window.CreateDefault(), nullptr);
    window.CenterWindow();
    Headless::SetIdleHook([&] {
        Headless::SetIdleHook(nullptr);
        window.Close(1);
        WindowApi::PostQuitMessage(0);
    });
    EXPECT_EQ(window.ShowModal(), 1u);
    EXPECT_TRUE(Headless::IsQuitPending());
    CPaintManagerUI::MessageLoop();  // returns at once: the quit is already there
    EXPECT_EQ(window.closes, 1);     // the second close request found no window
    EXPECT_EQ(window.GetHWND(), nullptr);
}

TEST_F(WindowTest, WindowCallsActOnTheHeadlessWindows) {
    RecordingWindow window(L"layout\\window.xml", L"OrvelleTestUI");
    HWND hwnd = window.CreateDefault(nullptr, L"");
    ASSERT_NE(hwnd, nullptr);
    window.ShowWindow(true, false);
    EXPECT_EQ(WindowApi::FindWindowW(L"OrvelleTestUI", L"OrvelleEx"), nullptr);
    EXPECT_TRUE(WindowApi::SetWindowTextW(hwnd, L"OrvelleEx"));
    EXPECT_EQ(WindowApi::FindWindowW(L"OrvelleTestUI", L"OrvelleEx"), hwnd);
    EXPECT_EQ(WindowApi::FindWindowW(L"OrvelleTestUI", L"orvelleex"), nullptr);
    EXPECT_EQ(WindowApi::FindWindowW(L"OtherUI", L"OrvelleEx"), nullptr);

    window.SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);  // as the minimise button does
    EXPECT_TRUE(StateOf(hwnd).minimized);
    WindowApi::SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);  // as a second instance does
    EXPECT_FALSE(StateOf(hwnd).minimized);
    EXPECT_FALSE(StateOf(hwnd).foreground);
    EXPECT_TRUE(WindowApi::SetForegroundWindow(hwnd));
    EXPECT_TRUE(StateOf(hwnd).foreground);
    EXPECT_EQ(window.messages.back(), static_cast<UINT>(WM_SYSCOMMAND));

    WindowApi::SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(WindowApi::FindWindowW(L"OrvelleTestUI", L"OrvelleEx"), nullptr);
    EXPECT_FALSE(WindowApi::SetForegroundWindow(hwnd));
    EXPECT_EQ(WindowApi::SendMessageW(hwnd, WM_CLOSE, 0, 0), 0);
}

TEST_F(WindowTest, CentringAndIconFollowTheCalls) {
    RecordingWindow owner(L"layout\\window.xml");  // 400 x 300
    ASSERT_NE(owner.CreateDefault(), nullptr);
    owner.CenterWindow();
    owner.SetIcon(5);
    EXPECT_EQ(StateOf(owner.GetHWND()).rect.left, (1920 - 400) / 2);
    EXPECT_EQ(StateOf(owner.GetHWND()).rect.top, (1080 - 300) / 2);
    EXPECT_EQ(StateOf(owner.GetHWND()).iconId, 5u);

    RecordingWindow dialog(L"<Window size='100,50'><Control/></Window>");
    ASSERT_NE(dialog.CreateDefault(owner.GetHWND()), nullptr);
    dialog.CenterToParentWindow();
    EXPECT_EQ(StateOf(dialog.GetHWND()).rect.left, 760 + 150);
    EXPECT_EQ(StateOf(dialog.GetHWND()).rect.top, 390 + 125);
}

// Deletes itself once its native window is gone, as modeless windows often do.
class SelfDeletingWindow : public RecordingWindow {
public:
    explicit SelfDeletingWindow(bool* deleted)
        : RecordingWindow(L"layout\\row.xml"), m_deleted(deleted) {}
    ~SelfDeletingWindow() override { *m_deleted = true; }
    void OnFinalMessage(HWND) override { delete this; }

private:
    bool* m_deleted;
};

TEST_F(WindowTest, AWindowThatDeletesItselfInsideItsModalLoopEndsTheLoopSafely) {
    bool deleted = false;
    auto* window = new SelfDeletingWindow(&deleted);
    ASSERT_NE(window->CreateDefault(), nullptr);
    Headless::SetIdleHook([&] {
        Headless::SetIdleHook(nullptr);
        window->Close(3);
    });
    EXPECT_EQ(window->ShowModal(), 3u);
    EXPECT_TRUE(deleted);
}

TEST_F(WindowTest, DeletingAWindowObjectRemovesItsNativeWindowQuietly) {
    auto* window = new RecordingWindow(L"layout\\row.xml");
    HWND hwnd = window->CreateDefault();
    ASSERT_TRUE(IsLive(hwnd));
    delete window;
    EXPECT_FALSE(IsLive(hwnd));
    EXPECT_EQ(WindowApi::SendMessageW(hwnd, WM_CLOSE, 0, 0), 0);
}

TEST_F(WindowTest, TheInstancePathIsTheExecutablesFolderWithItsSeparator) {
    struct Case {
        const wchar_t* module;
        const wchar_t* folder;
    };
    for (Case c :
         {Case{L"/opt/orvelle/OrvelleEx.exe", L"/opt/orvelle/"},
          Case{L"C:\\Program Files\\Orvelle\\OrvelleEx.exe", L"C:\\Program Files\\Orvelle\\"}}) {
        WinApi::Testing::SetModuleFileName(c.module);
        EXPECT_EQ(CPaintManagerUI::GetInstancePath(), c.folder);
    }
    WinApi::Testing::SetModuleFileName(L"");
    std::wstring real = CPaintManagerUI::GetInstancePath().str();
    ASSERT_FALSE(real.empty());
    EXPECT_EQ(real.back(), L'/');
}

}  // namespace
