// A removed row's "Hide from Windows Update" link and what the row says while
// and after Windows Update is asked (the window runs the search, see
// MainWindowHide.cpp). UI thread only.
#include "support/KtLogger.h"
#include "ui/ComposedText.h"
#include "ui/item/HotfixManageItemDetail.h"

using namespace DuiLib;

namespace {
const wchar_t* const kHideLink = L"hideFromUpdateLink";
}

void HotfixManageItemDetail::OfferHiding(bool enabled) {
    CTextUI* link = m_pHideLink;
    if (link == nullptr && m_pItemLayout != nullptr) {
        link = dynamic_cast<CTextUI*>(m_pItemLayout->FindSubControl(kHideLink));
        if (m_pUninstallReasonLab != nullptr) m_reasonPadding = m_pUninstallReasonLab->GetPadding();
    }
    if (link == nullptr) {
        return;  // a layout without the link offers no hiding
    }
    m_pHideLink = link;
    link->SetName((kHideLink + m_hotfixId).c_str());
    link->SetText(UICulture::GetInstance()->GetString(L"IDS_WU_HIDE_LINK"));
    link->SetAccessibleName(ComposedText(L"IDS_WU_HIDE_LINK_NAME", m_hotfixId).c_str());
    link->SetEnabled(enabled);
    link->SetVisible(true);
}

void HotfixManageItemDetail::SetHidingEnabled(bool enabled) {
    if (m_pHideLink != nullptr) m_pHideLink->SetEnabled(enabled);
}

bool HotfixManageItemDetail::IsHideLink(const CControlUI* control) const {
    return control != nullptr && control == m_pHideLink;
}

void HotfixManageItemDetail::ShowHideSearching() {
    if (m_pHideLink == nullptr || m_pUninstallReasonLab == nullptr) return;
    UICulture* culture = UICulture::GetInstance();
    m_pHideLink->SetText(culture->GetString(L"IDS_WU_CANCEL_LINK"));
    m_pHideLink->SetAccessibleName(culture->GetString(L"IDS_WU_CANCEL_LINK_NAME"));
    ShowHideOutcome(culture->GetString(L"IDS_WU_SEARCHING").str());
    // Both lines under the outcome: the link takes the reason line's space below it.
    m_pUninstallReasonLab->SetPadding(
        {m_reasonPadding.left, m_reasonPadding.top, m_reasonPadding.right, 0});
    m_pHideLink->SetVisible(true);
}

void HotfixManageItemDetail::ShowHideOutcome(const std::wstring& text) {
    if (m_pHideLink == nullptr || m_pUninstallReasonLab == nullptr) return;
    if (text.empty()) {
        m_pUninstallReasonLab->SetPadding(m_reasonPadding);
        m_pUninstallReasonLab->SetVisible(false);
        OfferHiding(true);
        return;
    }
    m_pUninstallReasonLab->SetPadding(m_reasonPadding);
    m_pHideLink->SetVisible(false);
    m_pUninstallReasonLab->SetText(text.c_str());
    m_pUninstallReasonLab->SetToolTip(text.c_str());
    m_pUninstallReasonLab->SetVisible(true);
    if (m_pItemLayout != nullptr) m_pItemLayout->SetAccessibleDescription(text.c_str());
}

void HotfixManageItemDetail::ExplainHidingAfterRestart() {
    if (m_pUninstallResultLab == nullptr) return;
    const CDuiString tip = UICulture::GetInstance()->GetString(L"IDS_WU_HIDE_AFTER_RESTART");
    m_pUninstallResultLab->SetToolTip(tip);
    if (m_pItemLayout != nullptr) {
        m_pItemLayout->SetAccessibleDescription(m_pUninstallResultLab->GetText() + L" " + tip);
    }
}
