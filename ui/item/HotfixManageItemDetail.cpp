// Row building and content: layout, control look-up, texts, date and separator.
#include "ui/item/HotfixManageItemDetail.h"

#include "hotfix/XmlHelper.h"
#include "support/KtLogger.h"
#include "ui/ComposedText.h"
#include "ui/SharedConstants.h"

using namespace DuiLib;

// The map holds only its end entry: a notification from a row's own controls
// reaches it through the window (HandleNotification).
DUI_BEGIN_MESSAGE_MAP(HotfixManageItemDetail, CNotifyPump)
DUI_END_MESSAGE_MAP()

namespace {

template <typename T>
T* FindUnder(CContainerUI* root, LPCTSTR name) {
    return root ? dynamic_cast<T*>(root->FindSubControl(name)) : nullptr;
}

int g_liveRows = 0;  // UI thread only, as the rows themselves

}  // namespace

HotfixManageItemDetail::HotfixManageItemDetail(const HotfixInfo& info, SlashDates dates)
    : m_hotfixId(info.HotFixID), m_slashDates(dates) {
    ++g_liveRows;
}

HotfixManageItemDetail::~HotfixManageItemDetail() {
    --g_liveRows;
}

int HotfixManageItemDetail::LiveRows() {
    return g_liveRows;
}

void HotfixManageItemDetail::InitItemLayout(CContainerUI* parent) {
    if (parent == nullptr) {
        KT_LOG(LOG_ERROR, L"init parent is null", "HotfixManageItemDetail::InitItemLayout");
        return;
    }
    m_pParent = parent;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(STRINGorID(ITEM_LAYOUT), nullptr, nullptr, nullptr, nullptr);
    m_pItemLayout = dynamic_cast<CContainerUI*>(root);
    if (m_pItemLayout == nullptr) {
        // A root that is not a container cannot hold the row; it is not ours to keep.
        delete root;
        KT_LOG(LOG_ERROR, L"create control failed", "HotfixManageItemDetail::InitItemLayout");
        return;
    }
    static_cast<IContainerUI*>(parent)->Add(m_pItemLayout);
    parent->NeedParentUpdate();
    InitUI();
}

void HotfixManageItemDetail::InitUI() {
    m_pBtnUninstall = FindUnder<CButtonUI>(m_pItemLayout, L"btnUninstall");
    m_pUninstallResultLab = FindUnder<CLabelUI>(m_pItemLayout, L"UninstallResultLab");
    m_pUninstallReasonLab = FindUnder<CLabelUI>(m_pItemLayout, L"UninstallReasonLab");
    m_pPermanentLab = FindUnder<CLabelUI>(m_pItemLayout, L"UninstallPermanentLab");
    m_pHotfixNameText = FindUnder<CLabelUI>(m_pItemLayout, L"hotfixNameText");
    m_pLearnMoreLink = FindUnder<CTextUI>(m_pItemLayout, L"learnMoreLink");
    m_pDescriptionText = FindUnder<CLabelUI>(m_pItemLayout, L"descriptionText");
    m_pInstalledTimeText = FindUnder<CLabelUI>(m_pItemLayout, L"installedTimeText");
    m_pProgressLayout = FindUnder<CControlUI>(m_pItemLayout, L"removalProgressLyt");
    m_pProgressText = FindUnder<CLabelUI>(m_pItemLayout, L"removalProgressText");
    m_pProgressBar = FindUnder<CProgressUI>(m_pItemLayout, L"removalProgressBar");
    if (!m_pBtnUninstall || !m_pUninstallResultLab || !m_pHotfixNameText || !m_pDescriptionText ||
        !m_pInstalledTimeText) {
        KT_LOG(LOG_ERROR, L"init hotfixmanage item control null", "HotfixManageItemDetail::InitUI");
        return;
    }
    m_idleNameColor = m_pHotfixNameText->GetTextColor();
    m_idleDescriptionColor = m_pDescriptionText->GetTextColor();
    m_idleDateColor = m_pInstalledTimeText->GetTextColor();
}

std::wstring HotfixManageItemDetail::GetInstalledOn(std::wstring installedTime) {
    const InstalledOnDate date = FormatInstalledOn(installedTime, m_slashDates);
    if (date.problem) {
        KT_LOG(LOG_ERROR, date.problem, "HotfixManageItemDetail::GetInstalledOn");
    }
    return date.text;
}

void HotfixManageItemDetail::SetContent(const HotfixInfo& info, bool isLastItem) {
    CControlUI* optLayout = FindUnder<CControlUI>(m_pItemLayout, L"unstallOptLyt");
    CControlUI* itemLayout = FindUnder<CControlUI>(m_pItemLayout, L"hotfiixItemLayout");
    CControlUI* timeLayout = FindUnder<CControlUI>(m_pItemLayout, L"installedTimeLyt");
    if (!optLayout || !itemLayout || !timeLayout || !m_pBtnUninstall || !m_pUninstallResultLab ||
        !m_pHotfixNameText || !m_pDescriptionText || !m_pInstalledTimeText) {
        KT_LOG(LOG_ERROR, L"set content control null", "HotfixManageItemDetail::SetContent");
        return;
    }
    UICulture* culture = UICulture::GetInstance();
    m_pHotfixNameText->SetText(info.HotFixID.c_str());
    const std::wstring descKey = XmlHelper::GetInstance()->GetValueDesc(info.Description);
    m_pDescriptionText->SetText(culture->GetString(descKey));
    m_pInstalledTimeText->SetText(GetInstalledOn(info.InstalledOn).c_str());
    m_pBtnUninstall->SetText(culture->GetString(L"IDS_UNINSTALL_HOTFIX_OPERATION"));
    m_pBtnUninstall->SetName((UNINSTALL_BUTTON_PREFIX + info.HotFixID).c_str());
    // A screen reader says which row the list item is and which the button acts on.
    m_pItemLayout->SetAccessibleName(info.HotFixID.c_str());
    NameButton(L"IDS_UNINSTALL_HOTFIX_BUTTON_NAME");
    m_pBtnUninstall->SetEnabled(true);
    m_pBtnUninstall->SetVisible(true);
    m_pUninstallResultLab->SetName((L"labUniName" + info.HotFixID).c_str());
    m_pUninstallResultLab->SetVisible(false);
    if (m_pUninstallReasonLab != nullptr) {
        m_pUninstallReasonLab->SetName((L"labReason" + info.HotFixID).c_str());
        m_pUninstallReasonLab->SetVisible(false);
    }
    if (m_pProgressBar != nullptr) {
        m_pProgressBar->SetName((L"progressBar" + info.HotFixID).c_str());
        m_pProgressBar->SetAccessibleNameSuffix(info.HotFixID.c_str());
        m_pProgressBar->SetValuePattern(culture->GetString(L"IDS_PROGRESS_VALUE").str());
    }
    ShowSupportLink();
    SetLineVisible(isLastItem);
}

void HotfixManageItemDetail::NameButton(const wchar_t* patternKey) {
    m_pBtnUninstall->SetAccessibleName(ComposedText(patternKey, m_hotfixId).c_str());
}

void HotfixManageItemDetail::SetLineVisible(bool isLastItem) {
    CControlUI* line = FindUnder<CControlUI>(m_pItemLayout, L"lytStartupItemDetail");
    if (line == nullptr) {
        KT_LOG(LOG_ERROR, L"set line control null", "HotfixManageItemDetail::SetLineVisible");
        return;
    }
    line->SetVisible(!isLastItem);
}
