// Backend::RunMessageLoop and friends on Win32. Closures queued through
// UIMainQueue::dispatch (any thread) are announced by one posted message to a
// hidden message-only window; whichever loop is running (the main loop, a modal
// loop, a message box's loop) dispatches it, and its handler drains the queue.
#include <atomic>

#include "duilib/UIBackend.h"
#include "duilib/UIMainQueue.h"
#include "duilib/UIManager.h"
#include "duilib_win32/Win32MessageLoop.h"
#include "support/KtLogger.h"

namespace DuiLib {
namespace {

constexpr UINT kDrainQueueMessage = WM_APP + 0x2A1;
constexpr wchar_t kQueueWindowClass[] = L"DuiLibMainQueueWindow";

std::atomic<HWND> g_queueWindow{nullptr};
// True from a wake-up post until its handler starts draining: one post at a time.
std::atomic<bool> g_wakePending{false};

LRESULT CALLBACK QueueWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kDrainQueueMessage) {
        g_wakePending = false;
        UIMainQueue::getInstance()->drain();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void DispatchOne(MSG& msg) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

}  // namespace

namespace Win32Loop {

HINSTANCE Instance() {
    HINSTANCE instance = CPaintManagerUI::GetInstance();
    return instance ? instance : GetModuleHandleW(nullptr);
}

void EnsureQueueWindow() {
    if (g_queueWindow.load()) {
        return;
    }
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = QueueWindowProc;
    windowClass.hInstance = Instance();
    windowClass.lpszClassName = kQueueWindowClass;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        KT_LOG(LOG_ERROR, "register queue window class fail, error " << GetLastError(),
               "Win32Loop::EnsureQueueWindow");
        return;
    }
    HWND hwnd = CreateWindowExW(0, kQueueWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                Instance(), nullptr);
    if (!hwnd) {
        KT_LOG(LOG_ERROR, "create queue window fail, error " << GetLastError(),
               "Win32Loop::EnsureQueueWindow");
        return;
    }
    g_queueWindow = hwnd;
}

}  // namespace Win32Loop

namespace Backend {

void RunMessageLoop() {
    Win32Loop::EnsureQueueWindow();
    UIMainQueue::getInstance()->drain();  // closures queued before the window existed
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchOne(msg);
    }
}

void PostQuit(int exitCode) {
    PostQuitMessage(exitCode);
}

void WakeMainQueue() {
    HWND hwnd = g_queueWindow.load();
    if (!hwnd || g_wakePending.exchange(true)) {
        return;  // no loop yet (it drains when it starts), or a wake-up is already on its way
    }
    if (!PostMessageW(hwnd, kDrainQueueMessage, 0, 0)) {
        g_wakePending = false;
    }
}

void PumpPendingMessages() {
    Win32Loop::EnsureQueueWindow();
    UIMainQueue::getInstance()->drain();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // stays pending for the outer loop
            break;
        }
        DispatchOne(msg);
    }
}

void WaitForMessages(int timeoutMs) {
    Win32Loop::EnsureQueueWindow();
    MsgWaitForMultipleObjectsEx(0, nullptr,
                                timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs),
                                QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace Backend
}  // namespace DuiLib
