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

TEST(UninstallCodes, UnknownCodesFailAndAreLoggedWithTheirHexadecimalForm) {
    for (const uint32_t code : {1u, 87u, 0x80070057u, 0xFFFFFFFFu, 0x00240006u, 0x800F081Fu}) {
        SCOPED_TRACE(code);
        wchar_t hex[16];
        std::swprintf(hex, 16, L" 0x%08X", code);
        const Delivered delivered = Deliver(code);
        EXPECT_EQ(delivered.statuses, std::vector<UninstallStatus>{UNINSTALL_FAIL});
        EXPECT_EQ(delivered.lines,
                  std::vector<std::wstring>{Line(std::to_wstring(static_cast<int>(code)) + hex)});
    }
}

TEST(UninstallCodes, AlreadyUninstalledIsNoSuccessOnItsOwn) {
    // The installer says so when it finds no package it may remove: the worker
    // asks the servicing store instead (RemovalOutcomeTest).
    EXPECT_EQ(MapUninstallCode(static_cast<int>(kAlreadyUninstalledCode)), UNINSTALL_FAIL);
}

}  // namespace
