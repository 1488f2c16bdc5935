// Windows Update's titles for the rows: read once per load, after the rows show,
// on a detached thread of their own in COM's multithreaded apartment; they reach
// the rows in one batch on the UI thread, or not at all when a later load or the
// window's close came first. Without them the rows keep their type; why is logged
// once.
#include <system_error>

#include "hotfix/UninstallCodes.h"
#include "support/DetachedThreads.h"
#include "support/KtLogger.h"
#include "ui/item/HotfixManageItemDetail.h"
#include "ui/main/MainWindow.h"
#include "winapi/ComApartment.h"

using namespace DuiLib;

void MainWindow::StartTitlesRead() {
    std::vector<std::wstring> ids;
    for (const auto& row : m_createdItems) ids.push_back(row->HotfixId());
    if (ids.empty()) {
        return;
    }
    try {
        DetachedThreads::Start([alive = m_alive, ids = std::move(ids), serial = m_loadSerial] {
            ReadTitlesTask(alive, ids, serial);
        });
    } catch (const std::system_error& error) {
        KT_LOG(LOG_ERROR, L"start update titles thread fail! ret:" << error.code().value(),
               "MainWindow::StartTitlesRead");
    }
}

void MainWindow::ReadTitlesTask(std::shared_ptr<AliveToken> alive, std::vector<std::wstring> ids,
                                unsigned serial) {
    WindowsHotfix::UpdateTitlesRead read;
    {
        const WinApi::ComApartment com(WinApi::ComApartment::kMultithreaded);
        if (!com.IsReady()) {
            read.result = static_cast<uint32_t>(com.Result());
        } else {
            read = WindowsHotfix::ReadUpdateTitles(ids);
        }
    }
    if (read.result != 0) {
        KT_LOG(LOG_ERROR,
               L"Windows Update is not available, rows keep their type: "
                   << WindowsHotfix::HexCode(read.result),
               "MainWindow::ReadTitlesTask");
        return;
    }
    if (read.titles.empty()) {
        KT_LOG(LOG_ERROR,
               L"no Windows Update title for the listed updates in " << read.entries
                                                                     << L" history entries",
               "MainWindow::ReadTitlesTask");
        return;
    }
    UIMainQueue::getInstance()->dispatch([alive, titles = std::move(read.titles), serial] {
        if (MainWindow* window = alive->window) {
            window->ApplyUpdateTitles(titles, serial);
        }
    });
}

// UI thread.
void MainWindow::ApplyUpdateTitles(const WindowsHotfix::UpdateTitles& titles, unsigned serial) {
    if (serial != m_loadSerial) {
        return;  // the titles of a list that a later load replaced
    }
    size_t shown = 0;
    {
        // Every row's title at once: one change for the screen, and for a screen reader.
        UIChangeBatch batch(m_PaintManager);
        for (const auto& row : m_createdItems) {
            const auto title = titles.find(row->HotfixId());
            if (title == titles.end()) continue;
            row->ShowUpdateTitle(title->second);
            ++shown;
        }
    }
    KT_LOG(LOG_ERROR,
           L"update titles shown on " << shown << L" of " << m_createdItems.size() << L" rows",
           "MainWindow::ApplyUpdateTitles");
}
