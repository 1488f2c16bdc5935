// The background load of the installed hotfixes and the loading, failure and result views.
#include <system_error>

#include "hotfix/ServicingStore.h"
#include "hotfix/WindowsHotfixHelper.h"
#include "support/DetachedThreads.h"
#include "support/KtLogger.h"
#include "support/TextUtil.h"
#include "ui/item/HotfixManageItemDetail.h"
#include "ui/main/MainWindow.h"

using namespace DuiLib;

namespace {

struct TitlePlacement {
    int minCount;
    int titleWidth;           // unscaled; scaled by the window's factor
    const wchar_t* panelPos;  // "pos" of the description panel, unscaled
};

// By the number of digits of the count, largest first.
const TitlePlacement kTitlePlacements[] = {
    {1000, 84, L"162,25,468,157"},
    {100, 70, L"148,25,508,157"},
    {10, 62, L"140,25,500,157"},
    {0, 58, L"136,25,442,157"},
};

std::wstring LanguageText(LPCTSTR key) {
    return UICulture::GetInstance()->GetString(key).str();
}

}  // namespace

void MainWindow::StartLoadHotfix() {
    // The task works on its own copy of the list (as the last load left it) and hands
    // it back through the queue, so a window closed meanwhile is never written to.
    const unsigned serial = ++m_loadSerial;
    try {
        DetachedThreads::Start([alive = m_alive, list = m_hotfixInfos, serial]() mutable {
            LoadHotfixTask(alive, std::move(list), serial);
        });
    } catch (const std::system_error& error) {
        KT_LOG(LOG_ERROR, L"start load hotfix thread fail! ret:" << error.code().value(),
               "MainWindow::StartLoadHotfix");
    }
}

// Load thread: only the enumeration, its log line, the removal plans and the
// pending-restart check run here; every step that touches a control is queued to
// the UI thread, in order. The list goes first: the store read that decides each
// row's route follows it, and the rows take their routes when it ends.
void MainWindow::LoadHotfixTask(std::shared_ptr<AliveToken> alive, std::vector<HotfixInfo> list,
                                unsigned serial) {
    UIMainQueue* queue = UIMainQueue::getInstance();
    queue->dispatch([alive] {
        if (MainWindow* window = alive->window) {
            window->ShowLoadingHotFixesUI();
        }
    });
    const int result =
        WindowsHotfix::WindowsHotfixHelper::GetInstance()->GetInstalledHotFixes(list);
    KT_LOG(LOG_INFO, L"get install list ret:" << result, "MainWindow::StartLoadHotfix::LoadTask");
    queue->dispatch([alive, result, list]() mutable {
        if (MainWindow* window = alive->window) {
            window->FinishLoad(result, std::move(list));
        }
    });
    WindowsHotfix::RemovalPlans plans;
    if (result == 0) {
        plans = WindowsHotfix::ReadRemovalPlans(list);
    }
    const bool restartPending = WindowsHotfix::IsRestartPending();
    queue->dispatch([alive, plans = std::move(plans), restartPending, serial]() mutable {
        if (MainWindow* window = alive->window) {
            window->ApplyRemovalPlans(std::move(plans), restartPending, serial);
        }
    });
}

void MainWindow::FinishLoad(int result, std::vector<HotfixInfo> list) {
    m_hotfixInfos = std::move(list);
    m_removalPlans.clear();
    m_routesKnown = false;
    m_clickBeforeRoutes.clear();
    if (result != 0) {
        ShowHotFixesFailUI(result);
    } else {
        ShowHotFixesSuccessUI();
    }
}

// UI thread; the rows may not be built yet (BuildRows then applies the plans).
void MainWindow::ApplyRemovalPlans(WindowsHotfix::RemovalPlans plans, bool restartPending,
                                   unsigned serial) {
    if (restartPending) {
        ShowRestartBar();
    }
    if (serial != m_loadSerial) {
        return;  // the plans of a list that a later load replaced
    }
    m_removalPlans = std::move(plans);
    m_routesKnown = true;
    {
        // Every row's look at once: a screen reader hears it once.
        UIChangeBatch batch(m_PaintManager);
        for (const auto& row : m_createdItems) {
            ApplyRoute(*row);
        }
    }
    CarryOutClickBeforeRoutes();
}

void MainWindow::ShowLoadingHotFixesUI() {
    if (!m_pLoadWaitAnimate || !m_pLoadingHotfixLayout || !m_pLoadHotfixFailLayout ||
        !m_pLoadHotfixFinishLayout) {
        KT_LOG(LOG_ERROR, L"loading hotFixes control is null", "MainWindow::ShowLoadingHotFixesUI");
        return;
    }
    m_pLoadWaitAnimate->StartAnim();
    m_pLoadingHotfixLayout->SetVisible(true);
    m_pLoadHotfixFailLayout->SetVisible(false);
    m_pLoadHotfixFinishLayout->SetVisible(false);
}

void MainWindow::ShowHotFixesFailUI(int result) {
    if (!m_pLoadHotfixFailLayout || !m_pLoadHotfixFailText || !m_pLoadingHotfixLayout ||
        !m_pLoadWaitAnimate || !m_pLoadHotfixFinishLayout) {
        KT_LOG(LOG_ERROR, L"load hotFixes fail ui control is null",
               "MainWindow::ShowHotFixesFailUI");
        return;
    }
    m_pLoadWaitAnimate->StopAnim();
    m_pLoadHotfixFailLayout->SetVisible(true);
    m_pLoadingHotfixLayout->SetVisible(false);
    m_pLoadHotfixFinishLayout->SetVisible(false);
    std::wstring text;
    if (result == 1) {
        text = FormatString(LanguageText(L"IDS_HOTFIX_LOAD_FAIL"),
                            LanguageText(L"IDS_HOTFIX_LOAD_RETRY"), L"{0}");
    } else if (result == 2 || m_hotfixInfos.empty()) {
        text = LanguageText(L"IDS_NO_HOTFIX_INSTALL");
    }
    m_pLoadHotfixFailText->SetText(text.c_str());
}

void MainWindow::ShowHotFixesSuccessUI() {
    if (!m_pLoadWaitAnimate || !m_pLoadingHotfixLayout || !m_pLoadHotfixFinishLayout ||
        !m_pHotfixFirstTitle || !m_pLoadHotfixFailLayout || !m_pHotfixDiscribeLayout) {
        KT_LOG(LOG_ERROR, L"load hotFixes success ui control is null",
               "MainWindow::ShowHotFixesSuccessUI");
        return;
    }
    m_pLoadWaitAnimate->StopAnim();
    m_pLoadingHotfixLayout->SetVisible(false);
    m_pLoadHotfixFailLayout->SetVisible(false);
    m_pLoadHotfixFinishLayout->SetVisible(true);
    m_pHotfixDiscribeLayout->SetVisible(false);
    m_tipPressed = false;
    const int count = static_cast<int>(m_hotfixInfos.size());
    const std::wstring title = UICulture::GetInstance()->GetFormatString(
        std::wstring(L"IDS_HOTFIX_INSTALLED_TOTAL_COUNT"), std::vector<int>{count}, 0);
    m_pHotfixFirstTitle->SetText(title.c_str());
    UpdateTitlePosition(count);
    UpdateContainer();
}

void MainWindow::UpdateTitlePosition(int hotfixCount) {
    if (hotfixCount < 0 || !m_pHotfixFirstTitle || !m_pHotfixDiscribeLayout) {
        return;
    }
    for (const TitlePlacement& placement : kTitlePlacements) {
        if (hotfixCount >= placement.minCount) {
            const float width = static_cast<float>(placement.titleWidth) * GetScaleFactor();
            m_pHotfixFirstTitle->SetFixedWidth(static_cast<int>(width));
            m_pHotfixDiscribeLayout->SetAttribute(L"pos", placement.panelPos);
            return;
        }
    }
}

// A link inside a row is that row's own; only the failure view's retry link reloads.
void MainWindow::OnLink(TNotifyUI& msg) {
    if (HotfixManageItemDetail* row = RowContaining(msg.pSender)) {
        if (row->IsHideLink(msg.pSender)) {
            StartRowHiding(*row);
            return;
        }
        row->HandleNotification(msg);
        return;
    }
    if (msg.pSender == nullptr || msg.pSender != m_pLoadHotfixFailText) {
        return;
    }
    KT_LOG(LOG_INFO, L"ENTER Reload Hotfix link", "MainWindow::OnLink");
    StartLoadHotfix();
}
