// The uninstall side of a row: start, the uninstalling/idle/disabled looks, the outcome
// and the permanent look.
// UI thread only. The row keeps no state of its own: its looks are its state.
#include "hotfix/KbNumber.h"
#include "hotfix/WindowsHotfixHelper.h"
#include "support/KtLogger.h"
#include "ui/item/HotfixManageItemDetail.h"

using namespace DuiLib;

namespace {

const uint32_t kIdleNameColor = 0xFF191919;
const uint32_t kIdleDescriptionColor = 0xFF666666;
const uint32_t kIdleDateColor = 0x99000000;
const uint32_t kUninstallingTextColor = 0xFF999999;
const uint32_t kUninstallingButtonTextColor = 0x660A59F7;
const wchar_t* const kUninstallingButtonBkColor = L"#66FFFFFF";
const uint32_t kOtherBusyButtonTextColor = 0xFF0A59F7;
const wchar_t* const kOtherBusyButtonBkColor = L"#0D000000";
const uint32_t kSuccessColor = 0xFF64BB5C;
const uint32_t kProblemColor = 0xFFED6F21;

}  // namespace

bool HotfixManageItemDetail::OnClickUninstall(std::wstring ctrName) {
    if (ctrName.empty()) {
        KT_LOG(LOG_ERROR, L"ctrName is null", "HotfixManageItemDetail::OnClickUninstall");
        return false;
    }
    if (IsPermanent()) {
        return false;
    }
    // The installer runs elevated: only a plain number may reach its command line.
    const std::wstring number = ExtractKbNumber(ctrName);
    if (number.empty()) {
        KT_LOG(LOG_ERROR, L"hotfix id has no plain kb number:" << ctrName,
               "HotfixManageItemDetail::OnClickUninstall");
        return false;
    }
    UnstallStartorCancelUI(false);
    KT_LOG(LOG_INFO, L"find kb is " << number, "HotfixManageItemDetail::OnClickUninstall");
    const std::wstring parameters = L" /uninstall /kb:" + number;
    WindowsHotfix::WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(parameters);
    return true;
}

void HotfixManageItemDetail::UnstallStartorCancelUI(bool cancel) {
    if (!m_pHotfixNameText || !m_pDescriptionText || !m_pInstalledTimeText || !m_pBtnUninstall) {
        KT_LOG(LOG_ERROR, L"unstall start or cancel control is null",
               "HotfixManageItemDetail::UnstallStartorCancelUI");
        return;
    }
    UICulture* culture = UICulture::GetInstance();
    if (cancel) {
        m_pBtnUninstall->SetText(culture->GetString(L"IDS_UNINSTALL_HOTFIX_OPERATION"));
        m_pBtnUninstall->SetEnabled(true);
        m_pHotfixNameText->SetTextColor(kIdleNameColor);
        m_pDescriptionText->SetTextColor(kIdleDescriptionColor);
        m_pInstalledTimeText->SetTextColor(kIdleDateColor);
        return;
    }
    m_pBtnUninstall->SetText(culture->GetString(L"IDS_UNINSTALLING_HOTFIX_OPERATION"));
    m_pBtnUninstall->SetEnabled(false);
    m_pHotfixNameText->SetTextColor(kUninstallingTextColor);
    m_pDescriptionText->SetTextColor(kUninstallingTextColor);
    m_pInstalledTimeText->SetTextColor(kUninstallingTextColor);
    m_pBtnUninstall->SetDisabledTextColor(kUninstallingButtonTextColor);
    m_pBtnUninstall->SetAttribute(L"disabledbkcolor", kUninstallingButtonBkColor);
}

void HotfixManageItemDetail::UpdateItemDisableStatus(bool enable) {
    if (m_pBtnUninstall == nullptr) {
        KT_LOG(LOG_ERROR, L"update item disable btnuninstall is null",
               "HotfixManageItemDetail::UpdateItemDisableStatus");
        return;
    }
    if (IsPermanent()) {
        return;  // its button stays hidden and disabled
    }
    if (!enable) {
        m_pBtnUninstall->SetAttribute(L"disabledbkcolor", kOtherBusyButtonBkColor);
        m_pBtnUninstall->SetDisabledTextColor(kOtherBusyButtonTextColor);
    }
    m_pBtnUninstall->SetEnabled(enable);
}

void HotfixManageItemDetail::UnstallStatusUIChange(UninstallStatus status) {
    if (m_pUninstallResultLab == nullptr || m_pBtnUninstall == nullptr) {
        KT_LOG(LOG_ERROR, L"update uninstall end control is null",
               "HotfixManageItemDetail::UnstallStatusUIChange");
        return;
    }
    if (status == UNINSTALL_CANCEL) {
        if (m_pItemLayout != nullptr) m_pItemLayout->SetAccessibleDescription(L"");
        m_pUninstallResultLab->SetVisible(false);
        m_pBtnUninstall->SetEnabled(true);
        UnstallStartorCancelUI(true);
        m_pBtnUninstall->SetVisible(true);
        return;
    }
    LPCTSTR key = L"IDS_UNINSTALL_FAIL_CODE";
    uint32_t color = kProblemColor;
    if (status == UNINSTALL_SUCCESS) {
        key = L"IDS_UNINSTALL_SUCCESS_CODE";
        color = kSuccessColor;
    } else if (status == UNINSTALL_NEED_RESTART) {
        key = L"IDS_UNINSTALL_NEED_RESTART_CODE";
    } else if (status == UNINSTALL_CANNOT) {
        key = L"IDS_UNINSTALL_CANNOT_CODE";
    }
    const CDuiString outcome = UICulture::GetInstance()->GetString(key);
    // The row says its outcome when it has the focus (it keeps it once its button goes).
    if (m_pItemLayout != nullptr) m_pItemLayout->SetAccessibleDescription(outcome);
    m_pUninstallResultLab->SetVisible(true);
    m_pUninstallResultLab->SetText(outcome);
    m_pUninstallResultLab->SetTextColor(color);
    m_pBtnUninstall->SetVisible(false);
}

void HotfixManageItemDetail::ShowPermanentStatusUI() {
    // Without its label the row keeps its button: nothing is hidden unexplained.
    if (m_pPermanentLab == nullptr || m_pBtnUninstall == nullptr) {
        KT_LOG(LOG_ERROR, L"show permanent control is null",
               "HotfixManageItemDetail::ShowPermanentStatusUI");
        return;
    }
    UICulture* culture = UICulture::GetInstance();
    m_pPermanentLab->SetText(culture->GetString(L"IDS_UNINSTALL_PERMANENT_CODE"));
    m_pPermanentLab->SetToolTip(culture->GetString(L"IDS_UNINSTALL_PERMANENT_TIP"));
    m_pPermanentLab->SetVisible(true);
    m_pBtnUninstall->SetEnabled(false);
    m_pBtnUninstall->SetVisible(false);
}

bool HotfixManageItemDetail::IsPermanent() const {
    return m_pPermanentLab != nullptr && m_pPermanentLab->IsVisible();
}
