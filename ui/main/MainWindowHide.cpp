// Hiding updates from Windows Update: a removed row's link (search, find its KB,
// hide it), the Hide updates dialog, and one operation at a time: a search and
// an uninstall never run together. The worker's answers come back through the
// alive token and a serial, so a cancelled or closed operation's late answer
// touches nothing.
#include <new>

#include "hotfix/KbNumber.h"
#include "hotfix/UninstallCodes.h"
#include "hotfix/UpdateHiding.h"
#include "support/KtLogger.h"
#include "ui/ComposedText.h"
#include "ui/hide/HideUpdatesDialog.h"
#include "ui/item/HotfixManageItemDetail.h"
#include "ui/main/MainWindow.h"

using namespace DuiLib;
using WindowsHotfix::HideOutcome;

namespace {

std::wstring OutcomeWords(HideOutcome outcome, uint32_t result) {
    const wchar_t* key = WindowsHotfix::TextKeyOf(outcome);
    return key ? ComposedText(key, WindowsHotfix::HexCode(result).substr(2)) : std::wstring();
}

}  // namespace

void MainWindow::StartRowHiding(HotfixManageItemDetail& row) {
    if (m_updateWork != nullptr) {
        if (m_hidingRow == row.HotfixId()) {  // the link reads "Cancel" meanwhile (and Esc)
            KT_LOG(LOG_ERROR, L"cancel windows update search of " << m_hidingRow,
                   "MainWindow::StartRowHiding");
            StopAskingWindowsUpdate();
            row.ShowHideOutcome(L"");
        }
        return;
    }
    const std::wstring number = ExtractKbNumber(row.HotfixId());
    if (m_uninstallRunning || number.empty()) {
        return;
    }
    const unsigned serial = ++m_updateSerial;
    std::shared_ptr<AliveToken> alive = m_alive;
    WindowsHotfix::WindowsUpdateWorker::Callbacks callbacks;
    callbacks.searched = [alive, serial](uint32_t result,
                                         std::vector<WinApi::OfferedUpdate> found) {
        UIMainQueue::getInstance()->dispatch([alive, serial, result, found]() mutable {
            if (MainWindow* window = alive->window) {
                window->OnRowSearched(serial, result, std::move(found));
            }
        });
    };
    callbacks.flagSet = [alive, serial](size_t, bool, uint32_t result) {
        UIMainQueue::getInstance()->dispatch([alive, serial, result] {
            if (MainWindow* window = alive->window) window->OnRowFlagSet(serial, result);
        });
    };
    KT_LOG(LOG_ERROR, L"hide " << row.HotfixId() << L" from windows update",
           "MainWindow::StartRowHiding");
    m_updateWork = WindowsHotfix::WindowsUpdateWorker::Start(WindowsHotfix::kOfferedUpdatesCriteria,
                                                             std::move(callbacks));
    if (m_updateWork == nullptr) {
        return;  // logged; the row keeps its link
    }
    m_hidingRow = row.HotfixId();
    m_hidingUpdate = {};
    row.ShowHideSearching();
    m_PaintManager.SetCancelControl((L"hideFromUpdateLink" + m_hidingRow).c_str());
    UpdateActionsEnabled();
}

void MainWindow::OnRowSearched(unsigned serial, uint32_t result,
                               std::vector<WinApi::OfferedUpdate> found) {
    if (serial != m_updateSerial || m_updateWork == nullptr) {
        return;  // cancelled meanwhile
    }
    HideOutcome outcome = WindowsHotfix::OutcomeOfSearch(result);
    if (outcome == HideOutcome::kDone) {
        const int index = WindowsHotfix::FindOfferedUpdate(found, ExtractKbNumber(m_hidingRow));
        if (index < 0) {
            outcome = HideOutcome::kNotOffered;
        } else if (!found[index].hidden) {
            m_hidingUpdate = found[index];
            m_updateWork->SetHidden(static_cast<size_t>(index), true);
            return;
        }  // hidden already: nothing more to ask
    }
    KT_LOG(LOG_ERROR, L"hide " << m_hidingRow << L" search ends:" << WindowsHotfix::HexCode(result),
           "MainWindow::OnRowSearched");
    EndRowHiding(outcome, result);
}

void MainWindow::OnRowFlagSet(unsigned serial, uint32_t result) {
    if (serial != m_updateSerial || m_updateWork == nullptr) {
        return;
    }
    const HideOutcome outcome = WindowsHotfix::OutcomeOfHide(result, m_hidingUpdate);
    KT_LOG(LOG_ERROR, L"hide " << m_hidingRow << L" ret:" << WindowsHotfix::HexCode(result),
           "MainWindow::OnRowFlagSet");
    EndRowHiding(outcome, result);
}

void MainWindow::EndRowHiding(HideOutcome outcome, uint32_t result) {
    const std::wstring hotfixId = m_hidingRow;
    StopAskingWindowsUpdate();
    if (HotfixManageItemDetail* row = FindRow(hotfixId)) {
        row->ShowHideOutcome(OutcomeWords(outcome, result));
    }
}

void MainWindow::StopAskingWindowsUpdate() {
    if (m_updateWork == nullptr) {
        return;
    }
    m_updateWork->Stop();
    m_updateWork.reset();
    ++m_updateSerial;
    m_hidingRow.clear();
    m_PaintManager.SetCancelControl(L"");
    UpdateActionsEnabled();
}

void MainWindow::UpdateActionsEnabled() {
    const bool asking = m_updateWork != nullptr;
    HotfixManageItemDetail* hiding = asking ? FindRow(m_hidingRow) : nullptr;
    for (const auto& row : m_createdItems) {
        // While an uninstall runs its own rule keeps the buttons.
        if (!m_uninstallRunning) row->UpdateItemDisableStatus(!asking);
        row->SetHidingEnabled(!m_uninstallRunning && (!asking || row.get() == hiding));
    }
    if (CControlUI* button = m_PaintManager.FindControl(HIDE_UPDATES_BUTTON)) {
        button->SetEnabled(!asking && !m_uninstallRunning);
    }
}

// UI thread; blocks in the dialog's modal loop, then deletes the dialog.
void MainWindow::ShowHideUpdatesDialog() {
    if (m_updateWork != nullptr || m_uninstallRunning) {
        return;  // its button is disabled meanwhile
    }
    HideUpdatesDialog* dialog = new (std::nothrow) HideUpdatesDialog();
    if (dialog == nullptr) {
        KT_LOG(LOG_ERROR, L"create hide updates dialog fail!", "MainWindow::ShowHideUpdatesDialog");
        return;
    }
    if (dialog->Create(GetHWND(), L"", WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, nullptr) == nullptr) {
        KT_LOG(LOG_ERROR, L"create hide updates dialog window fail!",
               "MainWindow::ShowHideUpdatesDialog");
        delete dialog;
        return;
    }
    dialog->CenterToParentWindow();
    dialog->ShowModal();
    delete dialog;
}
