// The list of hotfix rows: building it on the UI thread and releasing it at close.
#include <new>

#include "support/KtLogger.h"
#include "ui/SharedConstants.h"
#include "ui/item/HotfixManageItemDetail.h"
#include "ui/main/MainWindow.h"

using namespace DuiLib;

namespace {
const int kRowHeight = 64;  // unscaled, per row
}

void MainWindow::UpdateContainer() {
    CContainerUI* container = dynamic_cast<CContainerUI*>(m_PaintManager.FindControl(HOTFIX_LIST));
    if (container == nullptr) {
        KT_LOG(LOG_ERROR, L"containerInstalledHotfix control is null!",
               "MainWindow::UpdateContainer");
        return;
    }
    // Rows of an earlier build point at the controls RemoveAll destroys: drop them first.
    DeleteRows();
    static_cast<IContainerUI*>(container)->RemoveAll();
    std::shared_ptr<AliveToken> alive = m_alive;
    UIMainQueue::getInstance()->dispatch([alive, container] {
        if (MainWindow* window = alive->window) {
            window->BuildRows(container);
        }
    });
}

// UI thread, queued by UpdateContainer; the container lives as long as the window.
void MainWindow::BuildRows(CContainerUI* container) {
    // A screen reader hears of the new rows once, as one change of the list.
    UIChangeBatch batch(m_PaintManager);
    const int count = static_cast<int>(m_hotfixInfos.size());
    std::vector<std::wstring> dates;
    for (const HotfixInfo& info : m_hotfixInfos) dates.push_back(info.InstalledOn);
    const SlashDates order = SlashOrderOf(dates);
    for (int i = 0; i < count; ++i) {
        const HotfixInfo info = m_hotfixInfos[i];
        HotfixManageItemDetail* row = new (std::nothrow) HotfixManageItemDetail(info, order);
        if (row == nullptr) {
            KT_LOG(LOG_ERROR, L"new itemUi is null!", "MainWindow::UpdateContainer::BuildRows");
            continue;
        }
        m_createdItems.emplace_back(row);
        row->InitItemLayout(container);
        row->SetContent(info, i == count - 1);
        if (m_routesKnown) {
            ApplyRoute(*row);
        }
        m_itemMap[info.HotFixID] = row;
    }
    // Unscaled, one part a row: the list is as tall as its rows at whatever scale
    // the window moves to, also where a row's height is not a whole number of pixels.
    container->SetLayoutFixedHeight(kRowHeight, count);
    StartTitlesRead();
}

void MainWindow::ApplyRoute(HotfixManageItemDetail& row) {
    using WindowsHotfix::RemovalRoute;
    if (!row.HasButton()) {
        return;  // a row whose layout has no button offers nothing either way
    }
    // A pending removal or installation is finished by the restart the bar offers.
    const auto waitForRestart = [this](bool& waits) {
        waits = true;
        ShowRestartBar();
    };
    const WindowsHotfix::RemovalPlan plan = PlanOf(row.HotfixId());
    switch (plan.route) {
        case RemovalRoute::Permanent:
            row.ShowPermanentStatusUI();
            break;
        case RemovalRoute::Checkpoint:
            row.ShowCheckpointUI(plan.newerUpdate);
            break;
        case RemovalRoute::RemovalPending:
            row.ShowRemovalPendingUI();
            waitForRestart(m_removalWaitsForRestart);
            break;
        case RemovalRoute::InstallPending:
            row.ShowInstallPendingUI();
            waitForRestart(m_installWaitsForRestart);
            break;
        case RemovalRoute::Installer:
        case RemovalRoute::Cumulative:
        case RemovalRoute::Package:
            break;  // the button stays as the list built it
    }
}

void MainWindow::DeleteRows() {
    m_itemMap.clear();
    // Every created row, the earlier one of a duplicated HotFixID included.
    m_createdItems.clear();
}

void MainWindow::ReleaseItems() {
    DeleteRows();
    m_hotfixInfos.clear();
    m_removalPlans.clear();
}

HotfixManageItemDetail* MainWindow::RowContaining(const CControlUI* control) const {
    for (const CControlUI* c = control; c != nullptr; c = c->GetParent()) {
        for (const auto& row : m_createdItems) {
            if (row->Root() == c) return row.get();
        }
    }
    return nullptr;
}
