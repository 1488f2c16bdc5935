// One row of the installed-hotfix list: builds its controls from the row layout,
// shows one HotfixInfo and carries the looks of its own uninstall.
// Created, called and deleted by the main window, on the UI thread only.
// The row's controls belong to the list container's tree; the row only borrows them.
#pragma once

#include <string>

#include "duilib/UIProgress.h"
#include "duilib/UIlib.h"
#include "hotfix/InstalledOnDate.h"
#include "hotfix/UninstallCodes.h"
#include "hotfix/UninstallStatus.h"
#include "support/HotfixInfo.h"

class HotfixManageItemDetail : public DuiLib::CNotifyPump {
public:
    // `dates` is how the whole list's "A/B/YYYY" dates read (SlashOrderOf).
    explicit HotfixManageItemDetail(const HotfixInfo& info,
                                    SlashDates dates = SlashDates::MonthFirst);
    ~HotfixManageItemDetail() override;
    HotfixManageItemDetail(const HotfixManageItemDetail&) = delete;
    HotfixManageItemDetail& operator=(const HotfixManageItemDetail&) = delete;
    // Rows constructed and not yet destroyed, in the whole process (for tests).
    static int LiveRows();

    // Builds the row from ITEM_LAYOUT and appends it to the list container.
    void InitItemLayout(DuiLib::CContainerUI* parent);
    void InitUI();
    // InstalledOn as year-month-day (FormatInstalledOn); an empty date is logged.
    std::wstring GetInstalledOn(std::wstring installedTime);
    void SetContent(const HotfixInfo& info, bool isLastItem);
    void SetLineVisible(bool isLastItem);

    // Uninstall states (see HotfixItemUninstall.cpp).
    void UpdateItemDisableStatus(bool enable);
    void UnstallStatusUIChange(UninstallStatus status);
    void UnstallStartorCancelUI(bool cancel);
    // The reason beside the outcome just shown: a grey line under the label
    // (ellipsised, the whole text its tip) and the row's accessible description.
    // No reason hides the line.
    void ShowUninstallReason(const WindowsHotfix::UninstallReason& reason);
    // The update's title from Windows Update's history, under its type (HotfixItemTitle.cpp).
    void ShowUpdateTitle(const std::wstring& title);
    // A row the store found already removed, waiting for the restart: the restart
    // outcome from the start, for good.
    void ShowRemovalPendingUI();
    // An update Windows installs at the next restart: a grey label with why as
    // its tip in place of the button, for good.
    void ShowInstallPendingUI();
    // A checkpoint cumulative update that `newerUpdate` ("KB5060829") builds on: a grey
    // label with why as its tip in place of the button, for good.
    void ShowCheckpointUI(const std::wstring& newerUpdate);
    // True when the uninstall really started. Only an identifier whose text after
    // its first "KB"/"kb" is all digits starts one; anything else leaves the row idle.
    bool OnClickUninstall(std::wstring ctrName);
    // An update Windows will not remove: the grey label (with why as its tip) in
    // place of the button, for good. No click, no other uninstall changes it.
    void ShowPermanentStatusUI();
    // The row offers no removal (a grey label, or an outcome known from the store).
    bool IsPermanent() const;
    const std::wstring& HotfixId() const { return m_hotfixId; }
    // The row's root control: the window finds a row by a control's ancestry.
    DuiLib::CControlUI* Root() const { return m_pItemLayout; }
    // A notification from one of the row's own controls, handed on by the window;
    // true when the row took it. The uninstall button's click is not one of them.
    bool HandleNotification(DuiLib::TNotifyUI& msg);
    bool HasButton() const { return m_pBtnUninstall != nullptr; }

    // A cumulative update: removes `package` through the servicing stack (the
    // caller asked the user first) and shows its progress in place of the button.
    void StartPackageRemoval(const std::wstring& package);
    // The looks of a package removal at 0 %, without starting one.
    void ShowPackageRemovalUI();
    // Any thread's progress, delivered on the UI thread: the bar takes it (and
    // repaints at most ten times a second); the status line follows the bar.
    void ShowRemovalProgress(int percent);
    // The bar showed a new value: the status line says the same.
    void OnProgressShown();
    DuiLib::CControlUI* ProgressBar() const;

    // Hiding the removed update from Windows Update (HotfixItemHide.cpp).
    // The link under "Uninstalled"; `enabled` false while another operation runs.
    void OfferHiding(bool enabled);
    void SetHidingEnabled(bool enabled);
    bool IsHideLink(const DuiLib::CControlUI* control) const;
    // While the search runs: "Searching Windows Update…" and the link cancels it.
    void ShowHideSearching();
    // The search's end in words (the reason line); empty: back to the link.
    void ShowHideOutcome(const std::wstring& text);
    // A removal that waits for the restart: the tip says hiding comes after it.
    void ExplainHidingAfterRestart();

    DUI_DECLARE_MESSAGE_MAP()

private:
    // The button's accessible name from a language pattern ("Uninstall {0}") and the
    // row's HotFixID, so each language puts the update's name where it belongs.
    void NameButton(const wchar_t* patternKey);
    // The "Learn more" link under the identifier, for a KB number only (see
    // HotfixItemSupportLink.cpp).
    void ShowSupportLink();
    void OpenSupportArticle();
    // The grey label of a row that offers nothing, in place of the button.
    void ShowNoRemovalUI(const wchar_t* labelKey, const std::wstring& tip);
    void ShowOutcomeText(const wchar_t* textKey, uint32_t color);

    DuiLib::CContainerUI* m_pItemLayout = nullptr;
    DuiLib::CContainerUI* m_pParent = nullptr;
    DuiLib::CButtonUI* m_pBtnUninstall = nullptr;
    DuiLib::CLabelUI* m_pUninstallResultLab = nullptr;
    DuiLib::CLabelUI* m_pUninstallReasonLab = nullptr;
    DuiLib::CLabelUI* m_pPermanentLab = nullptr;
    DuiLib::CLabelUI* m_pHotfixNameText = nullptr;
    DuiLib::CTextUI* m_pLearnMoreLink = nullptr;
    DuiLib::CTextUI* m_pHideLink = nullptr;  // once the row offers hiding
    DuiLib::UIRect m_reasonPadding;          // the reason line's, from the layout
    DuiLib::CLabelUI* m_pDescriptionText = nullptr;
    DuiLib::CLabelUI* m_pInstalledTimeText = nullptr;
    DuiLib::CControlUI* m_pProgressLayout = nullptr;
    DuiLib::CLabelUI* m_pProgressText = nullptr;
    DuiLib::CProgressUI* m_pProgressBar = nullptr;
    // The three texts' colours as the row layout gives them, their idle look
    // (restored after a cancel). 0xAARRGGBB.
    uint32_t m_idleNameColor = 0;
    uint32_t m_idleDescriptionColor = 0;
    uint32_t m_idleDateColor = 0;
    std::wstring m_hotfixId;
    SlashDates m_slashDates = SlashDates::MonthFirst;
    bool m_offersNothing = false;  // decided by the store: no button ever again
};
