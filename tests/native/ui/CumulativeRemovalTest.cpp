// A cumulative update from the servicing store (stand-in registry, manifests on
// disk) to its row in the real main window: the confirmation dialog by keyboard,
// the package removed by name through the servicing API stand-in (never the
// installer), its progress in the row, the outcome with the restart bar, and a
// close or a session end that waits for the removal.
#include <algorithm>
#include <condition_variable>

#include "UiFixtures.h"
#include "duilib/UIAccessible.h"
#include "duilib/UIKeys.h"
#include "duilib/UIProgress.h"
#include "hotfix/WindowsHotfixHelper.h"
#include "testkit/FakeServicingStore.h"
#include "ui/item/UninstallOutcomes.h"
#include "winapi/DismTesting.h"
#include "winapi/Registry.h"
#include "winapi/RegistryTesting.h"
#include "winapi/ShutdownTesting.h"

using namespace UiFixtures;
using DuiLib::CButtonUI;
using DuiLib::CLabelUI;
using DuiLib::Headless::WindowState;

namespace {

const std::wstring kRollup = L"Package_for_RollupFix~31bf3856ad364e35~amd64~~19041.3570.1.12";
const std::wstring kStack =
    L"Package_for_ServicingStack_3565~31bf3856ad364e35~amd64~~19041.3565.1.2";

class CumulativeRemovalTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        WinApi::Testing::ResetDism();
        WinApi::Testing::ResetShutdown();
        // The combined package: the removable cumulative part and the permanent
        // servicing stack of the same update, neither named after it.
        m_store.AddPackage(
            kRollup, 0x70,
            FakeServicingStore::Manifest("Package_for_RollupFix", "KB5031356", false));
        m_store.AddPackage(
            kStack, 0x70,
            FakeServicingStore::Manifest("Package_for_ServicingStack_3565", "KB5031356", true));
        WinApi::Testing::SetDismRemoveHook([this] {
            // As Windows does: the removed package waits for the restart (uninstall pending).
            m_store.AddPackage(kRollup, 0x05, std::nullopt);
            std::unique_lock<std::mutex> lock(m_mutex);
            m_held = true;
            m_changed.notify_all();
            DuiLib::UIMainQueue::getInstance()->dispatch([] {});  // wakes RemovalHeld's pump
            m_changed.wait(lock, [this] { return !m_hold; });
            m_held = false;
        });
    }
    void TearDown() override {
        Release();
        UiTest::TearDown();
        WinApi::Testing::ResetDism();
        WinApi::Testing::ResetShutdown();
    }
    void Release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hold = false;
        m_changed.notify_all();
    }
    bool RemovalHeld() {
        return main().PumpUntil([this] {
            std::lock_guard<std::mutex> lock(m_mutex);
            return m_held;
        });
    }
    // From the next idle moment on, answers the confirmation dialog with `keys`
    // once: `seen` takes its state as it was shown, `mainTookInput` whether the
    // main window took input then. Both must outlive the hook.
    void AnswerConfirmation(std::vector<unsigned> keys, WindowState& seen,
                            bool* mainTookInput = nullptr) {
        DuiLib::Headless::SetIdleHook([this, keys, &seen, mainTookInput] {
            for (const WindowState& state : DuiLib::Headless::Windows()) {
                if (state.className != CONFIRM_WINDOW_CLASS || seen.hwnd) continue;
                seen = state;
                WindowState owner;
                DuiLib::Headless::FindWindowState(main().hwnd(), owner);
                if (mainTookInput) *mainTookInput = owner.inputEnabled;
                for (unsigned key : keys) DuiLib::Headless::PressKey(state.hwnd, key);
            }
        });
    }
    // Clicks the cumulative row's button and answers the dialog with `keys`.
    // The dialog's state as it was shown, and whether the main window took input.
    WindowState ClickAndAnswer(std::vector<unsigned> keys, bool* mainTookInput = nullptr) {
        WindowState seen;
        AnswerConfirmation(std::move(keys), seen, mainTookInput);
        EXPECT_TRUE(main().driver().Click(L"btnUniNameKB5031356")) << main().driver().LastError();
        DuiLib::Headless::SetIdleHook(nullptr);
        return seen;
    }
    std::wstring String(const wchar_t* key) {
        return DuiLib::UICulture::GetInstance()->GetString(key).str();
    }
    WindowState MainState() {
        WindowState state;
        DuiLib::Headless::FindWindowState(main().hwnd(), state);
        return state;
    }

    FakeServicingStore m_store{"CumulativeRemovalTest.Store"};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_hold = true;
    bool m_held = false;
};

TEST_F(CumulativeRemovalTest, EnterConfirmsAndOnlyTheCumulativePackageIsRemovedWithProgress) {
    FakeInstaller installer(m_folder);
    WinApi::Testing::SetDismResults({0, 0, 0x80070BC2u, 0, 0});  // 3010 as an HRESULT
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5031356"), Hotfix(L"KB200")}));
    EXPECT_TRUE(main().Shown(L"btnUniNameKB5031356"));
    EXPECT_FALSE(main().Shown(RESTART_BAR));

    bool mainTookInput = true;
    const WindowState dialog = ClickAndAnswer({DuiLib::UIKEY_RETURN}, &mainTookInput);
    ASSERT_NE(dialog.hwnd, nullptr);
    EXPECT_TRUE(dialog.modal);
    EXPECT_FALSE(mainTookInput);
    EXPECT_EQ(dialog.title, L"Uninstall cumulative update");
    ASSERT_TRUE(RemovalHeld());

    // Running: the other row waits, Windows' session end waits, progress shows.
    EXPECT_FALSE(main().Find(L"btnUniNameKB200")->IsEnabled());
    EXPECT_EQ(MainState().shutdownBlockReason, L"Uninstalling an update…");
    EXPECT_EQ(main().InRow<CLabelUI>(0, L"removalProgressText")->GetText().str(),
              L"Uninstalling… 0%");
    WindowsHotfix::WindowsHotfixHelper::GetInstance()->ReportUninstallProgress(40);
    auto* bar = main().FindAs<DuiLib::CProgressUI>(L"progressBarKB5031356");
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(main().PumpUntil([&] { return bar->GetValue() == 40; }));
    main().driver().TickTimers(1);
    EXPECT_EQ(main().InRow<CLabelUI>(0, L"removalProgressText")->GetText().str(),
              L"Uninstalling… 40%");
    EXPECT_NE(DuiLib::Accessible::Describe(main().window().GetPaintManager().GetRoot())
                  .find(L"progress bar \"Uninstalling… KB5031356\" [] = \"40%\""),
              std::wstring::npos)
        << DuiLib::Accessible::Describe(main().window().GetPaintManager().GetRoot());

    Release();
    auto* label = main().InRow<CLabelUI>(0, L"labUniNameKB5031356");
    ASSERT_TRUE(main().PumpUntil([&] { return label->IsVisible(); }));
    const OutcomeLook& look = LookOf(UNINSTALL_NEED_RESTART);
    EXPECT_EQ(label->GetText().str(), String(look.textKey));
    EXPECT_EQ(label->GetTextColor(), look.color);
    EXPECT_FALSE(main().Shown(L"removalProgressLyt"));
    EXPECT_TRUE(main().Shown(RESTART_BAR));
    EXPECT_TRUE(main().Find(L"btnUniNameKB200")->IsEnabled());
    EXPECT_EQ(MainState().shutdownBlockReason, L"");

    const std::vector<std::wstring> calls = WinApi::Testing::DismCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(),
                         L"DismRemovePackage(" + kRollup + L",DismPackageName,cancel:none)"),
              1);
    for (const std::wstring& call : calls) EXPECT_EQ(call.find(kStack), std::wstring::npos);
    EXPECT_TRUE(installer.Calls().empty());
}

// Esc, and Tab to "Cancel" then Enter, close the dialog with nothing started.
TEST_F(CumulativeRemovalTest, CancellingTheDialogStartsNothing) {
    FakeInstaller installer(m_folder);
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5031356"), Hotfix(L"KB200")}));
    const std::vector<std::vector<unsigned>> answers = {{DuiLib::UIKEY_ESCAPE},
                                                        {DuiLib::UIKEY_TAB, DuiLib::UIKEY_RETURN}};
    for (const auto& keys : answers) {
        ASSERT_NE(ClickAndAnswer(keys).hwnd, nullptr);
        main().driver().Pump();
        EXPECT_TRUE(main().Shown(L"btnUniNameKB5031356")) << keys.size();
        EXPECT_TRUE(main().Find(L"btnUniNameKB5031356")->IsEnabled()) << keys.size();
        EXPECT_TRUE(main().Find(L"btnUniNameKB200")->IsEnabled()) << keys.size();
    }
    for (const WindowState& state : DuiLib::Headless::Windows())
        EXPECT_NE(state.className, CONFIRM_WINDOW_CLASS);
    EXPECT_TRUE(WinApi::Testing::DismCalls().empty());
    EXPECT_TRUE(installer.Calls().empty());
}

TEST_F(CumulativeRemovalTest, ClosingOrEndingTheSessionWaitsForTheRemoval) {
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5031356")}));
    ClickAndAnswer({DuiLib::UIKEY_RETURN});
    ASSERT_TRUE(RemovalHeld());

    ASSERT_TRUE(main().driver().Click(CLOSE_BUTTON));
    DuiLib::WindowApi::SendMessageW(main().hwnd(), WM_CLOSE, 0, 0);  // Alt+F4, the taskbar
    main().driver().Pump();
    WindowState state;
    ASSERT_TRUE(DuiLib::Headless::FindWindowState(main().hwnd(), state));
    EXPECT_TRUE(main().Shown(L"closingNoticeBar"));
    EXPECT_EQ(main().Text(CLOSING_NOTICE), String(L"IDS_CLOSING_WHILE_REMOVING"));
    EXPECT_FALSE(DuiLib::Headless::IsQuitPending());
    EXPECT_EQ(DuiLib::WindowApi::SendMessageW(main().hwnd(), WM_QUERYENDSESSION, 0, 0), FALSE);

    Release();
    ASSERT_TRUE(main().PumpUntil([&] {
        return DuiLib::Headless::IsQuitPending() &&
               !DuiLib::Headless::FindWindowState(main().hwnd(), state);
    }));
}

// The rows show before the store read ends, their buttons idle and enabled. A
// click meanwhile is kept and carried out on the route the read then gives (the
// cumulative row asks first and never starts the installer); a second click
// meanwhile changes nothing.
TEST_F(CumulativeRemovalTest, AClickBeforeTheStoreReadEndsIsCarriedOutOnItsRoute) {
    FakeInstaller installer(m_folder);
    // The restart check comes after the plans: holding it holds their delivery.
    WinApi::Testing::SetRegistryOpenHook([this](const std::wstring& path) {
        if (path.find(L"rebootpending") == std::wstring::npos) return;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_held = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_hold; });
    });
    m_enumeration.Succeed({Hotfix(L"KB5031356"), Hotfix(L"KB200")});
    m_main.reset(new OpenMainWindow());
    ASSERT_TRUE(main().PumpUntil([&] {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_held && main().RowCount() == 2;
    }));

    for (const wchar_t* button : {L"btnUniNameKB5031356", L"btnUniNameKB200"}) {
        EXPECT_TRUE(main().Shown(button));
        EXPECT_TRUE(main().Find(button)->IsEnabled()) << button;
    }
    LogCapture log;
    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB5031356")) << main().driver().LastError();
    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB200")) << main().driver().LastError();
    main().driver().Pump();
    EXPECT_EQ(log.Matching(L"click hotfix name:").size(), 1u);
    EXPECT_TRUE(main().Find(L"btnUniNameKB200")->IsEnabled());  // nothing started yet

    WindowState dialog;
    AnswerConfirmation({DuiLib::UIKEY_ESCAPE}, dialog);
    Release();
    ASSERT_TRUE(main().PumpUntil([&] { return dialog.hwnd != nullptr; }));
    DuiLib::Headless::SetIdleHook(nullptr);
    ASSERT_TRUE(main().WaitForResultView());
    main().driver().Pump();
    EXPECT_TRUE(WinApi::Testing::DismCalls().empty());  // declined in the confirmation
    EXPECT_TRUE(installer.Calls().empty());
    EXPECT_TRUE(main().Find(L"btnUniNameKB200")->IsEnabled());
}

// Progress lines alone are written at the information level: these, and every
// other line (failures, routes, the servicing store, confirmations, restarts) as
// an error. Read over a whole run: the load, a removal by the installer, one
// through the servicing API and a restart.
TEST_F(CumulativeRemovalTest, OnlyTheProgressLinesAreInformation) {
    const std::vector<std::wstring> kInformation = {L"get install hotfix start!",
                                                    L"get install hotfix end!",
                                                    L"find value success!",
                                                    L"get install list ret:",
                                                    L"ENTER Reload Hotfix link",
                                                    L"MainWindow OnMouseEnter btnUninstallTip!",
                                                    L"MainWindow OnMouseLeave btnUninstallTip!",
                                                    L"click hotfix name:",
                                                    L"unstall status ui callback status:",
                                                    L"find kb is "};
    const auto isInformation = [&](const std::wstring& text) {
        return std::any_of(
            kInformation.begin(), kInformation.end(),
            [&](const std::wstring& message) { return text.rfind(message, 0) == 0; });
    };
    LogCapture log;
    FakeInstaller installer(m_folder);
    installer.ExitWith(3010);
    WinApi::Testing::SetDismResults({0, 0, 0x80070BC2u, 0, 0});
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5031356"), Hotfix(L"KB200")}));
    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB200"));
    ASSERT_TRUE(main().PumpUntil([&] { return main().Shown(L"labUniNameKB200"); }));
    ClickAndAnswer({DuiLib::UIKEY_RETURN});
    ASSERT_TRUE(RemovalHeld());
    Release();
    ASSERT_TRUE(main().PumpUntil([&] { return main().Shown(L"labUniNameKB5031356"); }));
    WinApi::Testing::SetShutdownResults(0, 0);
    ASSERT_TRUE(main().driver().Click(RESTART_NOW_BUTTON));
    ASSERT_TRUE(FinishBackgroundWork());

    const std::vector<LogRecord> records = log.Records();
    for (const LogRecord& record : records) {
        EXPECT_EQ(record.level, isInformation(record.text) ? LOG_INFO : LOG_ERROR) << record.text;
    }
    // The run went through every part: the servicing store, both routes, the restart.
    for (const wchar_t* part :
         {L"get install list ret:0", L"hotfixes off the installer route:", L"find kb is 200",
          L"confirm KB5031356 answer:", L"remove package:", L"restart of windows started"}) {
        EXPECT_TRUE(log.Contains(part)) << part;
    }
}

struct RestartCase {
    long long installerExit;
    UninstallStatus status;
    const wchar_t* reason;  // the grey line under the label; empty: none shows
};

class RestartBarTest : public UiTest, public ::testing::WithParamInterface<RestartCase> {
protected:
    void TearDown() override {
        UiTest::TearDown();
        WinApi::Testing::ResetShutdown();
    }
};

// An outcome that wants a restart brings the bar; "Restart now" asks Windows to
// restart, and a refusal shows its code on the bar.
TEST_P(RestartBarTest, AnOutcomeThatWantsARestartOffersOne) {
    WinApi::Testing::ResetShutdown();
    FakeInstaller installer(m_folder);
    installer.ExitWith(GetParam().installerExit);
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB11"), Hotfix(L"KB22")}));
    EXPECT_FALSE(main().Shown(RESTART_BAR));
    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB22"));
    auto* label = main().InRow<CLabelUI>(1, L"labUniNameKB22");
    ASSERT_TRUE(main().PumpUntil([&] { return label->IsVisible(); }));
    const OutcomeLook& look = LookOf(GetParam().status);
    EXPECT_EQ(label->GetText().str(),
              DuiLib::UICulture::GetInstance()->GetString(look.textKey).str());
    EXPECT_EQ(label->GetTextColor(), look.color);
    auto* reason = main().InRow<CLabelUI>(1, L"labReasonKB22");
    ASSERT_NE(reason, nullptr);
    EXPECT_EQ(reason->IsVisible(), *GetParam().reason != L'\0');
    if (reason->IsVisible()) {
        EXPECT_EQ(reason->GetText().str(), GetParam().reason);
        EXPECT_EQ(reason->GetToolTip().str(), GetParam().reason);
        EXPECT_EQ(reason->GetTextColor(), 0xFF767676u);
        DuiLib::CControlUI* row = label;
        while (row->GetName() != L"hotfixItemRoot") row = row->GetParent();
        EXPECT_EQ(DuiLib::Accessible::DescriptionOf(row), GetParam().reason);
    }
    EXPECT_TRUE(main().Shown(RESTART_BAR));

    WinApi::Testing::SetShutdownResults(0, 1190);  // ERROR_SHUTDOWN_IS_SCHEDULED
    ASSERT_TRUE(main().driver().Click(RESTART_NOW_BUTTON));
    EXPECT_EQ(main().Text(RESTART_BAR_TEXT), L"The restart could not be started (error 1190).");
    WinApi::Testing::SetShutdownResults(0, 0);
    ASSERT_TRUE(main().driver().Click(RESTART_NOW_BUTTON));
    const auto calls = WinApi::Testing::ShutdownCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[1].privilegeEnabled);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, RestartBarTest,
                         ::testing::Values(RestartCase{3010, UNINSTALL_NEED_RESTART, L""},
                                           RestartCase{0x80070BC9LL, UNINSTALL_FAIL,
                                                       L"Restart your PC, then try again."}));

TEST_F(UiTest, ARestartWindowsAlreadyWaitsForShowsTheBarAtStart) {
    FakeServicingStore store("RestartPendingAtStart.Store");
    WinApi::Testing::AddRegistryKey(
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based "
        L"Servicing\\RebootPending");
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB11")}));
    EXPECT_TRUE(main().Shown(RESTART_BAR));
    EXPECT_EQ(main().Text(RESTART_BAR_TEXT), L"Restart your PC to finish uninstalling updates.");
}

}  // namespace

namespace {

// Windows Server 2019: an update with one top-level package is removed by its
// name through the servicing API after the app's own question; the installer
// never starts.
TEST_F(CumulativeRemovalTest, OnServerAnUpdateGoesByItsPackageAndNeverByTheInstaller) {
    const std::wstring package = L"Package_for_KB5034441~31bf3856ad364e35~amd64~~10.0.1.0";
    m_store.AddPackage(package, 0x70,
                       FakeServicingStore::Manifest("Package_for_KB5034441", "KB5034441", false));
    FakeServicingStore::SetRunningVersion(L"InstallationType", L"Server");
    FakeServicingStore::SetRunningVersion(L"CurrentBuildNumber", L"17763");
    FakeInstaller installer(m_folder);
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5031356"), Hotfix(L"KB5034441")}));
    WindowState dialog;
    AnswerConfirmation({DuiLib::UIKEY_RETURN}, dialog);
    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB5034441")) << main().driver().LastError();
    DuiLib::Headless::SetIdleHook(nullptr);
    EXPECT_EQ(dialog.title, L"Uninstall update");
    ASSERT_TRUE(RemovalHeld());
    Release();
    auto* label = main().InRow<CLabelUI>(1, L"labUniNameKB5034441");
    ASSERT_TRUE(main().PumpUntil([&] { return label->IsVisible(); }));
    const auto calls = WinApi::Testing::DismCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(),
                        L"DismRemovePackage(" + package + L",DismPackageName,cancel:none)"),
              calls.end());
    EXPECT_TRUE(installer.Calls().empty());
}

}  // namespace
