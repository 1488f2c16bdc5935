// WindowImplBase: a window whose content is a layout file; routes its
// notifications through the message maps.
#include "duilib/UIBackend.h"
#include "duilib/UIDialogBuilder.h"
#include "duilib/UIWindow.h"
#include "support/KtLogger.h"

namespace DuiLib {

DUI_BEGIN_MESSAGE_MAP(WindowImplBase, CNotifyPump)
DUI_ON_MSGTYPE(L"click", WindowImplBase::OnClick)
DUI_END_MESSAGE_MAP()

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase() {
    // The backend outlives this part of the object (CWindowWnd deletes it).
    if (m_backend) m_backend->DetachOwner();
    m_PaintManager.SetBackend(nullptr);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
    if (!msg.pSender) return;
    const CDuiString name = msg.pSender->GetName();
    if (name == L"closebtn") {
        Close(0);
    } else if (name == L"minbtn") {
        SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
}

LRESULT WindowImplBase::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                            BOOL& bHandled) {
    return 0;
}

void WindowImplBase::Notify(TNotifyUI& msg) {
    NotifyPump(msg);
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    return 0;
}

CControlUI* WindowImplBase::CreateControl(LPCTSTR className) {
    return nullptr;
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    LRESULT result = HandleCustomMessage(uMsg, wParam, lParam, handled);
    if (handled) return result;
    bool filtered = false;
    result = m_PaintManager.FilterMessage(uMsg, wParam, lParam, filtered);
    if (filtered) return result;
    switch (uMsg) {
        case WM_CREATE:
            return OnCreate();
        case WM_CLOSE:
            if (m_backend) m_backend->Destroy(static_cast<UINT>(wParam));
            return 0;
        case WM_DESTROY:
            m_PaintManager.SetBackend(nullptr);
            return 0;
        case WM_TIMER:
            m_PaintManager.OnTimer(static_cast<int>(wParam));
            return 0;
        default:
            return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
}

LRESULT WindowImplBase::OnCreate() {
    m_PaintManager.Init(GetHWND());
    m_PaintManager.SetBackend(m_backend);
    m_PaintManager.SetScale(m_backend ? m_backend->GetDpiScale() : 100);
    m_PaintManager.AddNotifier(this);
    m_PaintManager.AddMessageFilter(this);
    const CDuiString skin = GetSkinFile();
    CDialogBuilder builder;
    CControlUI* root = builder.Create(skin.GetData(), nullptr, this, &m_PaintManager);
    if (!root) {
        KT_LOG(LOG_ERROR, "window layout cannot be built:" << skin.str(),
               "WindowImplBase::OnCreate");
        return -1;
    }
    m_PaintManager.AttachDialog(root);
    UISize size = m_PaintManager.GetInitSize();
    if (m_backend && size.cx > 0 && size.cy > 0) {
        m_backend->Resize(m_PaintManager.ScaleValue(size.cx), m_PaintManager.ScaleValue(size.cy));
    }
    InitWindow();
    return 0;
}

}  // namespace DuiLib
