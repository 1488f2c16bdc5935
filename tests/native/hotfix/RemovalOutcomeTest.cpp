// Outcomes that are decided by more than a code: the installer's "already
// uninstalled" checked against the servicing store, a package removed through
// the servicing API (its calls, progress and results), and the restart.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "hotfix/ServicingStore.h"
#include "hotfix/UninstallWorker.h"
#include "hotfix/WindowsHotfixHelper.h"
#include "support/DetachedThreads.h"
#include "testkit/FakeServicingStore.h"
#include "testkit/LogCapture.h"
#include "testkit/TestPaths.h"
#include "testkit/UninstallOutcomes.h"
#include "winapi/DismTesting.h"
#include "winapi/ProcessLaunchTesting.h"
#include "winapi/ProtectedFolderTesting.h"
#include "winapi/Shutdown.h"
#include "winapi/ShutdownTesting.h"

using namespace WindowsHotfix;

namespace {

const std::wstring kRollup = L"Package_for_RollupFix~31bf3856ad364e35~amd64~~19041.3570.1.12";

class RemovalOutcome : public ::testing::Test {
public:
    void SetUp() override {
        WinApi::Testing::ResetProcessLaunch();
        WinApi::Testing::ResetDism();
        WinApi::Testing::ResetShutdown();
        m_folder = TestPaths::MakeScratchDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        m_listening = std::make_unique<UninstallOutcomes::Listening>(m_outcomes);
    }
    void TearDown() override {
        EXPECT_TRUE(DetachedThreads::WaitUntilNoneRuns(30000));
        m_listening.reset();
        WinApi::Testing::ResetProcessLaunch();
        WinApi::Testing::ResetDism();
        WinApi::Testing::ResetShutdown();
        WinApi::Testing::SetProtectedProgramDataFolder(L"");
    }

    std::string m_folder;
    UninstallOutcomes m_outcomes;
    std::unique_ptr<UninstallOutcomes::Listening> m_listening;
};

struct StoreChange {
    const char* name;
    uint32_t exitCode;
    uint32_t before;  // the cumulative package's state when the removal starts
    uint32_t after;   // ... and when the installer has ended
    UninstallStatus status;
    const wchar_t* logged;  // the store's line, or empty when the code decides alone
};

// After the installer, the store decides where it knew the packages before.
TEST_F(RemovalOutcome, AfterTheInstallerTheStoreDecidesWhereItKnewThePackages) {
    const StoreChange cases[] = {
        {"already uninstalled, gone meanwhile", 0x00240007, 0x70, 0x00, UNINSTALL_SUCCESS,
         L"KB5031356 removed: no package of it left"},
        {"already uninstalled, still there", 0x00240007, 0x70, 0x70, UNINSTALL_FAIL,
         L"KB5031356 not removed: packages still present("},
        {"already uninstalled, never known", 0x00240007, 0x00, 0x00, UNINSTALL_FAIL,
         L"KB5031356 not removed: no package of it known before"},
        {"removed, waiting for the restart", 0, 0x70, 0x05, UNINSTALL_NEED_RESTART,
         L"KB5031356 removed once windows restarts: packages pending removal"},
        {"said removed, still installed", 0, 0x70, 0x70, UNINSTALL_FAIL,
         L"KB5031356 not removed: packages still present("},
        {"restart needed, and so it is", 3010, 0x70, 0x05, UNINSTALL_NEED_RESTART, L""},
        {"removed, and so it is", 0, 0x70, 0x00, UNINSTALL_SUCCESS, L""},
        {"failed, still installed", 0x80070422, 0x70, 0x70, UNINSTALL_FAIL, L""},
        {"removed, unknown to the store", 0, 0x00, 0x00, UNINSTALL_SUCCESS, L""},
    };
    // The installer waits for the test to change the store, then exits with the case's code.
    const std::string go = m_folder + "/go";
    const std::string code = m_folder + "/code";
    const std::string script = m_folder + "/wusa.sh";
    std::ofstream(script) << "#!/bin/sh\nwhile [ ! -f '" << go << "' ]; do sleep 0.01; done\ncat '"
                          << code << "' > \"$WINAPI_EXIT_CODE_FILE\"\n";
    chmod(script.c_str(), 0755);
    FakeServicingStore store("RemovalOutcome.Store");
    for (const StoreChange& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(go.c_str());
        std::ofstream(code) << c.exitCode << "\n";
        m_outcomes.Clear();
        WinApi::Testing::ResetProcessLaunch();
        WinApi::Testing::MapProgram(InstallerPath(), script);
        store.Clear();
        store.AddPackage(kRollup, c.before,
                         FakeServicingStore::Manifest("Package_for_RollupFix", "KB5031356", false));
        LogCapture capture;
        WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(L" /uninstall /kb:5031356");
        for (int i = 0; i < 3000 && WinApi::Testing::LaunchRecords().empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        store.Clear();
        store.AddPackage(kRollup, c.after,
                         FakeServicingStore::Manifest("Package_for_RollupFix", "KB5031356", false));
        std::ofstream(go).put('\n');
        EXPECT_EQ(m_outcomes.WaitFor(1), std::vector<UninstallStatus>{c.status});
        ASSERT_TRUE(DetachedThreads::WaitUntilNoneRuns(30000));
        // The store reads write nothing of their own; only a decision they make is logged.
        std::vector<std::wstring> lines = capture.Texts();
        if (*c.logged != L'\0') {
            ASSERT_EQ(lines.size(), 2u);
            EXPECT_EQ(lines[0].rfind(c.logged, 0), 0u) << lines[0];
        } else {
            EXPECT_EQ(lines.size(), 1u);
        }
        EXPECT_TRUE(capture.Contains(L"update uninstall status:" +
                                     std::to_wstring(static_cast<int>(c.exitCode)) + L"("));
    }
}

struct DismCase {
    const char* name;
    WinApi::Testing::DismResults results;
    UninstallStatus status;
    std::vector<std::wstring> calls;  // after DismInitialize
    const wchar_t* logged;            // a failure's line, else empty
};

TEST_F(RemovalOutcome, PackageRemovalRunsTheServicingCallsInOrderAndMapsTheResult) {
    const std::wstring remove = L"DismRemovePackage(" + kRollup + L",DismPackageName,cancel:none)";
    const std::vector<std::wstring> full = {L"DismOpenSession(DISM_ONLINE_IMAGE,NULL,NULL)", remove,
                                            L"DismCloseSession", L"DismShutdown"};
    std::vector<std::wstring> failed = full;
    failed.insert(failed.begin() + 2, {L"DismGetLastErrorMessage", L"DismDelete"});
    const DismCase cases[] = {
        {"removed", {}, UNINSTALL_SUCCESS, full, L""},
        {"removed, restart needed", {0, 0, 0x80070BC2}, UNINSTALL_NEED_RESTART, full, L""},
        {"permanent after all",
         {0, 0, 0x800F0825},
         UNINSTALL_CANNOT,
         failed,
         L"DismRemovePackage fail! ret:0x800F0825 message:The package is locked."},
        {"other failure",
         {0, 0, 0x800F0805},
         UNINSTALL_FAIL,
         failed,
         L"DismRemovePackage fail! ret:0x800F0805 message:The package is locked."},
        {"no session",
         {0, 0x80070005},
         UNINSTALL_FAIL,
         {L"DismOpenSession(DISM_ONLINE_IMAGE,NULL,NULL)", L"DismGetLastErrorMessage",
          L"DismDelete", L"DismShutdown"},
         L"DismOpenSession fail! ret:0x80070005 message:The package is locked."},
        {"not initialized",
         {0x8007007E},
         UNINSTALL_FAIL,
         {L"DismGetLastErrorMessage", L"DismDelete"},
         L"DismInitialize fail! ret:0x8007007E message:The package is locked."},
    };
    WinApi::Testing::SetProtectedProgramDataFolder(L"C:\\ProgramData\\Orvelle");
    for (const DismCase& c : cases) {
        SCOPED_TRACE(c.name);
        WinApi::Testing::ResetDism();
        WinApi::Testing::SetDismResults(c.results);
        WinApi::Testing::SetDismErrorMessage(L"The package is locked.");
        m_outcomes.Clear();
        LogCapture capture;
        WindowsHotfixHelper::GetInstance()->StartRemovePackage(kRollup);
        EXPECT_EQ(m_outcomes.WaitFor(1), std::vector<UninstallStatus>{c.status});
        ASSERT_TRUE(DetachedThreads::WaitUntilNoneRuns(30000));
        std::vector<std::wstring> calls = {
            L"DismInitialize(DismLogErrors,NULL,C:\\ProgramData\\Orvelle\\Scratch)"};
        calls.insert(calls.end(), c.calls.begin(), c.calls.end());
        EXPECT_EQ(WinApi::Testing::DismCalls(), calls);
        EXPECT_TRUE(capture.Contains(
            L"update uninstall status:" +
            std::to_wstring(static_cast<int>(c.results.removePackage | c.results.openSession |
                                             c.results.initialize))));
        if (*c.logged != L'\0') {
            EXPECT_TRUE(capture.Contains(c.logged));
        }
        const std::vector<int> steps = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
        const bool removing = std::find(c.calls.begin(), c.calls.end(), remove) != c.calls.end();
        EXPECT_EQ(m_outcomes.Progress(), removing ? steps : std::vector<int>());
    }
}

// A scratch folder someone else made (or none at all) is not handed on: the
// servicing API then chooses its own.
TEST_F(RemovalOutcome, WithoutAProtectedScratchFolderTheServicingApiChoosesItsOwn) {
    WinApi::Testing::SetProtectedProgramDataFolder(L"");
    WinApi::Testing::ResetDism();
    LogCapture capture;
    WindowsHotfixHelper::GetInstance()->StartRemovePackage(kRollup);
    EXPECT_EQ(m_outcomes.WaitFor(1), std::vector<UninstallStatus>{UNINSTALL_SUCCESS});
    ASSERT_TRUE(DetachedThreads::WaitUntilNoneRuns(30000));
    ASSERT_FALSE(WinApi::Testing::DismCalls().empty());
    EXPECT_EQ(WinApi::Testing::DismCalls()[0], L"DismInitialize(DismLogErrors,NULL,NULL)");
    EXPECT_EQ(capture.Matching(L"no protected scratch folder! ret:5(").size(), 1u);
}

TEST_F(RemovalOutcome, RestartEnablesThePrivilegeThenAsksForAPlannedHotfixRestart) {
    LogCapture capture;
    EXPECT_EQ(WindowsHotfixHelper::GetInstance()->RestartWindows(), 0u);
    auto calls = WinApi::Testing::ShutdownCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].privilegeEnabled);
    EXPECT_EQ(calls[0].flags, 0x84u);         // SHUTDOWN_RESTART | SHUTDOWN_RESTARTAPPS
    EXPECT_EQ(calls[0].reason, 0x80020017u);  // planned, operating system, hotfix uninstall

    WinApi::Testing::ResetShutdown();
    WinApi::Testing::SetShutdownResults(1300, 0);  // ERROR_NOT_ALL_ASSIGNED
    EXPECT_EQ(WindowsHotfixHelper::GetInstance()->RestartWindows(), 1300u);
    EXPECT_TRUE(WinApi::Testing::ShutdownCalls().empty());
    EXPECT_TRUE(capture.Contains(L"enable shutdown privilege fail! ret:1300("));

    WinApi::Testing::ResetShutdown();
    WinApi::Testing::SetShutdownResults(0, 1115);  // ERROR_SHUTDOWN_IN_PROGRESS
    EXPECT_EQ(WindowsHotfixHelper::GetInstance()->RestartWindows(), 1115u);
    EXPECT_TRUE(capture.Contains(L"InitiateShutdownW fail! ret:1115("));
}

}  // namespace
