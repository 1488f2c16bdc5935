// The Win32 side of one toolkit window (CWindowBackend): a borderless popup
// whose messages are translated into paint-manager input and core messages, and
// whose client area is painted from the core's draw list through a back buffer.
// Included by the duilib_win32/*_win.cpp files only.
#pragma once

#include <windows.h>

#include "duilib/UIBackend.h"
#include "duilib_win32/Win32Accessible.h"
#include "duilib_win32/Win32Painter.h"

namespace DuiLib {

class CPaintManagerUI;

class Win32WindowBackend final : public CWindowBackend {
public:
    explicit Win32WindowBackend(CWindowWnd* owner);
    ~Win32WindowBackend() override;

    HWND Create(const UIWindowCreateInfo& info) override;
    HWND GetHWND() const override { return m_hwnd; }
    void Show(bool show, bool takeFocus) override;
    UINT RunModal() override;
    void Close(UINT code) override;
    void Destroy(UINT modalResult) override;
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Post(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CenterOnScreen() override;
    void CenterOnParent() override;
    void SetIcon(UINT resourceId) override;
    void SetTitle(const std::wstring& title) override;
    std::wstring GetTitle() const override;
    void Resize(int cx, int cy) override;
    UISize GetClientSize() const override;
    void Invalidate() override;
    bool SetTimer(int timerId, unsigned elapseMs) override;
    void KillTimer(int timerId) override;
    unsigned GetDpiScale() const override;
    bool IsMinimized() const override;
    bool IsInputEnabled() const override;
    HWND GetOwner() const override { return m_hwnd ? GetWindow(m_hwnd, GW_OWNER) : nullptr; }
    void OnControlChanged(CControlUI* control, UIChange change) override {
        if (m_live) Win32Accessible::OnControlChanged(m_hwnd, control, change);
    }
    void OnAccessibleElementGone(int id) override { m_accessible.DisconnectElement(id); }
    void ShowToolTip(const std::wstring& text, const UIRect& anchor) override;
    bool CopyToClipboard(const std::wstring& text) override;
    void HideToolTip() override;
    void DetachOwner() override {
        m_accessible.Disconnect();
        m_owner = nullptr;
    }

    // The window procedure of every toolkit window class.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // A running RunModal's state lives on its stack, so the loop can tell that
    // this backend was deleted from inside a message it dispatched.
    struct ModalState {
        bool done = false;
        bool backendGone = false;
        UINT result = 0;
    };

    LRESULT HandleNative(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void TrackMouseLeave(bool wanted);
    LRESULT ToOwner(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(LPARAM lParam);
    void OnPaint();
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void OnNativeDestroyed();
    CPaintManagerUI* Manager() const;
    bool RegisterWindowClass(const std::wstring& className) const;
    void CenterIn(const RECT& area, const RECT& workArea);
    void ReleaseIcons();
    void EnableOwnerAgain();

    CWindowWnd* m_owner = nullptr;
    HWND m_hwnd = nullptr;
    bool m_live = false;             // from WM_CREATE to WM_DESTROY: messages go to the owner
    HWND m_disabledOwner = nullptr;  // the owner RunModal disabled, until re-enabled
    bool m_trackingLeave = false;
    bool m_capturing = false;     // between a button press and its release
    bool m_paintPending = false;  // the whole window is invalid until the next WM_PAINT
    UINT m_pendingResult = 0;     // the modal result given to Destroy
    ModalState* m_modal = nullptr;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    HWND m_toolTip =
        nullptr;  // the standard tooltip window, owned by m_hwnd (Win32ToolTip_win.cpp)
    Win32Painter m_painter;
    Win32Accessible m_accessible;  // what assistive technology is served
};

}  // namespace DuiLib
