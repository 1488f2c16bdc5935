// The program's main window: three views in one place (loading, failure, result),
// the list of hotfix rows, one uninstall at a time, the tip panel and the About dialog.
//
// Files, by concern:
//   MainWindowFrame.cpp      class frame: overrides, message map, InitWindow, OnClick, closing
//   MainWindowLoad.cpp       the background load and the three views
//   MainWindowTitles.cpp     Windows Update's titles, read after the rows show
//   MainWindowList.cpp       list population and ReleaseItems
//   MainWindowUninstall.cpp  uninstall coordination and the tip (hover, keyboard focus)
//   MainWindowAbout.cpp      ShowAboutForm
//   MainWindowRemoval.cpp    cumulative updates: confirmation, progress, the restart
//                            bar, and closing or ending the session while one is removed
//   MainWindowHide.cpp       hiding updates from Windows Update: a row's link, the
//                            Hide updates dialog, one operation at a time
//
// Threads: everything here runs on the UI thread except the load task (its own
// detached thread), the titles read (another, MainWindowTitles.cpp),
// UnstallStatusUICallback and RemovalProgressUICallback (the uninstall worker). Those
// reach the window only through closures queued with UIMainQueue, and those
// closures reach it only through the window's alive token, which the window clears
// when it closes or is destroyed; so work that ends late touches nothing, and
// closing never waits for it.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "duilib/UIlib.h"
#include "hotfix/ServicingStore.h"
#include "hotfix/UninstallCodes.h"
#include "hotfix/UninstallStatus.h"
#include "hotfix/UpdateHiding.h"
#include "hotfix/UpdateTitles.h"
#include "hotfix/WindowsUpdateWorker.h"
#include "support/HotfixInfo.h"

class HotfixManageItemDetail;

class MainWindow : public DuiLib::WindowImplBase {
public:
    // Shared with the load task, the status callback and the queued closures.
    // `window` is read and cleared on the UI thread only.
    struct AliveToken {
        MainWindow* window = nullptr;
    };

    MainWindow();
    DuiLib::LPCTSTR GetWindowClassName() const override;
    ~MainWindow() override;
    void InitWindow() override;
    void OnClick(DuiLib::TNotifyUI& msg) override;
    DuiLib::CDuiString GetSkinFile() override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    float GetScaleFactor();

    // Load and result views.
    void StartLoadHotfix();
    void ShowLoadingHotFixesUI();
    void ShowHotFixesFailUI(int result);
    void ShowHotFixesSuccessUI();
    void UpdateTitlePosition(int hotfixCount);
    void OnLink(DuiLib::TNotifyUI& msg);

    // The list.
    void UpdateContainer();
    void ReleaseItems();

    // Uninstall coordination and the tip. The callback runs on the uninstall worker.
    static void UnstallStatusUICallback(const std::shared_ptr<AliveToken>& alive,
                                        UninstallStatus status);
    // Why the next status came; runs on the uninstall worker just before it.
    static void UninstallReasonUICallback(const std::shared_ptr<AliveToken>& alive,
                                          const WindowsHotfix::UninstallReason& reason);
    void UpdateOtherDisableStatus(std::wstring itemName);
    void SetDiscribeLayoutVisible(bool visible);
    void OnMouseEnter(DuiLib::TNotifyUI& msg);
    void OnMouseLeave(DuiLib::TNotifyUI& msg);
    // The tip shows while the tip button is hovered or has the keyboard focus.
    void OnTipFocus(DuiLib::TNotifyUI& msg);

    // Blocks until the About dialog closes.
    void ShowAboutForm();

    // Cumulative updates (MainWindowRemoval.cpp). The callback runs on the worker.
    static void RemovalProgressUICallback(const std::shared_ptr<AliveToken>& alive, int percent);
    // Blocks in the confirmation dialog; true when the user chose "Uninstall".
    bool ConfirmCumulativeRemoval(const std::wstring& hotfixId);
    // The bar's text says what the restart finishes: removals, or only installations.
    void ShowRestartBar();
    void OnProgressShown(DuiLib::TNotifyUI& msg);
    // True once the rows of the latest list know how each is removed.
    bool RoutesKnown() const { return m_routesKnown; }
    // True while a package removal runs (closing and the session's end wait for it).
    bool IsRemovingPackage() const { return m_removingPackage; }

    // Windows Update (MainWindowHide.cpp). True while a search or a flag runs.
    bool IsAskingWindowsUpdate() const { return m_updateWork != nullptr; }
    // Blocks until the Hide updates dialog closes.
    void ShowHideUpdatesDialog();

    DUI_DECLARE_MESSAGE_MAP()

private:
    void StartRowHiding(HotfixManageItemDetail& row);
    void OnRowSearched(unsigned serial, uint32_t result, std::vector<WinApi::OfferedUpdate> found);
    void OnRowFlagSet(unsigned serial, uint32_t result);
    // The row's search or flag has its answer: the row says it in words.
    void EndRowHiding(WindowsHotfix::HideOutcome outcome, uint32_t result);
    // Ends the running operation (a search is aborted); every action is offered again.
    void StopAskingWindowsUpdate();
    // The uninstall buttons, the hide links and the Hide updates button, as the
    // running operation allows (one uninstall or one Windows Update operation).
    void UpdateActionsEnabled();
    // Releases the rows, then closes and posts the quit message once per window.
    void CloseAndQuit();
    static void LoadHotfixTask(std::shared_ptr<AliveToken> alive, std::vector<HotfixInfo> list,
                               unsigned serial);
    void FinishLoad(int result, std::vector<HotfixInfo> list);
    // Windows Update's titles for the rows of the latest load (MainWindowTitles.cpp).
    void StartTitlesRead();
    static void ReadTitlesTask(std::shared_ptr<AliveToken> alive, std::vector<std::wstring> ids,
                               unsigned serial);
    void ApplyUpdateTitles(const WindowsHotfix::UpdateTitles& titles, unsigned serial);
    // The store read's answer for load `serial`, a moment after its list.
    void ApplyRemovalPlans(WindowsHotfix::RemovalPlans plans, bool restartPending, unsigned serial);
    void BuildRows(DuiLib::CContainerUI* container);
    // Rows that offer no removal take their label or outcome; the others stay as they are.
    void ApplyRoute(HotfixManageItemDetail& row);
    void DeleteRows();
    void OnClickRowButton(const std::wstring& senderName);
    // The route of the row's plan; the row and the others take their looks.
    void StartRowRemoval(const std::wstring& hotfixId);
    // The routes are known: the click that came before them is carried out now.
    void CarryOutClickBeforeRoutes();
    void ShowUninstallStatus(UninstallStatus status);
    HotfixManageItemDetail* FindRow(const std::wstring& hotfixId) const;
    // The row whose controls hold `control`, found through its ancestry; or null.
    HotfixManageItemDetail* RowContaining(const DuiLib::CControlUI* control) const;
    bool TipFocusedByKeyboard();
    // The tip button's press (click, Enter, Space, a reader's default action).
    void OnClickTip();
    // The panel shows while the button is hovered, focused by keys, or pressed until the
    // user moves on.
    void UpdateTipVisible();
    // The route of a row's removal: the load's plan, the installer when it has none.
    WindowsHotfix::RemovalPlan PlanOf(const std::wstring& hotfixId) const;
    bool StartCumulativeRemoval(HotfixManageItemDetail* row, const std::wstring& hotfixId);
    // After the outcome of a package removal: the session may end, a close waits no more.
    void EndPackageRemoval();
    void HoldSessionEnd(bool hold);
    void OnClickRestartNow();
    // A close while a package removal runs: the notice, and the close waits for its end.
    bool DeferCloseForRemoval();

    DuiLib::CAnimPanelUI* m_pLoadWaitAnimate = nullptr;
    DuiLib::CControlUI* m_pLoadingHotfixLayout = nullptr;
    DuiLib::CControlUI* m_pLoadHotfixFailLayout = nullptr;
    DuiLib::CControlUI* m_pLoadHotfixFinishLayout = nullptr;
    DuiLib::CControlUI* m_pLoadHotfixFailText = nullptr;
    DuiLib::CControlUI* m_pHotfixFirstTitle = nullptr;
    DuiLib::CControlUI* m_pBtnUninstallTip = nullptr;
    DuiLib::CControlUI* m_pHotfixDiscribeLayout = nullptr;
    bool m_tipPressed = false;  // shown by a press; goes when the pointer or the focus moves on
    std::vector<HotfixInfo> m_hotfixInfos;
    // How each hotfix is removed, by HotFixID, found by the load with the list.
    WindowsHotfix::RemovalPlans m_removalPlans;
    // False from a list's arrival until its plans do: a click meanwhile waits for them.
    bool m_routesKnown = false;
    std::wstring m_clickBeforeRoutes;  // the HotFixID of that click; empty: none
    unsigned m_loadSerial = 0;         // of the latest load started
    bool m_removingPackage = false;
    // The reason of the status on its way (queued just before it).
    WindowsHotfix::UninstallReason m_nextReason;
    // What the restart bar stands for: a removal, or only installations.
    bool m_removalWaitsForRestart = false;
    bool m_installWaitsForRestart = false;
    bool m_restartFailed = false;   // the bar shows the failed restart's code
    bool m_closeRequested = false;  // closes when the package removal ends
    // Rows by HotFixID; a duplicated HotFixID maps to its later row.
    std::unordered_map<std::wstring, HotfixManageItemDetail*> m_itemMap;
    std::wstring m_curHotfixName;
    // Every row built, in list order, duplicates included; owns them.
    std::vector<std::unique_ptr<HotfixManageItemDetail>> m_createdItems;
    std::shared_ptr<AliveToken> m_alive;
    // The running Windows Update operation of a row, its serial (late answers of
    // an earlier one are dropped), its row and the update it found.
    std::shared_ptr<WindowsHotfix::WindowsUpdateWorker> m_updateWork;
    unsigned m_updateSerial = 0;
    std::wstring m_hidingRow;
    WinApi::OfferedUpdate m_hidingUpdate;
    bool m_uninstallRunning = false;
};
