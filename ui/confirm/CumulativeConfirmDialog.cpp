#include "ui/confirm/CumulativeConfirmDialog.h"

#include <utility>

#include "support/KtLogger.h"
#include "ui/ComposedText.h"
#include "ui/SharedConstants.h"

using namespace DuiLib;

CumulativeConfirmDialog::CumulativeConfirmDialog(std::wstring hotfixId)
    : m_hotfixId(std::move(hotfixId)) {}

LPCTSTR CumulativeConfirmDialog::GetWindowClassName() const {
    return CONFIRM_WINDOW_CLASS;
}

CDuiString CumulativeConfirmDialog::GetSkinFile() {
    return CDuiString(CONFIRM_WINDOW_LAYOUT);
}

void CumulativeConfirmDialog::InitWindow() {
    UICulture* culture = UICulture::GetInstance();
    WindowApi::SetWindowTextW(GetHWND(), culture->GetString(L"IDS_CUMULATIVE_CONFIRM_TITLE"));
    CControlUI* question = m_PaintManager.FindControl(CONFIRM_QUESTION);
    CControlUI* uninstall = m_PaintManager.FindControl(CONFIRM_UNINSTALL_BUTTON);
    if (question == nullptr || uninstall == nullptr) {
        KT_LOG(LOG_ERROR, L"confirm dialog control is null", "CumulativeConfirmDialog::InitWindow");
        return;
    }
    question->SetText(ComposedText(L"IDS_CUMULATIVE_CONFIRM_QUESTION", m_hotfixId).c_str());
    // The default button: Enter presses the focused button.
    m_PaintManager.SetFocus(uninstall);
}

void CumulativeConfirmDialog::Notify(TNotifyUI& msg) {
    if (msg.sType == L"click") OnClick(msg);
}

void CumulativeConfirmDialog::OnClick(TNotifyUI& msg) {
    if (msg.pSender == nullptr) return;
    const std::wstring name = msg.pSender->GetName().str();
    if (name == CONFIRM_UNINSTALL_BUTTON) {
        Close(kUninstall);
    } else if (name == CONFIRM_CANCEL_BUTTON) {
        Close(kCancel);
    }
}
