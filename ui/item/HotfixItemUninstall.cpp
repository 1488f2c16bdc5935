// The uninstall side of a row: start, the uninstalling/idle/disabled looks, the outcome
// and the permanent look.
// UI thread only. The row keeps no state of its own: its looks are its state.
#include "hotfix/KbNumber.h"
#include "hotfix/UninstallCodes.h"
#include "hotfix/WindowsHotfixHelper.h"
#include "support/KtLogger.h"
#include "ui/ComposedText.h"
#include "ui/item/HotfixManageItemDetail.h"
#include "ui/item/RowColors.h"
#include "ui/item/UninstallOutcomes.h"

using namespace DuiLib;
using namespace RowColors;

bool HotfixManageItemDetail::OnClickUninstall(std::wstring ctrName) {
    if (ctrName.empty()) {
        KT_LOG(LOG_ERROR, L"ctrName is null", "HotfixManageItemDetail::OnClickUninstall");
        return false;
    }
    if (IsPermanent()) {
        return false;
    }
    if (ctrName.find(L"KB") == std::wstring::npos && ctrName.find(L"kb") == std::wstring::npos) {
        return false;  // not an update this row can name to the installer
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
        NameButton(L"IDS_UNINSTALL_HOTFIX_BUTTON_NAME");
        m_pBtnUninstall->SetEnabled(true);
        m_pHotfixNameText->SetTextColor(m_idleNameColor);
        m_pDescriptionText->SetTextColor(m_idleDescriptionColor);
        m_pInstalledTimeText->SetTextColor(m_idleDateColor);
        return;
    }
    m_pBtnUninstall->SetText(culture->GetString(L"IDS_UNINSTALLING_HOTFIX_OPERATION"));
    NameButton(L"IDS_UNINSTALLING_HOTFIX_BUTTON_NAME");
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
    if (m_pProgressLayout != nullptr) m_pProgressLayout->SetVisible(false);
    if (status == UNINSTALL_CANCEL) {
        if (m_pItemLayout != nullptr) m_pItemLayout->SetAccessibleDescription(L"");
        m_pUninstallResultLab->SetVisible(false);
        m_pBtnUninstall->SetEnabled(true);
        UnstallStartorCancelUI(true);
        m_pBtnUninstall->SetVisible(true);
        return;
    }
    const OutcomeLook& look = LookOf(status);
    ShowOutcomeText(look.textKey, look.color);
    m_pBtnUninstall->SetVisible(false);
}

void HotfixManageItemDetail::ShowOutcomeText(const wchar_t* textKey, uint32_t color) {
    const CDuiString outcome = UICulture::GetInstance()->GetString(textKey);
    // The row says its outcome when it has the focus (it keeps it once its button goes).
    if (m_pItemLayout != nullptr) m_pItemLayout->SetAccessibleDescription(outcome);
    m_pUninstallResultLab->SetVisible(true);
    m_pUninstallResultLab->SetText(outcome);
    m_pUninstallResultLab->SetTextColor(color);
    if (m_pUninstallReasonLab != nullptr) m_pUninstallReasonLab->SetVisible(false);
}

void HotfixManageItemDetail::ShowUninstallReason(const WindowsHotfix::UninstallReason& reason) {
    if (m_pUninstallReasonLab == nullptr || m_pUninstallResultLab == nullptr ||
        !m_pUninstallResultLab->IsVisible()) {
        return;  // no outcome shows (a cancel), or the layout has no line for it
    }
    if (reason.key == nullptr) {
        m_pUninstallReasonLab->SetVisible(false);
        return;
    }
    // "0x" stays in the language's text, so the eight digits read as Microsoft writes them.
    const std::wstring text =
        ComposedText(reason.key, WindowsHotfix::HexCode(reason.code).substr(2));
    m_pUninstallReasonLab->SetText(text.c_str());
    m_pUninstallReasonLab->SetToolTip(text.c_str());
    m_pUninstallReasonLab->SetVisible(true);
    if (m_pItemLayout != nullptr) m_pItemLayout->SetAccessibleDescription(text.c_str());
}

void HotfixManageItemDetail::ShowRemovalPendingUI() {
    if (m_pUninstallResultLab == nullptr || m_pBtnUninstall == nullptr) {
        KT_LOG(LOG_ERROR, L"show removal pending control is null",
               "HotfixManageItemDetail::ShowRemovalPendingUI");
        return;
    }
    const OutcomeLook& look = LookOf(UNINSTALL_NEED_RESTART);
    ShowOutcomeText(look.textKey, look.color);
    ExplainHidingAfterRestart();
    m_pBtnUninstall->SetEnabled(false);
    m_pBtnUninstall->SetVisible(false);
    m_offersNothing = true;
}

void HotfixManageItemDetail::ShowInstallPendingUI() {
    ShowNoRemovalUI(
        L"IDS_UNINSTALL_INSTALL_PENDING_CODE",
        UICulture::GetInstance()->GetString(L"IDS_UNINSTALL_INSTALL_PENDING_TIP").str());
}

void HotfixManageItemDetail::ShowCheckpointUI(const std::wstring& newerUpdate) {
    ShowNoRemovalUI(L"IDS_UNINSTALL_CHECKPOINT_CODE",
                    ComposedText(L"IDS_UNINSTALL_CHECKPOINT_TIP", newerUpdate));
}

void HotfixManageItemDetail::ShowPermanentStatusUI() {
    ShowNoRemovalUI(L"IDS_UNINSTALL_PERMANENT_CODE",
                    UICulture::GetInstance()->GetString(L"IDS_UNINSTALL_PERMANENT_TIP").str());
}

void HotfixManageItemDetail::ShowNoRemovalUI(const wchar_t* labelKey, const std::wstring& tip) {
    // Without its label the row keeps its button: nothing is hidden unexplained.
    if (m_pPermanentLab == nullptr || m_pBtnUninstall == nullptr) {
        KT_LOG(LOG_ERROR, L"show permanent control is null",
               "HotfixManageItemDetail::ShowPermanentStatusUI");
        return;
    }
    UICulture* culture = UICulture::GetInstance();
    m_pPermanentLab->SetText(culture->GetString(labelKey));
    m_pPermanentLab->SetToolTip(tip.c_str());
    m_pPermanentLab->SetVisible(true);
    m_pBtnUninstall->SetEnabled(false);
    m_pBtnUninstall->SetVisible(false);
    m_offersNothing = true;
}

bool HotfixManageItemDetail::IsPermanent() const {
    return m_offersNothing;
}

void HotfixManageItemDetail::StartPackageRemoval(const std::wstring& package) {
    ShowPackageRemovalUI();
    KT_LOG(LOG_ERROR, L"remove package " << package << L" of " << m_hotfixId,
           "HotfixManageItemDetail::StartPackageRemoval");
    WindowsHotfix::WindowsHotfixHelper::GetInstance()->StartRemovePackage(package);
}

void HotfixManageItemDetail::ShowPackageRemovalUI() {
    UnstallStartorCancelUI(false);
    // Without its progress controls the row keeps the disabled "Uninstalling…" button.
    if (m_pProgressLayout != nullptr && m_pProgressText != nullptr && m_pProgressBar != nullptr) {
        m_pBtnUninstall->SetVisible(false);
        m_pProgressLayout->SetVisible(true);
        m_pProgressBar->SetValue(0);
        OnProgressShown();
    }
}

void HotfixManageItemDetail::ShowRemovalProgress(int percent) {
    if (m_pProgressBar == nullptr || m_pProgressLayout == nullptr ||
        !m_pProgressLayout->IsVisible()) {
        return;  // no removal shows here (it ended, or the row has no bar)
    }
    m_pProgressBar->SetValue(percent);
}

void HotfixManageItemDetail::OnProgressShown() {
    if (m_pProgressText == nullptr || m_pProgressBar == nullptr) return;
    const std::wstring text =
        ComposedText(L"IDS_UNINSTALL_PROGRESS", std::to_wstring(m_pProgressBar->GetShownValue()));
    m_pProgressText->SetText(text.c_str());
}

CControlUI* HotfixManageItemDetail::ProgressBar() const {
    return m_pProgressBar;
}
