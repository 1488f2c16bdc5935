// The one table from raw uninstall outcomes to statuses, row by row, through the
// service's own entry point: the status handed on and the line logged for it.
#include <gtest/gtest.h>

#include "hotfix/WindowsHotfixHelper.h"
#include "testkit/LogCapture.h"

using WindowsHotfix::WindowsHotfixHelper;

namespace {

struct CodeCase {
    uint32_t code;
    UninstallStatus status;
    const wchar_t* shown;  // after "update uninstall status:"
};

TEST(UninstallCodes, EachCodeMapsToItsStatusAndUnknownOnesAreLoggedInHex) {
    const CodeCase cases[] = {
        {0, UNINSTALL_SUCCESS, L"0"},
        {0x00240007, UNINSTALL_SUCCESS, L"2359303"},  // already uninstalled
        {1223, UNINSTALL_CANCEL, L"1223"},
        {1641, UNINSTALL_NEED_RESTART, L"1641"},
        {3010, UNINSTALL_NEED_RESTART, L"3010"},
        {0x80070BC2, UNINSTALL_NEED_RESTART, L"-2147021886"},  // 3010 as an HRESULT
        {0x00240005, UNINSTALL_NEED_RESTART, L"2359301"},      // reboot required
        {0x80242004, UNINSTALL_CANNOT, L"-2145116156"},
        {87, UNINSTALL_FAIL, L"87 0x00000057"},
        {1, UNINSTALL_FAIL, L"1 0x00000001"},
        {0x80070057, UNINSTALL_FAIL, L"-2147024809 0x80070057"},
        {0xFFFFFFFF, UNINSTALL_FAIL, L"-1 0xFFFFFFFF"},  // a failed wait
        {0x00240006, UNINSTALL_FAIL, L"2359302 0x00240006"},
    };
    std::vector<UninstallStatus> reported;
    WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(
        [&reported](UninstallStatus status) { reported.push_back(status); });
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(c.shown);
        reported.clear();
        LogCapture capture;
        WindowsHotfixHelper::GetInstance()->SetUninstallStatus(static_cast<int>(c.code));
        EXPECT_EQ(reported, std::vector<UninstallStatus>{c.status});
        EXPECT_EQ(
            capture.Texts(),
            std::vector<std::wstring>{L"update uninstall status:" + std::wstring(c.shown) +
                                      L"(WindowsHotfix::WindowsHotfixHelper::SetUninstallStatus)"});
    }
    WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(nullptr);
}

}  // namespace
