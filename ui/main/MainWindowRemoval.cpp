// Cumulative updates: the confirmation, the start of a removal through the
// servicing stack, its progress, the restart bar, and a close or a session end
// that waits for the removal.
#include <new>

#include "hotfix/WindowsHotfixHelper.h"
#include "support/KtLogger.h"
#include "ui/ComposedText.h"
#include "ui/SharedConstants.h"
#include "ui/confirm/CumulativeConfirmDialog.h"
#include "ui/item/HotfixManageItemDetail.h"
#include "ui/main/MainWindow.h"

using namespace DuiLib;

WindowsHotfix::RemovalPlan MainWindow::PlanOf(const std::wstring& hotfixId) const {
    auto found = m_removalPlans.find(hotfixId);
    return found == m_removalPlans.end() ? WindowsHotfix::RemovalPlan{} : found->second;
}

// UI thread; blocks in the dialog's modal loop, then deletes the dialog.
bool MainWindow::ConfirmCumulativeRemoval(const std::wstring& hotfixId) {
    const bool cumulative = PlanOf(hotfixId).route == WindowsHotfix::RemovalRoute::Cumulative;
    CumulativeConfirmDialog* dialog =
        new (std::nothrow) CumulativeConfirmDialog(hotfixId, cumulative);
    if (dialog == nullptr) {
        KT_LOG(LOG_ERROR, L"create confirm dialog fail!", "MainWindow::ConfirmCumulativeRemoval");
        return false;
    }
    if (dialog->Create(GetHWND(), L"", WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, nullptr) == nullptr) {
        KT_LOG(LOG_ERROR, L"create confirm dialog window fail!",
               "MainWindow::ConfirmCumulativeRemoval");
        delete dialog;
        return false;
    }
    dialog->CenterToParentWindow();
    const UINT answer = dialog->ShowModal();
    delete dialog;
    KT_LOG(LOG_ERROR, L"confirm " << hotfixId << L" answer:" << answer,
           "MainWindow::ConfirmCumulativeRemoval");
    return answer == CumulativeConfirmDialog::kUninstall;
}

bool MainWindow::StartCumulativeRemoval(HotfixManageItemDetail* row, const std::wstring& hotfixId) {
    const std::wstring package = PlanOf(hotfixId).package;
    if (package.empty() || row->IsPermanent() || !ConfirmCumulativeRemoval(hotfixId)) {
        return false;
    }
    // The list may have been rebuilt while the dialog ran: act on the row it has now.
    row = FindRow(hotfixId);
    if (row == nullptr || m_alive->window == nullptr) {
        return false;
    }
    m_removingPackage = true;
    HoldSessionEnd(true);
    row->StartPackageRemoval(package);
    return true;
}

// Uninstall worker thread: queue only; the bar limits its own repaints.
void MainWindow::RemovalProgressUICallback(const std::shared_ptr<AliveToken>& alive, int percent) {
    UIMainQueue::getInstance()->dispatch([alive, percent] {
        MainWindow* window = alive->window;
        if (window == nullptr || !window->m_removingPackage) return;
        if (HotfixManageItemDetail* row = window->FindRow(window->m_curHotfixName)) {
            row->ShowRemovalProgress(percent);
        }
    });
}

void MainWindow::OnProgressShown(TNotifyUI& msg) {
    HotfixManageItemDetail* row = FindRow(m_curHotfixName);
    if (row != nullptr && msg.pSender != nullptr && msg.pSender == row->ProgressBar()) {
        row->OnProgressShown();
    }
}

void MainWindow::EndPackageRemoval() {
    if (!m_removingPackage) {
        return;
    }
    m_removingPackage = false;
    HoldSessionEnd(false);
    if (m_closeRequested) {
        CloseAndQuit();
    }
}

void MainWindow::HoldSessionEnd(bool hold) {
    const BOOL done =
        hold ? WindowApi::ShutdownBlockReasonCreate(
                   GetHWND(), UICulture::GetInstance()->GetString(L"IDS_SHUTDOWN_BLOCK_REASON"))
             : WindowApi::ShutdownBlockReasonDestroy(GetHWND());
    if (!done) {
        KT_LOG(LOG_ERROR, L"shutdown block reason " << (hold ? L"create" : L"destroy") << L" fail",
               "MainWindow::HoldSessionEnd");
    }
}

bool MainWindow::DeferCloseForRemoval() {
    if (!m_removingPackage) {
        return false;
    }
    if (!m_closeRequested) {
        m_closeRequested = true;
        KT_LOG(LOG_ERROR, L"close waits for the package removal",
               "MainWindow::DeferCloseForRemoval");
        if (CControlUI* notice = m_PaintManager.FindControl(L"closingNoticeBar")) {
            notice->SetVisible(true);
        }
    }
    return true;
}

void MainWindow::ShowRestartBar() {
    CControlUI* bar = m_PaintManager.FindControl(RESTART_BAR);
    if (bar == nullptr) {
        KT_LOG(LOG_ERROR, L"restart bar control is null", "MainWindow::ShowRestartBar");
        return;
    }
    bar->SetVisible(true);
    // Only installations wait: the restart finishes those (a failed restart's text stays).
    CControlUI* text = m_PaintManager.FindControl(RESTART_BAR_TEXT);
    if (text != nullptr && !m_restartFailed) {
        const bool installsOnly = m_installWaitsForRestart && !m_removalWaitsForRestart;
        text->SetText(UICulture::GetInstance()->GetString(
            installsOnly ? L"IDS_RESTART_BAR_INSTALL_TEXT" : L"IDS_RESTART_BAR_TEXT"));
    }
}

void MainWindow::OnClickRestartNow() {
    // The service logs a failure with its code; the bar shows it.
    const uint32_t error = WindowsHotfix::WindowsHotfixHelper::GetInstance()->RestartWindows();
    if (error == 0) {
        return;
    }
    CControlUI* text = m_PaintManager.FindControl(RESTART_BAR_TEXT);
    if (text != nullptr) {
        m_restartFailed = true;
        text->SetText(ComposedText(L"IDS_RESTART_FAILED", std::to_wstring(error)).c_str());
    }
}
