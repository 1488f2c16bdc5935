// The one table from raw removal outcomes to statuses, read row by row and
// applied through the service's own entry point: the status handed on and the
// line logged for it.
#include <gtest/gtest.h>

#include <cstdio>

#include "hotfix/UninstallCodes.h"
#include "hotfix/WindowsHotfixHelper.h"
#include "testkit/LogCapture.h"

using namespace WindowsHotfix;

namespace {

struct Delivered {
    std::vector<UninstallStatus> statuses;
    std::vector<std::wstring> lines;
};

Delivered Deliver(uint32_t code) {
    Delivered delivered;
    WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(
        [&delivered](UninstallStatus status) { delivered.statuses.push_back(status); });
    LogCapture capture;
    WindowsHotfixHelper::GetInstance()->SetUninstallStatus(static_cast<int>(code));
    WindowsHotfixHelper::GetInstance()->SetUninstallStatusCallback(nullptr);
    delivered.lines = capture.Texts();
    return delivered;
}

std::wstring Line(const std::wstring& shown) {
    return L"update uninstall status:" + shown +
           L"(WindowsHotfix::WindowsHotfixHelper::SetUninstallStatus)";
}

TEST(UninstallCodes, EveryKnownCodeReportsItsStatusAndIsLoggedInDecimal) {
    const auto known = KnownUninstallCodes();
    ASSERT_FALSE(known.empty());
    for (const auto& [code, status] : known) {
        SCOPED_TRACE(code);
        const Delivered delivered = Deliver(code);
        EXPECT_EQ(delivered.statuses, std::vector<UninstallStatus>{status});
        EXPECT_EQ(delivered.lines,
                  std::vector<std::wstring>{Line(std::to_wstring(static_cast<int>(code)))});
    }
}

TEST(UninstallCodes, UnknownCodesFailAndTheirHexadecimalFormFollowsOnALineOfItsOwn) {
    const std::pair<uint32_t, const wchar_t*> cases[] = {
        {1u, L"1"},
        {87u, L"87"},
        {0x80070057u, L"-2147024809"},
        {0xFFFFFFFFu, L"-1"},
        {0x00240006u, L"2359302"},
        {0x800F081Fu, L"-2146498529"},
    };
    for (const auto& [code, decimal] : cases) {
        SCOPED_TRACE(decimal);
        wchar_t hex[16];
        std::swprintf(hex, 16, L"0x%08X", code);
        const Delivered delivered = Deliver(code);
        EXPECT_EQ(delivered.statuses, std::vector<UninstallStatus>{UNINSTALL_FAIL});
        EXPECT_EQ(
            delivered.lines,
            (std::vector<std::wstring>{
                Line(decimal), L"uninstall code in hexadecimal:" + std::wstring(hex) +
                                   L"(WindowsHotfix::WindowsHotfixHelper::SetUninstallStatus)"}));
    }
}

TEST(UninstallCodes, AlreadyUninstalledIsNoSuccessOnItsOwn) {
    // The installer says so when it finds no package it may remove: the worker
    // asks the servicing store instead (RemovalOutcomeTest).
    EXPECT_EQ(MapUninstallCode(static_cast<int>(kAlreadyUninstalledCode)), UNINSTALL_FAIL);
}

}  // namespace
