// The uninstall runner with real CreateProcessW under Wine, against the fake
// wusa.exe that the test script puts into the prefix's system32 (with the DLL
// override wusa.exe=native). The fake exits with FAKE_WUSA_EXIT_CODE and
// records its command line in FAKE_WUSA_RECORD and its current directory in
// FAKE_WUSA_FOLDER_RECORD; all reach it through the environment this process
// hands on.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <iterator>

#include "hotfix/WindowsHotfixHelper.h"
#include "testkit/LogCapture.h"
#include "testkit/UninstallOutcomes.h"

using namespace WindowsHotfix;

namespace {

const std::wstring kStatus = L"(WindowsHotfix::WindowsHotfixHelper::SetUninstallStatus)";

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FakeInstallerPresent() {
    const std::string bytes = ReadBytes(L"C:\\Windows\\System32\\wusa.exe");
    const wchar_t marker[] = L"FAKE_WUSA_RECORD";
    return bytes.find(std::string(reinterpret_cast<const char*>(marker),
                                  sizeof(marker) - sizeof(wchar_t))) != std::string::npos;
}

struct Case {
    const wchar_t* exitCode;
    const wchar_t* statusLine;
    UninstallStatus status;
    const wchar_t* hexLine = L"";  // after it, for a code the table does not hold
};

TEST(UninstallRunnerWin, FakeInstallerExitCodesMapToStatuses) {
    if (!FakeInstallerPresent())
        GTEST_SKIP() << "the fake wusa.exe is not installed in this prefix";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring record = std::wstring(temp) + L"orvelle-fake-wusa-" +
                                std::to_wstring(GetCurrentProcessId()) + L".txt";
    const std::wstring folderRecord = record + L".folder";
    SetEnvironmentVariableW(L"FAKE_WUSA_RECORD", record.c_str());
    SetEnvironmentVariableW(L"FAKE_WUSA_FOLDER_RECORD", folderRecord.c_str());
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    // Plain ASCII on any Windows, so its UTF-8 record is the same bytes.
    const std::wstring commandLine =
        L"\"" + std::wstring(system) + L"\\wusa.exe\" /uninstall /kb:1234567\n";

    const Case cases[] = {
        {L"0", L"update uninstall status:0", UNINSTALL_SUCCESS},
        {L"3010", L"update uninstall status:3010", UNINSTALL_NEED_RESTART},
        {L"1641", L"update uninstall status:1641", UNINSTALL_NEED_RESTART},
        {L"1223", L"update uninstall status:1223", UNINSTALL_CANCEL},
        {L"0x80242004", L"update uninstall status:-2145116156", UNINSTALL_CANNOT},
        {L"1", L"update uninstall status:1", UNINSTALL_FAIL,
         L"uninstall code in hexadecimal:0x00000001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.exitCode);
        DeleteFileW(record.c_str());
        DeleteFileW(folderRecord.c_str());
        SetEnvironmentVariableW(L"FAKE_WUSA_EXIT_CODE", c.exitCode);
        UninstallOutcomes outcomes;
        WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(outcomes.StatusCallback());
        LogCapture capture;
        WindowsHotfixHelper::GetInstance()->StartUninstallHotfix(L" /uninstall /kb:1234567");
        EXPECT_EQ(outcomes.WaitFor(1, std::chrono::seconds(60)),
                  std::vector<UninstallStatus>{c.status});
        std::vector<std::wstring> lines = {c.statusLine + kStatus};
        if (*c.hexLine != L'\0') lines.push_back(c.hexLine + kStatus);
        std::vector<std::wstring> logged;
        for (const LogRecord& record : capture.Matching(kStatus)) logged.push_back(record.text);
        EXPECT_EQ(logged, lines);
        EXPECT_EQ(ReadBytes(record), std::string(commandLine.begin(), commandLine.end()));
        const std::wstring folder(system);
        EXPECT_EQ(ReadBytes(folderRecord), std::string(folder.begin(), folder.end()));
    }
    WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(nullptr);
    DeleteFileW(record.c_str());
    DeleteFileW(folderRecord.c_str());
}

}  // namespace
