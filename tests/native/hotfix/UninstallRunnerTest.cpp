// The uninstall runner end to end: real worker threads and real child
// processes standing in for wusa.exe (shell scripts in a scratch folder).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include "hotfix/UninstallReporter.h"
#include "hotfix/UninstallWorker.h"
#include "hotfix/WindowsHotfixHelper.h"
#include "hotfix/WindowsHotfixTesting.h"
#include "support/DetachedThreads.h"
#include "testkit/LogCapture.h"
#include "testkit/TestPaths.h"
#include "testkit/UninstallOutcomes.h"
#include "winapi/ProcessLaunch.h"
#include "winapi/ProcessLaunchTesting.h"
#include "winapi/WinApiTesting.h"

using namespace WindowsHotfix;

namespace {

const std::wstring kWorker =
    L"(WindowsHotfix::WindowsHotfixHelper::StartUninstallHotfix::UninstallWorker)";
const std::wstring kStatus = L"(WindowsHotfix::WindowsHotfixHelper::SetUninstallStatus)";
const std::wstring kParameters = L" /uninstall /kb:5005565";

// Waits until every worker has ended: reported, closed its handle, let go of the reporter.
bool WaitForWorkers() {
    return DetachedThreads::WaitUntilNoneRuns(30000);
}

// A fake installer: records its arguments, then ends with `body`.
std::string WriteInstaller(const std::string& folder, const std::string& body) {
    const std::string path = folder + "/wusa.sh";
    std::ofstream(path) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << folder << "/args.txt'\n"
                        << body << "\n";
    chmod(path.c_str(), 0755);
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class UninstallRunner : public ::testing::Test {
public:
    void SetUp() override {
        WinApi::Testing::ResetProcessLaunch();
        m_folder = TestPaths::MakeScratchDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(m_outcomes.StatusCallback());
    }
    void TearDown() override {
        EXPECT_TRUE(WaitForWorkers());
        WinApi::Testing::ResetProcessLaunch();
        WinApi::Testing::SetSystemDirectory(L"");
        Testing::SetThreadStarter(nullptr);
        WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(nullptr);
    }
    void UseInstaller(const std::string& body) {
        WinApi::Testing::MapProgram(InstallerPath(), WriteInstaller(m_folder, body));
    }
    std::vector<std::wstring> WorkerLines(const LogCapture& capture) {
        std::vector<std::wstring> lines;
        for (const LogRecord& record : capture.Records()) {
            if (record.text.find(kWorker) != std::wstring::npos ||
                record.text.find(kStatus) != std::wstring::npos) {
                EXPECT_EQ(record.level, LOG_ERROR) << record.text;
                lines.push_back(record.text);
            }
        }
        return lines;
    }

    std::string m_folder;
    UninstallOutcomes m_outcomes;
};

struct ExitCase {
    const char* name;
    const char* installerEnd;  // small codes through exit, large ones through the exit-code file
    std::vector<std::wstring> lines;  // each with kStatus after it
    UninstallStatus status;
};

TEST_F(UninstallRunner, EachInstallerExitCodeMapsToItsStatus) {
    const ExitCase cases[] = {
        {"success", "exit 0", {L"update uninstall status:0"}, UNINSTALL_SUCCESS},
        {"restart required",
         "echo 3010 > \"$WINAPI_EXIT_CODE_FILE\"",
         {L"update uninstall status:3010"},
         UNINSTALL_NEED_RESTART},
        {"restart initiated",
         "echo 1641 > \"$WINAPI_EXIT_CODE_FILE\"",
         {L"update uninstall status:1641"},
         UNINSTALL_NEED_RESTART},
        {"cancelled",
         "echo 1223 > \"$WINAPI_EXIT_CODE_FILE\"",
         {L"update uninstall status:1223"},
         UNINSTALL_CANCEL},
        {"cannot",
         "echo 0x80242004 > \"$WINAPI_EXIT_CODE_FILE\"",
         {L"update uninstall status:-2145116156"},
         UNINSTALL_CANNOT},
        {"other failure",
         "exit 1",
         {L"update uninstall status:1", L"uninstall code in hexadecimal:0x00000001"},
         UNINSTALL_FAIL},
        {"killed",
         "kill -9 $$",
         {L"update uninstall status:137", L"uninstall code in hexadecimal:0x00000089"},
         UNINSTALL_FAIL},
    };
    for (const ExitCase& c : cases) {
        SCOPED_TRACE(c.name);
        UninstallOutcomes outcomes;
        WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(outcomes.StatusCallback());
        UseInstaller(c.installerEnd);
        LogCapture capture;
        WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(kParameters);
        EXPECT_EQ(outcomes.WaitFor(1), std::vector<UninstallStatus>{c.status});
        ASSERT_TRUE(WaitForWorkers());
        EXPECT_EQ(WinApi::Testing::OpenProcessHandles(), 0);
        std::vector<std::wstring> lines;
        for (const std::wstring& line : c.lines) lines.push_back(line + kStatus);
        EXPECT_EQ(WorkerLines(capture), lines);
        EXPECT_EQ(ReadFile(m_folder + "/args.txt"), "/uninstall\n/kb:5005565\n");
    }
}

// The installer is the system folder's, started directly (no shell, no verb),
// in the system folder, with the quoted path and the parameters as they are.
TEST_F(UninstallRunner, InstallerStartsFromTheSystemFolderWithItsExactCommandLine) {
    const struct {
        const wchar_t* systemFolder;  // as GetSystemDirectoryW gives it
        const wchar_t* installer;
    } cases[] = {{L"", L"C:\\Windows\\System32\\wusa.exe"},
                 {L"D:\\WINDOWS\\system32", L"D:\\WINDOWS\\system32\\wusa.exe"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.installer);
        WinApi::Testing::ResetProcessLaunch();
        WinApi::Testing::SetSystemDirectory(c.systemFolder);
        UninstallOutcomes outcomes;
        WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(outcomes.StatusCallback());
        UseInstaller("exit 0");
        EXPECT_EQ(InstallerPath(), c.installer);
        WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(kParameters);
        EXPECT_EQ(outcomes.WaitFor(1), std::vector<UninstallStatus>{UNINSTALL_SUCCESS});
        const auto records = WinApi::Testing::LaunchRecords();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].application, c.installer);
        EXPECT_EQ(records[0].commandLine, L"\"" + std::wstring(c.installer) + L"\"" + kParameters);
        EXPECT_EQ(records[0].currentDirectory,
                  std::wstring(c.installer).substr(0, std::wstring(c.installer).rfind(L'\\')));
        ASSERT_TRUE(WaitForWorkers());
    }
}

struct FailureCase {
    const char* name;
    std::function<void(UninstallRunner&)> arrange;
    std::vector<std::wstring> lines;
    UninstallStatus status;
};

TEST_F(UninstallRunner, FailuresAreLoggedOnceAndReportedOnce) {
    const FailureCase cases[] = {
        {"start cancelled",
         [](UninstallRunner&) { WinApi::Testing::SetLaunchFailure(1223); },
         {L"ShellExecute exe fail! ret:1223" + kWorker, L"update uninstall status:1223" + kStatus},
         UNINSTALL_CANCEL},
        // Any other start or wait failure fails whatever its system error says.
        {"not started, no error given",
         [](UninstallRunner&) { WinApi::Testing::SetLaunchFailureWithoutError(true); },
         {L"ShellExecute exe fail! ret:0" + kWorker, L"update uninstall status:0" + kStatus},
         UNINSTALL_FAIL},
        {"installer missing",
         [](UninstallRunner& t) {
             WinApi::Testing::MapProgram(InstallerPath(), t.m_folder + "/absent");
         },
         {L"ShellExecute exe fail! ret:2" + kWorker, L"update uninstall status:2" + kStatus,
          L"uninstall code in hexadecimal:0x00000002" + kStatus},
         UNINSTALL_FAIL},
        {"started, then a wait that fails with a success code",
         [](UninstallRunner& t) {
             t.UseInstaller("exit 0");
             WinApi::Testing::SetExitCodeReadFailure(3010);
         },
         {L"GetExitCodeProcess fail! ret:3010" + kWorker,
          L"update uninstall status:3010" + kStatus},
         UNINSTALL_FAIL},
        {"exit code unreadable",
         [](UninstallRunner& t) {
             t.UseInstaller("exit 0");
             WinApi::Testing::SetExitCodeReadFailure(5);
         },
         {L"GetExitCodeProcess fail! ret:5" + kWorker, L"update uninstall status:5" + kStatus,
          L"uninstall code in hexadecimal:0x00000005" + kStatus},
         UNINSTALL_FAIL},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        WinApi::Testing::ResetProcessLaunch();
        UninstallOutcomes outcomes;
        WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(outcomes.StatusCallback());
        c.arrange(*this);
        LogCapture capture;
        WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(kParameters);
        EXPECT_EQ(outcomes.WaitFor(1), std::vector<UninstallStatus>{c.status});
        ASSERT_TRUE(WaitForWorkers());
        EXPECT_EQ(WinApi::Testing::OpenProcessHandles(), 0);
        EXPECT_EQ(WorkerLines(capture), c.lines);
    }
}

TEST_F(UninstallRunner, NoThreadStillReportsOneFailureAndReturnsNormally) {
    Testing::SetThreadStarter([](std::function<void()>) {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    LogCapture capture;
    WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(kParameters);
    EXPECT_EQ(m_outcomes.WaitFor(1), std::vector<UninstallStatus>{UNINSTALL_FAIL});
    EXPECT_EQ(capture.Texts(),
              (std::vector<std::wstring>{
                  L"create uninstall thread fail! ret:" + std::to_wstring(EAGAIN) +
                      L"(WindowsHotfix::WindowsHotfixHelper::StartUninstallHotfix)",
                  L"update uninstall status:1450" + kStatus,
                  L"uninstall code in hexadecimal:0x000005AA" + kStatus}));
    EXPECT_TRUE(WinApi::Testing::LaunchRecords().empty());
}

TEST_F(UninstallRunner, WithoutCallbackTheStatusIsOnlyLogged) {
    WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(nullptr);
    UseInstaller("exit 0");
    LogCapture capture;
    WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(kParameters);
    ASSERT_TRUE(WaitForWorkers());
    EXPECT_TRUE(capture.Contains(L"update uninstall status:0" + kStatus));
    EXPECT_TRUE(m_outcomes.Statuses().empty());
}

TEST_F(UninstallRunner, WorkerKeepsItsOwnCopyOfTheParameters) {
    UseInstaller("exit 0");
    auto parameters = std::make_unique<std::wstring>(L" /uninstall /kb:4023057");
    WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(*parameters);
    parameters->assign(parameters->size(), L'X');
    parameters.reset();
    ASSERT_EQ(m_outcomes.WaitFor(1), std::vector<UninstallStatus>{UNINSTALL_SUCCESS});
    EXPECT_EQ(ReadFile(m_folder + "/args.txt"), "/uninstall\n/kb:4023057\n");
}

TEST_F(UninstallRunner, TwoUninstallsReportIndependently) {
    UseInstaller("case \"$2\" in /kb:1) exit 0;; *) echo 3010 > \"$WINAPI_EXIT_CODE_FILE\";; esac");
    WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(L" /uninstall /kb:1");
    WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(L" /uninstall /kb:2");
    std::vector<UninstallStatus> statuses = m_outcomes.WaitFor(2);
    std::sort(statuses.begin(), statuses.end());
    EXPECT_EQ(statuses, (std::vector<UninstallStatus>{UNINSTALL_SUCCESS, UNINSTALL_NEED_RESTART}));
}

// The service's callback is closed when the process's statics go: a status
// that comes later is dropped, and a callback set later is not kept.
TEST(UninstallReporterTest, StatusesAfterCloseAreDropped) {
    UninstallReporter reporter;
    UninstallOutcomes outcomes;
    reporter.SetCallback(outcomes.StatusCallback());
    reporter.Deliver(UNINSTALL_CANCEL, {});
    reporter.Close();
    reporter.Deliver(UNINSTALL_SUCCESS, {});
    reporter.SetCallback(outcomes.StatusCallback());
    reporter.Deliver(UNINSTALL_FAIL, {});
    EXPECT_EQ(outcomes.Statuses(), std::vector<UninstallStatus>{UNINSTALL_CANCEL});
}

// The process ends at once, running its static destructors, while a worker
// still waits for an installer that would run for a minute.
TEST_F(UninstallRunner, ProcessExitsWithoutWaitingForTheInstaller) {
    // The death test runs in a fresh start of this program, so no thread of an
    // earlier test is forked along; it finds this process's pid file through
    // the environment (its own start of the test would name another folder).
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("ORVELLE_INSTALLER_PID_FILE", (m_folder + "/installer.pid").c_str(), 0);
    const std::string pidFile = getenv("ORVELLE_INSTALLER_PID_FILE");
    // The installer writes its pid whole (a file appears before its text), then
    // lets go of the death test's output pipe, so only the process exit is awaited.
    UseInstaller(
        "echo $$ > \"$ORVELLE_INSTALLER_PID_FILE.tmp\"; "
        "mv \"$ORVELLE_INSTALLER_PID_FILE.tmp\" \"$ORVELLE_INSTALLER_PID_FILE\"; "
        "exec sleep 60 </dev/null >/dev/null 2>&1");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EXIT(
        {
            WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(
                [](UninstallStatus) { std::abort(); });
            WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(kParameters);
            for (int i = 0; i < 2000 && !std::ifstream(pidFile); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    int pid = 0;
    std::ifstream(pidFile) >> pid;
    EXPECT_GT(pid, 0);
    if (pid > 0) kill(pid, SIGKILL);
    unsetenv("ORVELLE_INSTALLER_PID_FILE");
}

}  // namespace
