// The modal question before an update is removed through the servicing stack (the
// cumulative update; on Windows Server, any update with one top-level package): "Uninstall" (the
// focus when it opens, so Enter) or "Cancel" (also Esc). Created, shown and deleted by
// MainWindow::ConfirmCumulativeRemoval; UI thread only.
#pragma once

#include <string>

#include "duilib/UIlib.h"

class CumulativeConfirmDialog : public DuiLib::WindowImplBase {
public:
    // What ShowModal returns.
    static constexpr UINT kUninstall = 1;
    static constexpr UINT kCancel = 2;

    // `cumulative` false: the question for any other update.
    explicit CumulativeConfirmDialog(std::wstring hotfixId, bool cumulative = true);
    DuiLib::LPCTSTR GetWindowClassName() const override;
    DuiLib::CDuiString GetSkinFile() override;
    void InitWindow() override;
    void OnClick(DuiLib::TNotifyUI& msg) override;
    // Routes "click" to OnClick; every other notification is dropped.
    void Notify(DuiLib::TNotifyUI& msg) override;

private:
    std::wstring m_hotfixId;
    bool m_cumulative;
};
