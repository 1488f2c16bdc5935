// The toolkit's Win32 backend: real windows for the product and the Windows suite.
//
// Implemented features:
//  - Borderless popup windows (CWindowBackend) with creation, show, centring,
//    icon group, title, resize, modal loops that disable the owner, close
//    requests and destruction, timers, invalidation.
//  - Input: mouse move, hover leave (TrackMouseEvent), left button with
//    capture, wheel, caption drag through WM_NCHITTEST, keys (WM_KEYDOWN /
//    WM_SYSKEYDOWN / WM_KEYUP; WM_CHAR is not needed: no control takes text),
//    the window's keyboard focus (Win32WindowProc_win.cpp).
//  - Tooltips the core asks for, in a standard tracking tooltip window
//    (Win32ToolTip_win.cpp).
//  - System settings: high contrast and the system colours, the wheel's lines
//    per notch (Win32System_win.cpp).
//  - Painting: the core's render list drawn with GDI into a back buffer, with
//    alpha through AlphaBlend and the system UI font per DPI (Win32Painter_win.cpp,
//    Win32Fonts_win.cpp); per-monitor DPI changes (Win32Dpi_win.cpp).
//  - The UI thread's loop and the main-thread queue's wake-up (Win32MessageLoop_win.cpp);
//    the calls on other top-level windows of UIWindowApi.h (WindowApi_win.cpp).
//  - Assistive technology: MSAA objects from the accessible tree and WinEvents
//    of control changes (Win32Accessible_win.cpp, Win32AccessibleObject_win.cpp).
// Not implemented: text input, right and middle buttons, images, child
// windows, non-client areas other than the caption drag.
//
// This file: Win32WindowBackend's creation, showing, the modal loop, closing and
// the window operations; message translation is in Win32WindowProc_win.cpp.
#include <cassert>

#include "duilib/UIManager.h"
#include "duilib/UIWindow.h"
#include "duilib_win32/Win32Dpi.h"
#include "duilib_win32/Win32MessageLoop.h"
#include "duilib_win32/Win32Window.h"
#include "support/KtLogger.h"

namespace DuiLib {

CWindowBackend* Backend::CreateWindowBackend(CWindowWnd* owner) {
    return new Win32WindowBackend(owner);
}

Win32WindowBackend::Win32WindowBackend(CWindowWnd* owner) : m_owner(owner) {}

Win32WindowBackend::~Win32WindowBackend() {
    if (m_modal) {
        m_modal->backendGone = true;
        m_modal->done = true;
    }
    m_owner = nullptr;
    if (m_hwnd) {
        // Destroyed silently: no message reaches this object any more.
        HWND hwnd = m_hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        m_hwnd = nullptr;
        EnableOwnerAgain();
        DestroyWindow(hwnd);
    }
    ReleaseIcons();
}

bool Win32WindowBackend::RegisterWindowClass(const std::wstring& className) const {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Win32WindowBackend::WindowProc;
    windowClass.hInstance = Win32Loop::Instance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className.c_str();
    if (RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
        return true;
    }
    KT_LOG(LOG_ERROR, "register window class fail, error " << GetLastError(),
           "Win32WindowBackend::RegisterWindowClass");
    return false;
}

HWND Win32WindowBackend::Create(const UIWindowCreateInfo& info) {
    assert(!m_hwnd && "Create: the window already exists");
    Win32Loop::EnsureQueueWindow();
    if (info.className.empty() || !RegisterWindowClass(info.className)) {
        return nullptr;
    }
    DWORD style = info.style;
    if (!info.parent && (style & WS_POPUP)) {
        // A borderless main window still minimises and restores from the taskbar.
        style |= WS_MINIMIZEBOX | WS_SYSMENU;
    }
    HWND hwnd = CreateWindowExW(info.exStyle, info.className.c_str(), info.title.c_str(), style,
                                info.x, info.y, info.cx, info.cy, info.parent, nullptr,
                                Win32Loop::Instance(), this);
    if (!hwnd) {
        KT_LOG(LOG_ERROR, "create window fail, error " << GetLastError(),
               "Win32WindowBackend::Create");
    }
    return hwnd;
}

void Win32WindowBackend::Show(bool show, bool takeFocus) {
    if (m_hwnd) {
        ::ShowWindow(m_hwnd, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
    }
}

UINT Win32WindowBackend::RunModal() {
    if (!m_hwnd) {
        return 0;
    }
    HWND owner = GetWindow(m_hwnd, GW_OWNER);
    ModalState state;
    m_modal = &state;
    Show(true, true);
    if (owner && ::IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        m_disabledOwner = owner;
    }
    MSG msg;
    while (!state.done) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // stays pending for the outer loop
            break;
        }
        if (got == -1) {
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (!state.backendGone) {
        m_modal = nullptr;
        EnableOwnerAgain();
    } else if (owner && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
    }
    if (owner && IsWindow(owner)) {
        SetForegroundWindow(owner);
    }
    return state.done ? state.result : 0;
}

void Win32WindowBackend::EnableOwnerAgain() {
    if (m_disabledOwner) {
        EnableWindow(m_disabledOwner, TRUE);
        m_disabledOwner = nullptr;
    }
}

void Win32WindowBackend::Close(UINT code) {
    if (m_hwnd) {
        PostMessageW(m_hwnd, WM_CLOSE, code, 0);
    }
}

void Win32WindowBackend::Destroy(UINT modalResult) {
    if (!m_hwnd) {
        return;
    }
    m_pendingResult = modalResult;
    // Before the window goes, so that activation returns to the owner.
    EnableOwnerAgain();
    DestroyWindow(m_hwnd);  // may delete this (OnFinalMessage): nothing after it
}

void Win32WindowBackend::OnNativeDestroyed() {
    m_painter.Release();
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    HWND old = m_hwnd;
    m_hwnd = nullptr;
    m_toolTip = nullptr;  // owned by the window, so gone with it
    m_live = false;
    if (m_modal) {
        m_modal->done = true;
        m_modal->result = m_pendingResult;
    }
    ReleaseIcons();
    if (CWindowWnd* owner = m_owner) {
        owner->OnFinalMessage(old);  // the last call; it may delete this
    }
}

LRESULT Win32WindowBackend::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_hwnd ? SendMessageW(m_hwnd, message, wParam, lParam) : 0;
}

bool Win32WindowBackend::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = m_hwnd;
    return hwnd && PostMessageW(hwnd, message, wParam, lParam);
}

LRESULT Win32WindowBackend::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hwnd) {
        return 0;
    }
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        Close(0);  // a close request, as the seam promises, rather than DefWindowProc's send
        return 0;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void Win32WindowBackend::CenterIn(const RECT& area, const RECT& workArea) {
    RECT window;
    GetWindowRect(m_hwnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    auto place = [](long start, long length, long workStart, long workEnd, int size) {
        long pos = start + (length - size) / 2;
        if (pos + size > workEnd) {
            pos = workEnd - size;
        }
        return static_cast<int>(pos < workStart ? workStart : pos);
    };
    const int x = place(area.left, area.right - area.left, workArea.left, workArea.right, width);
    const int y = place(area.top, area.bottom - area.top, workArea.top, workArea.bottom, height);
    SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {
RECT WorkAreaOf(HWND hwnd) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}
}  // namespace

void Win32WindowBackend::CenterOnScreen() {
    if (m_hwnd) {
        const RECT work = WorkAreaOf(m_hwnd);
        CenterIn(work, work);
    }
}

void Win32WindowBackend::CenterOnParent() {
    if (!m_hwnd) {
        return;
    }
    HWND owner = GetWindow(m_hwnd, GW_OWNER);
    if (!owner || ::IsIconic(owner) || !IsWindowVisible(owner)) {
        CenterOnScreen();
        return;
    }
    RECT ownerRect;
    GetWindowRect(owner, &ownerRect);
    CenterIn(ownerRect, WorkAreaOf(owner));
}

void Win32WindowBackend::SetIcon(UINT resourceId) {
    if (!m_hwnd) {
        return;
    }
    const unsigned dpi = Win32Dpi::ForWindow(m_hwnd);
    auto load = [&](int widthMetric, int heightMetric) {
        return static_cast<HICON>(LoadImageW(Win32Loop::Instance(), MAKEINTRESOURCEW(resourceId),
                                             IMAGE_ICON, Win32Dpi::SystemMetric(widthMetric, dpi),
                                             Win32Dpi::SystemMetric(heightMetric, dpi),
                                             LR_DEFAULTCOLOR));
    };
    HICON big = load(SM_CXICON, SM_CYICON);
    HICON small = load(SM_CXSMICON, SM_CYSMICON);
    if (!big || !small) {
        KT_LOG(LOG_ERROR, "load icon fail, resource " << resourceId << " error " << GetLastError(),
               "Win32WindowBackend::SetIcon");
        if (big) {
            DestroyIcon(big);
        }
        if (small) {
            DestroyIcon(small);
        }
        return;
    }
    SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    ReleaseIcons();  // the previous pair, no longer in use
    m_bigIcon = big;
    m_smallIcon = small;
}

void Win32WindowBackend::ReleaseIcons() {
    if (m_bigIcon) {
        DestroyIcon(m_bigIcon);
        m_bigIcon = nullptr;
    }
    if (m_smallIcon) {
        DestroyIcon(m_smallIcon);
        m_smallIcon = nullptr;
    }
}

void Win32WindowBackend::SetTitle(const std::wstring& title) {
    if (m_hwnd) {
        SetWindowTextW(m_hwnd, title.c_str());
    }
}

std::wstring Win32WindowBackend::GetTitle() const {
    if (!m_hwnd) {
        return std::wstring();
    }
    std::wstring title(static_cast<size_t>(GetWindowTextLengthW(m_hwnd)) + 1, L'\0');
    title.resize(
        static_cast<size_t>(GetWindowTextW(m_hwnd, &title[0], static_cast<int>(title.size()))));
    return title;
}

void Win32WindowBackend::Resize(int cx, int cy) {
    if (!m_hwnd) {
        return;
    }
    RECT rc = {0, 0, cx, cy};
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE)));
    SetWindowPos(m_hwnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UISize Win32WindowBackend::GetClientSize() const {
    UISize size;
    RECT rc;
    if (m_hwnd && GetClientRect(m_hwnd, &rc)) {
        size.cx = rc.right - rc.left;
        size.cy = rc.bottom - rc.top;
    }
    return size;
}

void Win32WindowBackend::Invalidate() {
    // Building a list changes controls thousands of times before the next paint;
    // one InvalidateRect (a wineserver round trip under Wine) covers them all.
    if (m_hwnd && !m_paintPending) {
        m_paintPending = true;
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }
}

bool Win32WindowBackend::SetTimer(int timerId, unsigned elapseMs) {
    return m_hwnd && ::SetTimer(m_hwnd, static_cast<UINT_PTR>(timerId), elapseMs, nullptr) != 0;
}

void Win32WindowBackend::KillTimer(int timerId) {
    if (m_hwnd) {
        ::KillTimer(m_hwnd, static_cast<UINT_PTR>(timerId));
    }
}

unsigned Win32WindowBackend::GetDpiScale() const {
    return Win32Dpi::ScalePercent(Win32Dpi::ForWindow(m_hwnd));
}

bool Win32WindowBackend::IsMinimized() const {
    return m_hwnd && ::IsIconic(m_hwnd);
}

bool Win32WindowBackend::IsInputEnabled() const {
    return m_hwnd && ::IsWindowEnabled(m_hwnd);
}

CPaintManagerUI* Win32WindowBackend::Manager() const {
    return m_owner ? m_owner->GetPaintManagerUI() : nullptr;
}

}  // namespace DuiLib
