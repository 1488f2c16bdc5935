#include "ui/confirm/CumulativeConfirmDialog.h"

#include <utility>

#include "support/KtLogger.h"
#include "ui/ComposedText.h"
#include "ui/SharedConstants.h"

using namespace DuiLib;

CumulativeConfirmDialog::CumulativeConfirmDialog(std::wstring hotfixId, bool cumulative)
    : m_hotfixId(std::move(hotfixId)), m_cumulative(cumulative) {}

LPCTSTR CumulativeConfirmDialog::GetWindowClassName() const {
    return CONFIRM_WINDOW_CLASS;
}

CDuiString CumulativeConfirmDialog::GetSkinFile() {
    return CDuiString(CONFIRM_WINDOW_LAYOUT);
}

void CumulativeConfirmDialog::InitWindow() {
    UICulture* culture = UICulture::GetInstance();
    const wchar_t* title =
        m_cumulative ? L"IDS_CUMULATIVE_CONFIRM_TITLE" : L"IDS_PACKAGE_CONFIRM_TITLE";
    WindowApi::SetWindowTextW(GetHWND(), culture->GetString(title));
    CControlUI* question = m_PaintManager.FindControl(CONFIRM_QUESTION);
    CControlUI* uninstall = m_PaintManager.FindControl(CONFIRM_UNINSTALL_BUTTON);
    if (question == nullptr || uninstall == nullptr) {
        KT_LOG(LOG_ERROR, L"confirm dialog control is null", "CumulativeConfirmDialog::InitWindow");
        return;
    }
    question->SetText(ComposedText(m_cumulative ? L"IDS_CUMULATIVE_CONFIRM_QUESTION"
                                                : L"IDS_PACKAGE_CONFIRM_QUESTION",
                                   m_hotfixId)
                          .c_str());
    if (!m_cumulative) {
        // Not the cumulative update's words: no servicing stack stays behind.
        if (CControlUI* heading = m_PaintManager.FindControl(L"confirmTitle"))
            heading->SetText(culture->GetString(L"IDS_PACKAGE_CONFIRM_TITLE"));
        if (CControlUI* detail = m_PaintManager.FindControl(L"confirmDetail"))
            detail->SetText(culture->GetString(L"IDS_PACKAGE_CONFIRM_DETAIL"));
    }
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
