// The modal Hide updates dialog: one search of the updates Windows Update
// offers (hidden and not), each with "Hide" or "Show again", the search's
// progress with Cancel, a line on what hiding cannot do and a link to pause
// updates in Settings (opened as the user). Closing it (Esc, Cancel, ×) stops
// the search and leaves nothing running.
// Created, shown and deleted by MainWindow::ShowHideUpdatesDialog; UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "duilib/UIlib.h"
#include "hotfix/WindowsUpdateWorker.h"
#include "ui/SharedConstants.h"

class HideUpdatesDialog : public DuiLib::WindowImplBase {
public:
    HideUpdatesDialog();
    ~HideUpdatesDialog() override;
    DuiLib::LPCTSTR GetWindowClassName() const override;
    DuiLib::CDuiString GetSkinFile() override;
    void InitWindow() override;
    void OnClick(DuiLib::TNotifyUI& msg) override;
    // Routes "click" and "link"; every other notification is dropped.
    void Notify(DuiLib::TNotifyUI& msg) override;

    // The button of the index-th offered update, or null (for tests too).
    DuiLib::CButtonUI* LineButton(size_t index) const;
    // The search's answer: the lines, or why there are none. The worker's
    // answer comes here on the UI thread (and a test's, to measure each look).
    void OnSearched(uint32_t result, std::vector<WinApi::OfferedUpdate> found);
    // A flag's answer: the line's new look and the outcome in the status line.
    void OnFlagSet(size_t index, bool hidden, uint32_t result);

private:
    struct AliveToken {
        HideUpdatesDialog* dialog = nullptr;
    };
    void AddLine(size_t index);
    void ShowLineState(size_t index);
    void SetLinesEnabled(bool enabled);
    void ShowMessage(const std::wstring& text);
    void CloseDialog();

    std::shared_ptr<AliveToken> m_alive;
    std::shared_ptr<WindowsHotfix::WindowsUpdateWorker> m_work;
    std::vector<WinApi::OfferedUpdate> m_updates;
    std::vector<DuiLib::CButtonUI*> m_buttons;  // owned by the list's tree
    bool m_flagPending = false;                 // one flag at a time
};
