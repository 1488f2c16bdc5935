// A row's Windows Update title: a grey line under its type, as Windows wrote it
// (ellipsised, the whole title its tip), read by screen readers with the row.
// UI thread only.
#include "support/KtLogger.h"
#include "ui/item/HotfixManageItemDetail.h"

using namespace DuiLib;

void HotfixManageItemDetail::ShowUpdateTitle(const std::wstring& title) {
    CControlUI* line = m_pItemLayout ? m_pItemLayout->FindSubControl(L"updateTitleText") : nullptr;
    if (line == nullptr || title.empty()) {
        return;  // a layout without the line keeps the row as it is
    }
    line->SetText(title.c_str());
    line->SetToolTip(title.c_str());
    line->SetVisible(true);
    // The reason of an outcome, once one shows, is what the row's description says.
    const bool reasonShown = m_pUninstallReasonLab != nullptr && m_pUninstallReasonLab->IsVisible();
    if (!reasonShown) m_pItemLayout->SetAccessibleDescription(title.c_str());
}
