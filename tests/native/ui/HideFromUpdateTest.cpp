// Hiding an update from Windows Update, through the Windows Update stand-in: a
// removed row's link (search, find its KB, hide it, say why not), cancelling
// by Esc or by closing, one operation at a time beside the uninstalls, the
// restart outcome's tip, and the Hide updates dialog driven by keys alone.
#include <algorithm>
#include <condition_variable>
#include <iterator>
#include <mutex>

#include "UiFixtures.h"
#include "duilib/UIAccessible.h"
#include "hotfix/UpdateHiding.h"
#include "support/UrlsManagerTesting.h"
#include "ui/hide/HideUpdatesDialog.h"
#include "winapi/WindowsUpdateTesting.h"

using namespace UiFixtures;
using DuiLib::UIKEY_ESCAPE;
using DuiLib::UIKEY_RETURN;
using DuiLib::UIKEY_TAB;
using WinApi::OfferedUpdate;
namespace Wu = WinApi::Testing;

namespace {

OfferedUpdate Offered(const wchar_t* title, const wchar_t* kb, bool hidden = false) {
    return OfferedUpdate{title, {kb}, hidden, false};
}

const wchar_t* const kCumulative =
    L"2026-11 Cumulative Update for Windows 11 Version 24H2 for x64-based Systems (KB5034441)";
const wchar_t* const kDefender =
    L"Security Intelligence Update for Microsoft Defender Antivirus - KB2267602 (Version 1.421.1)";

// The calls hiding makes: the titles' history read after each load is not one of them.
std::vector<std::wstring> HidingCalls() {
    std::vector<std::wstring> calls = Wu::WindowsUpdateCalls();
    calls.erase(std::remove(calls.begin(), calls.end(), L"ReadUpdateHistory"), calls.end());
    return calls;
}

// A search that waits until the test lets it go (or until it is aborted).
class HeldSearch {
public:
    HeldSearch() {
        Wu::SetSearchHook([this] {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_entered = true;
            m_changed.notify_all();
            // The stand-in's Abort does not know this hook: it looks every few milliseconds.
            while (!m_released && !Wu::SearchAborted())
                m_changed.wait_for(lock, std::chrono::milliseconds(5));
        });
    }
    ~HeldSearch() { Release(); }
    void Release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }
    // Any thread: true once the search is held (a pump would not see it: no message comes).
    bool WaitEntered() {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(5), [this] { return m_entered; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_entered = false;
    bool m_released = false;
};

class HideFromUpdateTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Wu::ResetWindowsUpdate();
        m_installer.reset(new FakeInstaller(m_folder));
    }
    void TearDown() override {
        m_held.reset();
        UiTest::TearDown();
        Wu::ResetWindowsUpdate();
    }
    // Removes row `index` (its id `id`) with the fake installer's exit code.
    void Uninstall(int index, const std::wstring& id, long long exitCode = 0) {
        m_installer->ExitWith(exitCode);
        // A screen reader's press: a lower row may be out of view.
        ASSERT_TRUE(DuiLib::Accessible::DoDefaultAction(main().Find((L"btnUniName" + id).c_str())));
        ASSERT_TRUE(main().PumpUntil([&] {
            auto* label = main().InRow(index, (L"labUniName" + id).c_str());
            return label != nullptr && label->IsVisible();
        }));
    }
    std::wstring Reason(int index, const std::wstring& id) {
        DuiLib::CControlUI* reason = main().InRow(index, (L"labReason" + id).c_str());
        return reason && reason->IsVisible() ? reason->GetText().str() : L"";
    }
    DuiLib::CControlUI* HideLink(int index, const std::wstring& id) {
        return main().InRow(index, (L"hideFromUpdateLink" + id).c_str());
    }
    bool WaitForReason(int index, const std::wstring& id, const std::wstring& text) {
        return main().PumpUntil([&] { return Reason(index, id) == text; });
    }
    void Hold() { m_held.reset(new HeldSearch()); }
    // One removed row whose search Windows Update holds.
    void StartHeldRowSearch() {
        ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5034441")}));
        Uninstall(0, L"KB5034441");
        Hold();
        Wu::SetUpdateOffer(0, {Offered(kCumulative, L"5034441")});
        ASSERT_TRUE(main().driver().ClickLink(L"hideFromUpdateLinkKB5034441", 0));
        ASSERT_TRUE(m_held->WaitEntered());
    }

    std::unique_ptr<FakeInstaller> m_installer;
    std::unique_ptr<HeldSearch> m_held;
};

TEST_F(HideFromUpdateTest, ARemovedRowHidesExactlyItsUpdateWhileEveryOtherActionWaits) {
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5034441"), Hotfix(L"KB5031356")}));
    EXPECT_EQ(HideLink(0, L"KB5034441"), nullptr);  // offered only once removed
    Uninstall(0, L"KB5034441");
    DuiLib::CControlUI* link = HideLink(0, L"KB5034441");
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->IsVisible());
    EXPECT_EQ(link->GetText().str(), L"{a}Hide from Windows Update{/a}");
    EXPECT_EQ(DuiLib::Accessible::NameOf(link), L"Hide KB5034441 from Windows Update");

    Wu::SetUpdateOffer(0, {Offered(kDefender, L"2267602"), Offered(kCumulative, L"5034441")});
    Hold();
    ASSERT_TRUE(main().driver().ClickLink(L"hideFromUpdateLinkKB5034441", 0));
    EXPECT_EQ(Reason(0, L"KB5034441"), L"Searching Windows Update…");
    // Meanwhile no uninstall, no dialog.
    EXPECT_FALSE(main().Find(L"btnUniNameKB5031356")->IsEnabled());
    EXPECT_FALSE(main().Find(HIDE_UPDATES_BUTTON)->IsEnabled());
    ASSERT_TRUE(m_held->WaitEntered());
    m_held->Release();

    ASSERT_TRUE(WaitForReason(0, L"KB5034441", L"Hidden from Windows Update"));
    EXPECT_FALSE(link->IsVisible());
    EXPECT_TRUE(main().Find(L"btnUniNameKB5031356")->IsEnabled());
    EXPECT_TRUE(main().Find(HIDE_UPDATES_BUTTON)->IsEnabled());
    ASSERT_TRUE(FinishBackgroundWork());
    EXPECT_EQ(HidingCalls(),
              (std::vector<std::wstring>{
                  L"Search(IsInstalled=0 and IsHidden=0 or IsInstalled=0 and IsHidden=1)",
                  L"SetHidden(5034441,true)"}));
}

// Every answer Windows Update can give, in words, each on a row of its own.
TEST_F(HideFromUpdateTest, EachAnswerOfWindowsUpdateIsSaidInWords) {
    OfferedUpdate mandatory = Offered(kCumulative, L"5000005");
    mandatory.mandatory = true;
    const struct {
        uint32_t searchResult;
        std::vector<OfferedUpdate> offer;
        uint32_t hideResult;
        const wchar_t* words;
    } cases[] = {
        {0,
         {Offered(kDefender, L"2267602")},
         0,
         L"Windows Update doesn't offer it right now. If it comes back, hide it in Hide updates."},
        {0x80070422, {}, 0, L"The Windows Update service is turned off."},
        {0x8024402C, {}, 0, L"Windows Update can't connect. Check your internet connection."},
        {0x80072EFD, {}, 0, L"Windows Update can't connect. Check your internet connection."},
        {0,
         {mandatory},
         0x80240036,
         L"Windows Update requires this update, so it can't be hidden."},
        {0,
         {Offered(kCumulative, L"5000006")},
         0x80070005,
         L"Windows Update couldn't hide it. Error 0x80070005"},
        {0x80040154, {}, 0, L"Windows Update isn't available on this PC."},
        {0, {Offered(kCumulative, L"5000008", true)}, 0, L"Hidden from Windows Update"},
    };
    const int count = static_cast<int>(std::size(cases));
    ASSERT_TRUE(OpenWithRows(NumberedHotfixes(count, 5000001)));
    for (int i = 0; i < count; ++i) {
        const std::wstring id = L"KB" + std::to_wstring(5000001 + i);
        SCOPED_TRACE(id);
        Uninstall(i, id);
        Wu::SetUpdateOffer(cases[i].searchResult, cases[i].offer);
        Wu::SetHideResult(cases[i].hideResult);
        // A screen reader's press: the lower rows are out of view.
        ASSERT_TRUE(DuiLib::Accessible::DoDefaultAction(HideLink(i, id)));
        EXPECT_TRUE(WaitForReason(i, id, cases[i].words)) << Reason(i, id);
        EXPECT_FALSE(main().window().IsAskingWindowsUpdate());
    }
}

TEST_F(HideFromUpdateTest, EscCancelsTheSearchAndTheLinkIsOfferedAgain) {
    ASSERT_NO_FATAL_FAILURE(StartHeldRowSearch());
    EXPECT_EQ(main().Text(L"hideFromUpdateLinkKB5034441"), L"{a}Cancel{/a}");

    ASSERT_TRUE(main().driver().PressKey(UIKEY_ESCAPE));
    EXPECT_TRUE(Wu::SearchAborted());
    EXPECT_FALSE(main().window().IsAskingWindowsUpdate());
    ASSERT_TRUE(FinishBackgroundWork(5000));
    EXPECT_EQ(Reason(0, L"KB5034441"), L"");
    EXPECT_EQ(main().Text(L"hideFromUpdateLinkKB5034441"), L"{a}Hide from Windows Update{/a}");
    EXPECT_TRUE(main().Shown(L"hideFromUpdateLinkKB5034441"));
    const auto calls = Wu::WindowsUpdateCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), L"SetHidden(5034441,true)"), 0);
}

TEST_F(HideFromUpdateTest, ClosingTheWindowAbortsTheSearchAndLeavesNothingRunning) {
    ASSERT_NO_FATAL_FAILURE(StartHeldRowSearch());

    ASSERT_TRUE(main().driver().Click(L"closeButton"));
    EXPECT_TRUE(Wu::SearchAborted());
    // The worker ends without being released: the abort alone ends it.
    EXPECT_TRUE(DetachedThreads::WaitUntilNoneRuns(5000));
    const auto calls = Wu::WindowsUpdateCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), L"SetHidden(5034441,true)"), 0);
}

TEST_F(HideFromUpdateTest, AnUninstallAndAWindowsUpdateOperationNeverRunTogether) {
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5034441"), Hotfix(L"KB5031356")}));
    Uninstall(0, L"KB5034441");
    m_installer->Hold();
    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB5031356"));
    // While it uninstalls: the other row's link and the dialog wait.
    EXPECT_FALSE(HideLink(0, L"KB5034441")->IsEnabled());
    EXPECT_FALSE(main().Find(HIDE_UPDATES_BUTTON)->IsEnabled());
    main().driver().ClickLink(L"hideFromUpdateLinkKB5034441", 0);
    EXPECT_FALSE(main().window().IsAskingWindowsUpdate());
    m_installer->Release();
    ASSERT_TRUE(main().PumpUntil([&] { return HideLink(0, L"KB5034441")->IsEnabled(); }));
    EXPECT_TRUE(main().Find(HIDE_UPDATES_BUTTON)->IsEnabled());
    ASSERT_TRUE(FinishBackgroundWork());
    EXPECT_TRUE(HidingCalls().empty());
}

TEST_F(HideFromUpdateTest, ARemovalThatWaitsForTheRestartSaysHidingComesAfterIt) {
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5034441")}));
    Uninstall(0, L"KB5034441", 3010);
    DuiLib::CControlUI* label = main().InRow(0, L"labUniNameKB5034441");
    EXPECT_EQ(label->GetText().str(), L"Restart to finish");
    EXPECT_EQ(label->GetToolTip().str(),
              L"After the restart, you can hide this update in Hide updates.");
    EXPECT_EQ(HideLink(0, L"KB5034441"), nullptr);
}

// The dialog on its own, as the main window opens it, driven by keys alone.
class HideUpdatesDialogTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Wu::ResetWindowsUpdate();
        UrlsManagerTesting::SetOpener([this](const std::wstring& url) {
            m_asUser.push_back(url);
            return UrlOpeners::DesktopShellResult{UrlOpeners::DesktopShellResult::kOpened, L""};
        });
    }
    void TearDown() override {
        m_driver.reset();
        m_dialog.reset();
        UrlsManagerTesting::SetOpener(nullptr);
        UiTest::TearDown();
        Wu::ResetWindowsUpdate();
    }
    void Open() {
        m_dialog.reset(new HideUpdatesDialog());
        ASSERT_NE(m_dialog->Create(nullptr, L"", WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, nullptr),
                  nullptr);
        m_driver.reset(new DuiLib::UITestDriver(*m_dialog));
    }
    std::wstring Text(const wchar_t* name) { return m_driver->Find(name)->GetText().str(); }

    std::unique_ptr<HideUpdatesDialog> m_dialog;
    std::unique_ptr<DuiLib::UITestDriver> m_driver;
    std::vector<std::wstring> m_asUser;
};

TEST_F(HideUpdatesDialogTest, HidesAndShowsAgainByKeysInTheSearchsOrder) {
    Wu::SetUpdateOffer(0, {Offered(kCumulative, L"5034441"), Offered(kDefender, L"2267602", true)});
    Open();
    ASSERT_TRUE(m_driver->PumpUntil([&] { return m_dialog->LineButton(1) != nullptr; }, 5000));
    DuiLib::CButtonUI* first = m_dialog->LineButton(0);
    DuiLib::CButtonUI* second = m_dialog->LineButton(1);
    EXPECT_EQ(first->GetText().str(), L"Hide");
    EXPECT_EQ(second->GetText().str(), L"Show again");
    EXPECT_EQ(DuiLib::Accessible::NameOf(first), L"Hide KB5034441");
    EXPECT_EQ(m_driver->FocusName(), first->GetName().str());  // the first line has the focus

    ASSERT_TRUE(m_driver->PressKey(UIKEY_RETURN));
    ASSERT_TRUE(m_driver->PumpUntil([&] { return first->GetText() == L"Show again"; }, 5000));
    EXPECT_EQ(Text(HIDE_UPDATES_STATUS), L"KB5034441: Hidden from Windows Update");
    ASSERT_TRUE(m_driver->PressKey(UIKEY_TAB));
    EXPECT_EQ(m_driver->FocusName(), second->GetName().str());
    ASSERT_TRUE(DuiLib::Accessible::DoDefaultAction(second));  // a screen reader's press
    ASSERT_TRUE(m_driver->PumpUntil([&] { return second->GetText() == L"Hide"; }, 5000));
    EXPECT_EQ(Text(HIDE_UPDATES_STATUS), L"KB2267602: Shown again in Windows Update");

    ASSERT_TRUE(m_driver->ClickLink(PAUSE_UPDATES_LINK, 0));
    EXPECT_EQ(m_asUser, std::vector<std::wstring>{L"ms-settings:windowsupdate"});
    ASSERT_TRUE(m_driver->PressKey(UIKEY_ESCAPE));
    ASSERT_TRUE(FinishBackgroundWork(5000));
    EXPECT_EQ(HidingCalls(),
              (std::vector<std::wstring>{
                  L"Search(IsInstalled=0 and IsHidden=0 or IsInstalled=0 and IsHidden=1)",
                  L"SetHidden(5034441,true)", L"SetHidden(2267602,false)"}));
}

TEST_F(HideUpdatesDialogTest, EscDuringTheSearchAbortsItAndNothingIsLeftRunning) {
    HeldSearch held;
    Wu::SetUpdateOffer(0, {Offered(kCumulative, L"5034441")});
    Open();
    ASSERT_TRUE(held.WaitEntered());
    EXPECT_TRUE(m_driver->IsShown(HIDE_UPDATES_SEARCHING));
    EXPECT_EQ(m_driver->FocusName(), HIDE_UPDATES_CANCEL);
    ASSERT_TRUE(m_driver->PressKey(UIKEY_ESCAPE));
    EXPECT_TRUE(m_driver->PumpUntil([] { return Wu::SearchAborted(); }, 5000));
    EXPECT_TRUE(DetachedThreads::WaitUntilNoneRuns(5000));
}

TEST_F(HideUpdatesDialogTest, WithoutWindowsUpdateTheDialogSaysSo) {
    Wu::SetUpdateOffer(0x80040154, {});
    Open();
    ASSERT_TRUE(m_driver->PumpUntil([&] { return m_driver->IsShown(HIDE_UPDATES_MESSAGE); }, 5000));
    EXPECT_EQ(Text(HIDE_UPDATES_MESSAGE), L"Windows Update isn't available on this PC.");
    EXPECT_EQ(m_driver->FocusName(), HIDE_UPDATES_CLOSE);
}

}  // namespace
