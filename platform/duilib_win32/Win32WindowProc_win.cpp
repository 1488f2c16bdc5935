// Win32WindowBackend's window procedure: native messages become paint-manager
// input (mouse, hover, keys, caption drag, painting, DPI, system colours) or go
// to the owning CWindowWnd's HandleMessage, whose unhandled messages come back
// to DefaultProc.
// Nothing here touches `this` after a call that may delete it (OnFinalMessage).
#include <windows.h>
#include <windowsx.h>

#include "duilib/UIManager.h"
#include "duilib/UIWindow.h"
#include "duilib_win32/Win32Dpi.h"
#include "duilib_win32/Win32System.h"
#include "duilib_win32/Win32Window.h"

namespace DuiLib {

namespace {

unsigned KeyModifiers() {
    unsigned modifiers = 0;
    if (GetKeyState(VK_SHIFT) < 0) modifiers |= UIMOD_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) modifiers |= UIMOD_CONTROL;
    if (GetKeyState(VK_MENU) < 0) modifiers |= UIMOD_ALT;
    return modifiers;
}

}  // namespace

LRESULT CALLBACK Win32WindowBackend::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* backend = static_cast<Win32WindowBackend*>(create->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(backend));
        backend->m_hwnd = hwnd;  // GetHWND() answers from here on, WM_CREATE included
    }
    auto* backend = reinterpret_cast<Win32WindowBackend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!backend) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return backend->HandleNative(message, wParam, lParam);
}

LRESULT Win32WindowBackend::ToOwner(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_live || !m_owner) {
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
    return m_owner->HandleMessage(message, wParam, lParam);
}

LRESULT Win32WindowBackend::HandleNative(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (m_live && HandleInput(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
        case WM_CREATE: {
            if (CPaintManagerUI* manager = Manager()) {
                manager->SetScale(GetDpiScale());
            }
            CPaintManagerUI::SetSystemColors(Win32System::ReadColors());
            m_live = true;
            return ToOwner(WM_CREATE, 0, 0) == -1 ? -1 : 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the back buffer covers every pixel
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) {
                if (CPaintManagerUI* manager = Manager()) {
                    manager->Layout(LOWORD(lParam), HIWORD(lParam));
                }
                Invalidate();
            }
            return ToOwner(message, wParam, lParam);
        case WM_NCHITTEST:
            return OnNcHitTest(lParam);
        case WM_TIMER:
            return ToOwner(WM_TIMER, wParam, 0);
        case WM_DPICHANGED:
            OnDpiChanged(wParam, lParam);
            return 0;
        case WM_GETOBJECT:
            if (m_live && m_accessible.OnGetObject(m_hwnd, Manager(), wParam, lParam, result)) {
                return result;
            }
            return ToOwner(message, wParam, lParam);
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            // High contrast switched, or the scheme's colours changed.
            CPaintManagerUI::SetSystemColors(Win32System::ReadColors());
            return ToOwner(message, wParam, lParam);
        case WM_DESTROY: {
            const bool live = m_live;
            m_live = false;
            m_accessible.Disconnect();  // before the tree may go
            if (live && m_owner) {
                m_owner->HandleMessage(WM_DESTROY, 0, 0);
            }
            return 0;
        }
        case WM_NCDESTROY:
            DefWindowProcW(m_hwnd, message, wParam, lParam);
            OnNativeDestroyed();  // may delete this
            return 0;
        default:
            return ToOwner(message, wParam, lParam);
    }
}

// WM_MOUSELEAVE is asked for only while the control under the pointer cares: a
// standing request keeps Wine checking the pointer on a timer (every hover time,
// 400 ms by default) for as long as it rests on the window.
void Win32WindowBackend::TrackMouseLeave(bool wanted) {
    if (wanted == m_trackingLeave) {
        return;
    }
    TRACKMOUSEEVENT track = {sizeof(track), wanted ? TME_LEAVE : (TME_LEAVE | TME_CANCEL), m_hwnd,
                             0};
    if (TrackMouseEvent(&track)) {
        m_trackingLeave = wanted;
    }
}

bool Win32WindowBackend::HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    CPaintManagerUI* manager = Manager();
    if (!manager) {
        return false;
    }
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    result = 0;
    switch (message) {
        case WM_MOUSEMOVE:
            manager->OnMouseMove(x, y);
            if (CPaintManagerUI* after = Manager()) {
                TrackMouseLeave(after->WantsMouseLeave());
            }
            return true;
        case WM_MOUSELEAVE:
            m_trackingLeave = false;
            manager->OnMouseLeaveWindow();
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetCapture(m_hwnd);
            m_capturing = true;
            manager->OnButtonDown(x, y);
            return true;
        case WM_LBUTTONUP:
            m_capturing = false;
            if (GetCapture() == m_hwnd) {
                ReleaseCapture();
            }
            manager->OnButtonUp(x, y);  // may close or even delete the window
            return true;
        case WM_CAPTURECHANGED:
            if (m_capturing) {
                // Another window took the mouse mid-press: the press ends outside
                // every control, so it clicks nothing and leaves no control hot.
                m_capturing = false;
                manager->OnButtonUp(-1, -1);
            }
            return true;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // Bit 30: the key was already down (auto-repeat). Unused keys go on
            // to DefWindowProc (Alt+F4, Alt+Space).
            return manager->OnKeyDown(static_cast<unsigned>(wParam), KeyModifiers(),
                                      (lParam & (1 << 30)) != 0);  // may close the window
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return manager->OnKeyUp(static_cast<unsigned>(wParam), KeyModifiers());
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            manager->OnWindowFocus(message == WM_SETFOCUS);
            return true;
        case WM_MOUSEWHEEL: {
            POINT pt = {x, y};  // screen coordinates for this message
            ScreenToClient(m_hwnd, &pt);
            manager->OnMouseWheel(pt.x, pt.y, GET_WHEEL_DELTA_WPARAM(wParam));
            return true;
        }
        default:
            return false;
    }
}

LRESULT Win32WindowBackend::OnNcHitTest(LPARAM lParam) {
    CPaintManagerUI* manager = Manager();
    if (!manager || ::IsIconic(m_hwnd)) {
        return DefWindowProcW(m_hwnd, WM_NCHITTEST, 0, lParam);
    }
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(m_hwnd, &pt);
    // A press on the caption area (but not on a button or link there) drags the window.
    return manager->HitTestCaption(pt.x, pt.y) ? HTCAPTION : HTCLIENT;
}

void Win32WindowBackend::OnPaint() {
    m_paintPending = false;  // what changes from here on asks for the next paint
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hwnd, &paint);
    RECT client;
    GetClientRect(m_hwnd, &client);
    CPaintManagerUI* manager = Manager();
    if (dc && manager && client.right > 0 && client.bottom > 0) {
        manager->Layout(client.right, client.bottom);
        CRenderList list;
        manager->Paint(list);
        m_painter.Paint(dc, client.right, client.bottom, list, paint.rcPaint);
    }
    EndPaint(m_hwnd, &paint);
}

void Win32WindowBackend::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    if (CPaintManagerUI* manager = Manager()) {
        manager->SetScale(Win32Dpi::ScalePercent(LOWORD(wParam)));
    }
    // The system's suggestion keeps the window's physical size in step with the new DPI.
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

}  // namespace DuiLib
