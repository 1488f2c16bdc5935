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
    void ShowOpenSourceSoftwareNotice();
};
