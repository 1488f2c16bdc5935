// The window frame: overrides, message map, initialisation, title-bar clicks, closing, scale.
#include <functional>

#include "hotfix/WindowsHotfixHelper.h"
#include "support/KtLogger.h"
#include "ui/SharedConstants.h"
#include "ui/hide/HideUpdatesDialog.h"
#include "ui/item/HotfixManageItemDetail.h"
#include "ui/main/MainWindow.h"

using namespace DuiLib;

DUI_BEGIN_MESSAGE_MAP(MainWindow, CNotifyPump)
DUI_ON_MSGTYPE(L"click", MainWindow::OnClick)
DUI_ON_MSGTYPE(L"link", MainWindow::OnLink)
DUI_ON_MSGTYPE(L"mouseenter", MainWindow::OnMouseEnter)
DUI_ON_MSGTYPE(L"mouseleave", MainWindow::OnMouseLeave)
DUI_ON_MSGTYPE(L"setfocus", MainWindow::OnTipFocus)
DUI_ON_MSGTYPE(L"killfocus", MainWindow::OnTipFocus)
DUI_ON_MSGTYPE(L"valuechanged", MainWindow::OnProgressShown)
DUI_END_MESSAGE_MAP()

MainWindow::MainWindow() : m_alive(std::make_shared<AliveToken>()) {
    m_alive->window = this;
}

LPCTSTR MainWindow::GetWindowClassName() const {
    return MAIN_WINDOW_CLASS;
}

MainWindow::~MainWindow() {
    // Late closures of a load or an uninstall must find no window.
    m_alive->window = nullptr;
    if (m_updateWork) m_updateWork->Stop();
}

CDuiString MainWindow::GetSkinFile() {
    return CDuiString(MAIN_WINDOW_LAYOUT);
}

void MainWindow::InitWindow() {
    WindowApi::SetWindowTextW(GetHWND(), MAIN_WINDOW_TITLE);
    m_pLoadWaitAnimate = dynamic_cast<CAnimPanelUI*>(m_PaintManager.FindControl(LOADING_ANIMATION));
    m_pLoadingHotfixLayout = m_PaintManager.FindControl(LOADING_VIEW);
    m_pLoadHotfixFailLayout = m_PaintManager.FindControl(LOAD_FAIL_VIEW);
    m_pLoadHotfixFinishLayout = m_PaintManager.FindControl(RESULT_VIEW);
    m_pLoadHotfixFailText = m_PaintManager.FindControl(LOAD_FAIL_TEXT);
    m_pHotfixFirstTitle = m_PaintManager.FindControl(COUNT_TITLE);
    m_pBtnUninstallTip = m_PaintManager.FindControl(TIP_BUTTON);
    m_pHotfixDiscribeLayout = m_PaintManager.FindControl(TIP_PANEL);
    if (!m_pLoadWaitAnimate || !m_pLoadingHotfixLayout || !m_pLoadHotfixFailLayout ||
        !m_pLoadHotfixFinishLayout || !m_pLoadHotfixFailText || !m_pHotfixFirstTitle ||
        !m_pBtnUninstallTip || !m_pHotfixDiscribeLayout) {
        KT_LOG(LOG_ERROR, L"main form control is null!", "MainWindow::InitWindow");
        return;
    }
    // The callback holds the token, not the window: the service keeps it after we close.
    std::shared_ptr<AliveToken> alive = m_alive;
    WindowsHotfix::WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(
        [alive](UninstallStatus status) { UnstallStatusUICallback(alive, status); });
    WindowsHotfix::WindowsHotfixHelper::GetInstance()->SetUninstallReasonCallback(
        [alive](const WindowsHotfix::UninstallReason& reason) {
            UninstallReasonUICallback(alive, reason);
        });
    WindowsHotfix::WindowsHotfixHelper::GetInstance()->SetUninstallProgressCallback(
        [alive](int percent) { RemovalProgressUICallback(alive, percent); });
    StartLoadHotfix();
}

void MainWindow::OnClick(TNotifyUI& msg) {
    if (msg.pSender == nullptr) {
        KT_LOG(LOG_ERROR, L"msg pSender is null", "MainWindow::OnClick");
        return;
    }
    const std::wstring name = msg.pSender->GetName().str();
    if (name.find(UNINSTALL_BUTTON_PREFIX) != std::wstring::npos) {
        OnClickRowButton(name);
        return;
    }
    if (name == CLOSE_BUTTON) {
        CloseAndQuit();
    } else if (name == MIN_BUTTON) {
        SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == ABOUT_BUTTON) {
        ShowAboutForm();
    } else if (name == RESTART_NOW_BUTTON) {
        OnClickRestartNow();
    } else if (name == TIP_BUTTON) {
        OnClickTip();
    } else if (name == HIDE_UPDATES_BUTTON) {
        ShowHideUpdatesDialog();
    } else if (HotfixManageItemDetail* row = RowContaining(msg.pSender)) {
        row->HandleNotification(msg);
    }
}

LRESULT MainWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    // A sign-out or shutdown waits for a package removal (the block reason says why).
    if (uMsg == WM_QUERYENDSESSION && m_removingPackage) {
        bHandled = TRUE;
        return FALSE;
    }
    if (uMsg == WM_CLOSE || uMsg == WM_QUIT) {
        // Kept open: it closes itself when the removal ends.
        if (DeferCloseForRemoval()) {
            bHandled = TRUE;
            return 0;
        }
        CloseAndQuit();
    }
    return 0;
}

void MainWindow::CloseAndQuit() {
    if (DeferCloseForRemoval()) {
        return;
    }
    StopAskingWindowsUpdate();  // aborts a running search; nothing waits for it
    ReleaseItems();
    if (m_alive->window == nullptr) {
        // The close request of a close already under way, coming back as a message.
        return;
    }
    m_alive->window = nullptr;
    Close(1);
    WindowApi::PostQuitMessage(0);
}

float MainWindow::GetScaleFactor() {
    const unsigned percent = CResourceManager::GetInstance()->GetScale(&m_PaintManager);
    const float factor = static_cast<float>(percent) / 100.0f;
    return factor > 0.0f ? factor : 1.0f;
}
