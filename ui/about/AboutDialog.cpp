#include "ui/about/AboutDialog.h"

#include "support/KtFileUtil.h"
#include "support/KtLogger.h"
#include "support/ModulePath.h"
#include "support/TextUtil.h"
#include "support/UrlsManager.h"
#include "ui/SharedConstants.h"

using namespace DuiLib;

DuiLib::LPCTSTR AboutDialog::GetWindowClassName() const {
    return ABOUT_WINDOW_CLASS;
}

AboutDialog::~AboutDialog() = default;

CDuiString AboutDialog::GetSkinFile() {
    return CDuiString(ABOUT_WINDOW_LAYOUT);
}

void AboutDialog::InitWindow() {
    CControlUI* versionLabel = m_PaintManager.FindControl(TOOL_VERSION);
    if (versionLabel == nullptr) {
        KT_LOG(LOG_ERROR, L"show version control is null!", "AboutDialog::InitWindow");
        return;
    }
    // The label holds the pattern ("Version {0}"), so a language can place the number.
    const std::wstring text =
        FormatString(versionLabel->GetText().str(), GetCurrentAppVersion(), L"{0}");
    versionLabel->SetText(text.c_str());
}

void AboutDialog::Notify(TNotifyUI& msg) {
    if (msg.sType == L"click" || msg.sType == L"link") {
        OnClick(msg);
    }
}

void AboutDialog::OnClick(TNotifyUI& msg) {
    if (msg.pSender == nullptr) {
        return;
    }
    const std::wstring name = msg.pSender->GetName().str();
    if (name == ABOUT_CLOSE_BUTTON) {
        Close(1);
    } else if (name == OPEN_SOURCE_STATEMENT) {
        ShowOpenSourceSoftwareNotice();
    }
}

std::wstring AboutDialog::GetCurrentAppVersion() {
    const std::wstring fullPath = ModulePath::FilePath(nullptr);
    const std::wstring folder = ModulePath::FolderOf(fullPath);
    if (folder.empty()) {
        KT_LOG(LOG_ERROR, L"get current app name fail", "AboutDialog::GetCurrentAppVersion");
        return L"";
    }
    // The full path: a bare name would go through the DLL search order.
    return DE::GetFileVersion(fullPath);
}

void AboutDialog::ShowOpenSourceSoftwareNotice() {
    std::wstring noticePath;
    if (!FileInfo::GetSelfFullFilePath(noticePath, OPEN_SOURCE_NOTICE_FILE)) {
        KT_LOG(LOG_ERROR, L"get open source software notice file path fail!",
               "AboutDialog::ShowOpenSourceSoftwareNotice");
        return;
    }
    if (!DE::FileExistsW(noticePath)) {
        KT_LOG(LOG_ERROR, L"open source software notice file is not exist!",
               "AboutDialog::ShowOpenSourceSoftwareNotice");
        return;
    }
    // Only the user's desktop shell opens it: what this elevated process started
    // would run with the administrator's token. Without one, the user gets the path.
    if (UrlsManager::Instance()->Open(noticePath) != UrlsManager::Outcome::kOpened) {
        KT_LOG(LOG_ERROR, L"open open source software notice file fail!",
               "AboutDialog::ShowOpenSourceSoftwareNotice");
        ShowNoticePath(noticePath);
    }
}

void AboutDialog::ShowNoticePath(const std::wstring& noticePath) {
    CControlUI* tips = m_PaintManager.FindControl(NOTICE_PATH_TIPS);
    CControlUI* path = m_PaintManager.FindControl(NOTICE_PATH);
    if (tips == nullptr || path == nullptr) {
        KT_LOG(LOG_ERROR, L"notice path control is null!", "AboutDialog::ShowNoticePath");
        return;
    }
    path->SetText(noticePath.c_str());
    tips->SetVisible(true);
    path->SetVisible(true);
}
