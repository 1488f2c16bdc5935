// The modal About dialog: the tool's file version and a link to the open-source notice.
// Created, shown modally and deleted by MainWindow::ShowAboutForm; UI thread only.
#pragma once

#include <string>

#include "duilib/UIlib.h"

class AboutDialog : public DuiLib::WindowImplBase {
public:
    DuiLib::LPCTSTR GetWindowClassName() const override;
    ~AboutDialog() override;
    void InitWindow() override;
    void OnClick(DuiLib::TNotifyUI& msg) override;
    DuiLib::CDuiString GetSkinFile() override;

    // Routes "click" and "link" to OnClick; every other notification is dropped.
    void Notify(DuiLib::TNotifyUI& msg) override;

    // The executable's file version as text, or empty.
    std::wstring GetCurrentAppVersion();
    // Through the desktop shell only; when it cannot, shows the notice's path.
    void ShowOpenSourceSoftwareNotice();

private:
    // The notice's path as text to select and copy, under a line saying what to do.
    void ShowNoticePath(const std::wstring& noticePath);
};
