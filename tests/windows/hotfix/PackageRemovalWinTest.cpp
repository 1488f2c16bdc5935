// A package removal through the real dismapi.dll shim under Wine, against the
// stand-in dismapi.dll (tests/e2e/tools/e2e_dism.cpp) that scripts/wine-tests.sh
// puts into the prefix's system32: the calls in order, the progress, the
// result mapped, DISM's message logged.
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

const std::wstring kFolder = L"C:\\dism-standin\\";
const std::wstring kRollup = L"Package_for_RollupFix~31bf3856ad364e35~amd64~~19041.3570.1.12";

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::wstring& name, const std::string& text) {
    CreateDirectoryW(kFolder.c_str(), nullptr);
    std::ofstream((kFolder + name).c_str(), std::ios::binary) << text;
}

bool StandInPresent() {
    const wchar_t marker[] = L"dism-standin";
    return ReadBytes(L"C:\\windows\\system32\\dismapi.dll")
               .find(std::string(reinterpret_cast<const char*>(marker),
                                 sizeof(marker) - sizeof(wchar_t))) != std::string::npos;
}

TEST(PackageRemovalWin, TheStandInIsCalledInOrderAndItsResultMapped) {
    if (!StandInPresent()) GTEST_SKIP() << "the stand-in dismapi.dll is not in this prefix";
    const struct {
        const char* result;
        UninstallStatus status;
    } cases[] = {{"0x00000000", UNINSTALL_SUCCESS},
                 {"0x80070BC2", UNINSTALL_NEED_RESTART},
                 {"0x800F0825", UNINSTALL_CANNOT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        DeleteFileW((kFolder + L"calls.txt").c_str());
        DeleteFileW((kFolder + L"removed.txt").c_str());
        WriteText(L"result.txt", c.result);
        WriteText(L"step-ms.txt", "1");
        LogCapture capture;
        UninstallOutcomes outcomes;
        {
            const UninstallOutcomes::Listening listening(outcomes);
            WindowsHotfixHelper::GetInstance()->StartRemovePackage(kRollup);
            EXPECT_EQ(outcomes.WaitFor(1, std::chrono::seconds(60)),
                      std::vector<UninstallStatus>{c.status});
            EXPECT_EQ(outcomes.Progress(),
                      (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
        }
        EXPECT_EQ(ReadBytes(kFolder + L"removed.txt"),
                  "Package_for_RollupFix~31bf3856ad364e35~amd64~~19041.3570.1.12\n");
        const std::string calls = ReadBytes(kFolder + L"calls.txt");
        const char* const order[] = {
            "DismInitialize level=0 log=NULL scratch -> 0x00000000",
            "DismOpenSession DISM_{53BFAE52-B167-4E2F-A258-0A37B57FF845} -> 0x00000000",
            "DismRemovePackage Package_for_RollupFix~31bf3856ad364e35~amd64~~19041.3570.1.12 "
            "type=1 cancel=NULL",
            "DismCloseSession -> 0x00000000", "DismShutdown -> 0x00000000"};
        size_t at = 0;
        for (const char* call : order) {
            at = calls.find(call, at);
            EXPECT_NE(at, std::string::npos) << call << "\n" << calls;
        }
        if (c.status == UNINSTALL_CANNOT) {
            EXPECT_TRUE(
                capture.Contains(L"DismRemovePackage fail! ret:0x800F0825 message:Stand-in "
                                 L"servicing API: the removal ended with 0x800F0825."));
        }
    }
    DeleteFileW((kFolder + L"result.txt").c_str());
    DeleteFileW((kFolder + L"step-ms.txt").c_str());
}

}  // namespace
