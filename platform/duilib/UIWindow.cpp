// CWindowWnd: the core side of one native window; everything native goes
// through its CWindowBackend.
#include "duilib/UIWindow.h"

#include "duilib/UIBackend.h"
#include "support/KtLogger.h"

namespace DuiLib {

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() {
    if (!m_backend) return;
    m_backend->DetachOwner();
    delete m_backend;  // destroys a native window that still exists, silently
    m_backend = nullptr;
}

HWND CWindowWnd::GetHWND() const {
    return m_backend ? m_backend->GetHWND() : nullptr;
}

HWND CWindowWnd::Create(HWND parent, LPCTSTR name, unsigned long style, unsigned long exStyle,
                        int x, int y, int cx, int cy, void* menu) {
    if (GetHWND()) {
        KT_LOG(LOG_ERROR, "window already created", "CWindowWnd::Create");
        return GetHWND();
    }
    if (!m_backend) m_backend = Backend::CreateWindowBackend(this);
    UIWindowCreateInfo info;
    info.parent = parent;
    info.className = GetWindowClassName() ? GetWindowClassName() : L"";
    info.title = name ? name : L"";
    info.style = style;
    info.exStyle = exStyle;
    info.x = x;
    info.y = y;
    info.cx = cx;
    info.cy = cy;
    HWND window = m_backend->Create(info);
    if (!window)
        KT_LOG(LOG_ERROR, "native window creation failed:" << info.className, "CWindowWnd::Create");
    return window;
}

void CWindowWnd::CenterWindow() {
    if (GetHWND()) m_backend->CenterOnScreen();
}

void CWindowWnd::CenterToParentWindow() {
    if (GetHWND()) m_backend->CenterOnParent();
}

void CWindowWnd::SetIcon(UINT resourceId) {
    if (GetHWND()) m_backend->SetIcon(resourceId);
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (GetHWND()) m_backend->Show(show, takeFocus);
}

UINT CWindowWnd::ShowModal() {
    // Without a native window no close could ever end the loop.
    if (!GetHWND()) {
        KT_LOG(LOG_ERROR, "no native window to show", "CWindowWnd::ShowModal");
        return 0;
    }
    return m_backend->RunModal();
}

void CWindowWnd::Close(UINT code) {
    if (GetHWND()) m_backend->Close(code);
}

LRESULT CWindowWnd::SendMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return GetHWND() ? m_backend->Send(uMsg, wParam, lParam) : 0;
}

LRESULT CWindowWnd::PostMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return (GetHWND() && m_backend->Post(uMsg, wParam, lParam)) ? 1 : 0;
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return m_backend ? m_backend->DefaultProc(uMsg, wParam, lParam) : 0;
}

void CWindowWnd::OnFinalMessage(HWND window) {}

}  // namespace DuiLib
