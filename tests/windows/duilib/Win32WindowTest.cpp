// The Win32 backend with real windows: creation from a layout, system commands,
// mouse input and caption dragging, the modal loop, the main-thread queue woken
// from another thread and real timers.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "Win32TestWindow.h"
#include "winapi/WinApi.h"

namespace {

using DuiLib::UIMainQueue;
using DuiLib::UIRect;
using Win32Test::ProbeWindow;

// Runs the UI thread's loop until `done`, but gives up after a few seconds so a
// broken wake-up fails the test instead of hanging the suite.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    return UIMainQueue::getInstance()->pumpUntil(done, timeoutMs);
}

TEST(Win32Window, CreatesAPopupOfTheLayoutSizeUnderItsClassName) {
    ProbeWindow window;
    HWND hwnd = window.CreateProbe(nullptr, L"Win32 probe");
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(DuiLib::WindowApi::FindWindowW(L"OrvelleWin32Probe", L"Win32 probe"), hwnd);
    EXPECT_EQ(DuiLib::WindowApi::FindWindowW(L"OrvelleWin32Probe", L"another title"), nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_POPUP);

    RECT client;
    GetClientRect(hwnd, &client);
    auto& manager = window.GetPaintManager();
    EXPECT_EQ(manager.GetScale(), window.GetBackend()->GetDpiScale());
    EXPECT_EQ(client.right, manager.ScaleValue(300));
    EXPECT_EQ(client.bottom, manager.ScaleValue(200));

    DuiLib::WindowApi::SetWindowTextW(hwnd, L"renamed");
    EXPECT_EQ(DuiLib::WindowApi::FindWindowW(L"OrvelleWin32Probe", L"renamed"), hwnd);
}

TEST(Win32Window, SystemCommandsMinimiseAndRestore) {
    ProbeWindow window;
    ASSERT_NE(window.CreateProbe(nullptr, L"Win32 probe"), nullptr);
    window.ShowWindow(true);
    window.SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(window.GetBackend()->IsMinimized());
    DuiLib::WindowApi::SendMessageW(window.GetHWND(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(window.GetBackend()->IsMinimized());
}

TEST(Win32Window, MouseClicksRaiseClickAndTheCaptionDragsOutsideControls) {
    ProbeWindow window;
    HWND hwnd = window.CreateProbe(nullptr, L"Win32 probe");
    ASSERT_NE(hwnd, nullptr);
    window.ShowWindow(true);
    PumpUntil([] { return false; }, 50);  // first paint lays the tree out
    const UIRect button = window.PosOf(L"probeButton");
    ASSERT_GT(button.Width(), 0);
    const int x = (button.left + button.right) / 2;
    const int y = (button.top + button.bottom) / 2;

    EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, Win32Test::ScreenPoint(hwnd, 5, 5)), HTCAPTION);
    EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, Win32Test::ScreenPoint(hwnd, x, y)), HTCLIENT);
    EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, Win32Test::ScreenPoint(hwnd, 5, 100)), HTCLIENT);

    const auto& seen = window.notifications;
    auto saw = [&](const wchar_t* what) {
        return std::find(seen.begin(), seen.end(), what) != seen.end();
    };
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, Win32Test::ClientPoint(x, y));
    EXPECT_TRUE(saw(L"mouseenter:probeButton"));
    SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(saw(L"mouseleave:probeButton"));

    window.notifications.clear();
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, Win32Test::ClientPoint(x, y));
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Win32Test::ClientPoint(x, y));
    EXPECT_EQ(GetCapture(), hwnd);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, Win32Test::ClientPoint(x, y));
    EXPECT_TRUE(saw(L"click:probeButton"));
    EXPECT_NE(GetCapture(), hwnd);

    // A press that leaves the button before release is no click.
    window.notifications.clear();
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Win32Test::ClientPoint(x, y));
    SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, Win32Test::ClientPoint(5, 100));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, Win32Test::ClientPoint(5, 100));
    EXPECT_FALSE(saw(L"click:probeButton"));

    // Losing the mouse to another window mid-press cancels the press.
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, Win32Test::ClientPoint(x, y));
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Win32Test::ClientPoint(x, y));
    ReleaseCapture();
    SendMessageW(hwnd, WM_LBUTTONUP, 0, Win32Test::ClientPoint(x, y));
    EXPECT_FALSE(saw(L"click:probeButton"));
}

TEST(Win32Window, ShowModalDisablesTheOwnerUntilCloseAndReturnsTheCode) {
    ProbeWindow owner;
    ASSERT_NE(owner.CreateProbe(nullptr, L"Win32 owner"), nullptr);
    owner.ShowWindow(true);
    ProbeWindow dialog;
    ASSERT_NE(dialog.CreateProbe(owner.GetHWND(), L"Win32 dialog"), nullptr);
    dialog.CenterToParentWindow();

    std::atomic<bool> ownerEnabledInside{true};
    std::atomic<bool> ranOnUiThread{false};
    const DWORD uiThread = GetCurrentThreadId();
    // Queued from another thread: the modal loop must wake up for it.
    std::thread([&] {
        UIMainQueue::getInstance()->dispatch([&] {
            ranOnUiThread = GetCurrentThreadId() == uiThread;
            ownerEnabledInside = IsWindowEnabled(owner.GetHWND()) != FALSE;
            dialog.Close(7);
        });
    }).join();
    // A stuck loop would hang here: a watchdog closes the dialog with another code.
    std::thread watchdog([hwnd = dialog.GetHWND()] {
        Sleep(5000);
        PostMessageW(hwnd, WM_CLOSE, 99, 0);
    });
    watchdog.detach();

    EXPECT_EQ(dialog.ShowModal(), 7u);
    EXPECT_TRUE(ranOnUiThread);
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(owner.GetHWND()));
    EXPECT_EQ(dialog.GetHWND(), nullptr);
}

TEST(Win32Window, MessageLoopRunsQueuedClosuresAndEndsOnQuit) {
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<bool> ran{false};
    std::atomic<bool> timedOut{false};
    std::thread([&] {
        UIMainQueue::getInstance()->dispatch([&] {
            ran = GetCurrentThreadId() == uiThread;
            DuiLib::WindowApi::PostQuitMessage(0);
        });
    }).join();
    std::thread watchdog([&] {
        for (int i = 0; i < 100 && !ran; ++i) Sleep(50);
        if (!ran) {
            timedOut = true;
            PostThreadMessageW(uiThread, WM_QUIT, 0, 0);
        }
    });
    DuiLib::CPaintManagerUI::MessageLoop();
    watchdog.join();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(timedOut);
}

TEST(Win32Window, AnimationAdvancesOnRealTimers) {
    ProbeWindow window;
    ASSERT_NE(window.CreateProbe(nullptr, L"Win32 probe"), nullptr);
    auto* anim =
        static_cast<DuiLib::CAnimPanelUI*>(window.GetPaintManager().FindControl(L"probeAnim"));
    ASSERT_NE(anim, nullptr);
    anim->StartAnim();
    EXPECT_TRUE(PumpUntil([&] { return anim->GetFrame() >= 3; }));
    anim->StopAnim();
    const int stoppedAt = anim->GetFrame();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(anim->GetFrame(), stoppedAt);
}

TEST(Win32Window, TextMeasurementFollowsTextAndFont) {
    using DuiLib::Backend::MeasureText;
    const DuiLib::UIFont normal{13, false, false};
    const DuiLib::UIFont large{26, false, false};
    const DuiLib::UIFont bold{13, true, false};
    EXPECT_GT(MeasureText(L"WWWWWW", normal).cx, MeasureText(L"iiiiii", normal).cx);
    EXPECT_GT(MeasureText(L"Uninstall", large).cx, MeasureText(L"Uninstall", normal).cx);
    EXPECT_GT(MeasureText(L"Uninstall", large).cy, MeasureText(L"Uninstall", normal).cy);
    EXPECT_GE(MeasureText(L"Uninstall", bold).cx, MeasureText(L"Uninstall", normal).cx);
    EXPECT_EQ(MeasureText(L"", normal).cx, 0);
    EXPECT_GE(MeasureText(L"", normal).cy, 13);
}

// The core's tooltip in a standard tooltip window of the system, shown beside the
// button once the mouse rested there for the hover time, gone when it moves on.
TEST(Win32Window, HoverShowsTheButtonsToolTipInASystemTooltip) {
    ProbeWindow window;
    HWND hwnd = window.CreateProbe(nullptr, L"Win32 probe");
    ASSERT_NE(hwnd, nullptr);
    window.ShowWindow(true);
    PumpUntil([] { return false; }, 50);
    const UIRect button = window.PosOf(L"probeButton");
    SendMessageW(hwnd, WM_MOUSEMOVE, 0,
                 Win32Test::ClientPoint((button.left + button.right) / 2, button.top + 5));

    HWND tip = nullptr;
    auto tipShown = [&] {
        tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
        while (tip && GetWindow(tip, GW_OWNER) != hwnd)
            tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr);
        return tip && IsWindowVisible(tip);
    };
    EXPECT_FALSE(tipShown());  // not before the hover time
    ASSERT_TRUE(PumpUntil(tipShown, 5000));
    wchar_t text[64] = {};
    TTTOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = hwnd;
    info.uId = 1;
    info.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, L"Confirms the probe");
    RECT tipRect;
    GetWindowRect(tip, &tipRect);
    POINT below = {button.left, button.bottom};
    ClientToScreen(hwnd, &below);
    EXPECT_GE(tipRect.top, below.y);

    SendMessageW(hwnd, WM_MOUSEMOVE, 0, Win32Test::ClientPoint(5, 100));
    EXPECT_FALSE(IsWindowVisible(tip));
}

}  // namespace
