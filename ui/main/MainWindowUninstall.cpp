// One uninstall at a time: the row-button click, disabling the other rows, routing the
// outcome back to the UI thread, and the tip button's hover, keyboard focus and press.
#include "support/KtLogger.h"
#include "ui/SharedConstants.h"
#include "ui/item/HotfixManageItemDetail.h"
#include "ui/item/UninstallOutcomes.h"
#include "ui/main/MainWindow.h"

using namespace DuiLib;

namespace {

bool FromTipButton(const TNotifyUI& msg) {
    return msg.pSender != nullptr && msg.pSender->GetName() == TIP_BUTTON;
}
}  // namespace

HotfixManageItemDetail* MainWindow::FindRow(const std::wstring& hotfixId) const {
    auto found = m_itemMap.find(hotfixId);
    return found == m_itemMap.end() ? nullptr : found->second;
}

// The row-button branch of OnClick. Before the store read has said which route
// each row takes, the click is kept and carried out once it has; one click at a time.
void MainWindow::OnClickRowButton(const std::wstring& senderName) {
    if (!m_routesKnown && !m_clickBeforeRoutes.empty()) {
        return;  // the kept click goes first; this one changes nothing
    }
    const size_t at = senderName.find(UNINSTALL_BUTTON_PREFIX);
    m_curHotfixName = senderName.substr(at + UNINSTALL_BUTTON_PREFIX.size());
    KT_LOG(LOG_INFO, L"click hotfix name:" << m_curHotfixName, "MainWindow::OnClick");
    if (FindRow(m_curHotfixName) == nullptr) {
        return;
    }
    if (!m_routesKnown) {
        m_clickBeforeRoutes = m_curHotfixName;
        return;
    }
    StartRowRemoval(m_curHotfixName);
}

void MainWindow::StartRowRemoval(const std::wstring& hotfixId) {
    HotfixManageItemDetail* row = FindRow(hotfixId);
    if (row == nullptr || m_updateWork != nullptr) {
        return;
    }
    // A row that starts nothing stays idle, and so do the others: no status will come.
    const WindowsHotfix::RemovalPlan plan = PlanOf(hotfixId);
    const bool byPackage = plan.route == WindowsHotfix::RemovalRoute::Cumulative ||
                           plan.route == WindowsHotfix::RemovalRoute::Package;
    const bool started =
        byPackage ? StartCumulativeRemoval(row, hotfixId) : row->OnClickUninstall(hotfixId);
    if (!started) {
        return;
    }
    UpdateOtherDisableStatus(hotfixId);
    m_uninstallRunning = true;
    UpdateActionsEnabled();
}

void MainWindow::CarryOutClickBeforeRoutes() {
    if (m_clickBeforeRoutes.empty()) {
        return;
    }
    const std::wstring hotfixId = std::move(m_clickBeforeRoutes);
    m_clickBeforeRoutes.clear();
    // Queued on its own: a confirmation's modal loop then runs outside the routes' batch.
    std::shared_ptr<AliveToken> alive = m_alive;
    UIMainQueue::getInstance()->dispatch([alive, hotfixId] {
        if (MainWindow* window = alive->window) {
            window->StartRowRemoval(hotfixId);
        }
    });
}

void MainWindow::UpdateOtherDisableStatus(std::wstring itemName) {
    if (itemName.empty()) {
        KT_LOG(LOG_ERROR, L"itemName is empty", "MainWindow::UpdateOtherDisableStatus");
        return;
    }
    // Every other row, the earlier row of a duplicated HotFixID included, so that no
    // second uninstall can start while this one runs.
    HotfixManageItemDetail* running = FindRow(itemName);
    for (const auto& row : m_createdItems) {
        if (row.get() != running) {
            row->UpdateItemDisableStatus(false);
        }
    }
}

// Uninstall worker thread: log and queue; touches no window member and no control.
void MainWindow::UnstallStatusUICallback(const std::shared_ptr<AliveToken>& alive,
                                         UninstallStatus status) {
    KT_LOG(LOG_INFO, L"unstall status ui callback status:" << static_cast<int>(status),
           "MainWindow::UnstallStatusUICallback");
    UIMainQueue::getInstance()->dispatch([alive, status] {
        if (MainWindow* window = alive->window) {
            window->ShowUninstallStatus(status);
        }
    });
}

// Uninstall worker thread, just before the status: queued ahead of it.
void MainWindow::UninstallReasonUICallback(const std::shared_ptr<AliveToken>& alive,
                                           const WindowsHotfix::UninstallReason& reason) {
    UIMainQueue::getInstance()->dispatch([alive, reason] {
        if (MainWindow* window = alive->window) {
            window->m_nextReason = reason;
        }
    });
}

// UI thread: the row of the running uninstall shows the outcome and its reason, the
// others are enabled, and an outcome that wants a restart brings up the restart bar.
void MainWindow::ShowUninstallStatus(UninstallStatus status) {
    UIChangeBatch batch(m_PaintManager);
    const WindowsHotfix::UninstallReason reason = m_nextReason;
    m_nextReason = {};
    m_uninstallRunning = false;
    HotfixManageItemDetail* running = FindRow(m_curHotfixName);
    for (const auto& row : m_createdItems) {
        if (row.get() == running) {
            row->UnstallStatusUIChange(status);
            row->ShowUninstallReason(reason);
            if (status == UNINSTALL_SUCCESS) row->OfferHiding(true);
            if (status == UNINSTALL_NEED_RESTART) row->ExplainHidingAfterRestart();
        } else {
            row->UpdateItemDisableStatus(true);
        }
    }
    UpdateActionsEnabled();
    if (LookOf(status).needsRestart || reason.restartFirst) {
        m_removalWaitsForRestart = m_removalWaitsForRestart || LookOf(status).needsRestart;
        ShowRestartBar();
    }
    EndPackageRemoval();
}

// The tip button's hover shows the description panel; leaving it hides the panel.
void MainWindow::OnMouseEnter(TNotifyUI& msg) {
    if (!FromTipButton(msg)) return;
    KT_LOG(LOG_INFO, L"MainWindow OnMouseEnter btnUninstallTip!", "MainWindow::OnMouseEnter");
    if (m_pBtnUninstallTip != nullptr) SetDiscribeLayoutVisible(true);
}

void MainWindow::OnMouseLeave(TNotifyUI& msg) {
    if (!FromTipButton(msg)) return;
    KT_LOG(LOG_INFO, L"MainWindow OnMouseLeave btnUninstallTip!", "MainWindow::OnMouseLeave");
    m_tipPressed = false;
    UpdateTipVisible();
}

// The focus going to any other control takes a pressed tip away too, as a tip goes.
void MainWindow::OnTipFocus(TNotifyUI& msg) {
    if (msg.pSender == nullptr || m_pBtnUninstallTip == nullptr) return;
    if (msg.pSender != m_pBtnUninstallTip) {
        if (msg.sType == L"setfocus" && m_tipPressed) {
            m_tipPressed = false;
            UpdateTipVisible();
        }
        return;
    }
    if (msg.sType == L"killfocus") m_tipPressed = false;
    UpdateTipVisible();
}

void MainWindow::OnClickTip() {
    if (m_pBtnUninstallTip == nullptr) return;
    m_tipPressed = true;
    UpdateTipVisible();
}

bool MainWindow::TipFocusedByKeyboard() {
    return m_pBtnUninstallTip != nullptr && m_pBtnUninstallTip->HasFocus() &&
           m_PaintManager.IsFocusIndicatorShown();
}

void MainWindow::UpdateTipVisible() {
    if (m_pBtnUninstallTip == nullptr) return;
    // A press of the mouse focuses the button too; then hovering alone decides.
    SetDiscribeLayoutVisible(m_tipPressed || m_pBtnUninstallTip->IsHot() || TipFocusedByKeyboard());
}

void MainWindow::SetDiscribeLayoutVisible(bool visible) {
    if (m_pHotfixDiscribeLayout != nullptr) {
        m_pHotfixDiscribeLayout->SetVisible(visible);
    }
}
