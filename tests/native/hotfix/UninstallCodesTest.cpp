// From raw removal outcomes to what the row shows: status and reason, by who
// answered and whether a restart is pending, applied through the service's own
// entry points: the status and reason handed on and the line logged for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "hotfix/UninstallCodes.h"
#include "hotfix/WindowsHotfixHelper.h"
#include "testkit/FakeServicingStore.h"
#include "testkit/LogCapture.h"
#include "winapi/RegistryTesting.h"

using namespace WindowsHotfix;

namespace {

constexpr const wchar_t* kNoReason = nullptr;
constexpr const wchar_t* kRestartFirst = L"IDS_UNINSTALL_RESTART_FIRST_CODE";
constexpr const wchar_t* kBusy = L"IDS_UNINSTALL_REASON_BUSY";
constexpr const wchar_t* kErrorCode = L"IDS_UNINSTALL_REASON_ERROR_CODE";

struct CodeCase {
    uint32_t code;
    RemovalSource source;
    bool restartPending;
    UninstallStatus status;
    const wchar_t* reason;
};

std::wstring KeyText(const wchar_t* key) {
    return key == nullptr ? L"(none)" : key;
}

TEST(UninstallCodes, EachCodeGivesTheOutcomeAndReasonWindowsMeansByIt) {
    const auto installer = RemovalSource::Installer;
    const auto dism = RemovalSource::ServicingApi;
    const CodeCase cases[] = {
        {0, installer, false, UNINSTALL_SUCCESS, kNoReason},
        {1, dism, false, UNINSTALL_SUCCESS, kNoReason},  // DISMAPI_S_RELOAD_IMAGE_SESSION_REQUIRED
        {1, installer, false, UNINSTALL_FAIL, kErrorCode},
        {1223, installer, false, UNINSTALL_CANCEL, kNoReason},
        {1641, installer, false, UNINSTALL_NEED_RESTART, kNoReason},
        {3010, dism, true, UNINSTALL_NEED_RESTART, kNoReason},
        {0x80070BC2, dism, false, UNINSTALL_NEED_RESTART, kNoReason},
        {3011, installer, false, UNINSTALL_NEED_RESTART, kNoReason},
        {0x00240005, installer, false, UNINSTALL_NEED_RESTART, kNoReason},  // WU_S_REBOOT_REQUIRED
        {0x80070422, installer, false, UNINSTALL_FAIL, L"IDS_UNINSTALL_REASON_SERVICE_OFF"},
        {0x800F0806, dism, false, UNINSTALL_FAIL, kRestartFirst},
        {0x80070BC9, installer, false, UNINSTALL_FAIL, kRestartFirst},
        {0x80242014, installer, false, UNINSTALL_FAIL, kRestartFirst},
        {0x80240016, installer, true, UNINSTALL_FAIL, kRestartFirst},
        {0x80240016, installer, false, UNINSTALL_FAIL, kBusy},
        {0x800F0902, dism, false, UNINSTALL_FAIL, kBusy},
        {0x80242004, installer, false, UNINSTALL_CANNOT, kNoReason},
        {0x800F0825, dism, false, UNINSTALL_CANNOT, L"IDS_UNINSTALL_REASON_REFUSED"},
        {0x800F0825, installer, false, UNINSTALL_FAIL, kErrorCode},  // not the installer's
        {kAlreadyUninstalledCode, installer, false, UNINSTALL_FAIL, kErrorCode},
        {0x80070057, installer, false, UNINSTALL_FAIL, kErrorCode},
        {0xFFFFFFFF, dism, false, UNINSTALL_FAIL, kErrorCode},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(HexCode(c.code) + (c.source == installer ? L" installer" : L" dism"));
        int asked = 0;
        const RemovalOutcome outcome = OutcomeOfCode(static_cast<int>(c.code), c.source, [&] {
            ++asked;
            return c.restartPending;
        });
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(KeyText(outcome.reason.key), KeyText(c.reason));
        EXPECT_EQ(outcome.reason.restartFirst, c.reason == kRestartFirst);
        if (c.reason == kErrorCode) {
            EXPECT_EQ(outcome.reason.code, c.code);
        }
        EXPECT_EQ(asked, c.code == 0x80240016 ? 1 : 0);  // asked only where it decides
    }
    // Every row of the table has its case above: a new code comes with what Windows means by it.
    for (const KnownCodeRow& row : KnownUninstallCodes()) {
        const bool covered =
            std::any_of(std::begin(cases), std::end(cases), [&](const CodeCase& c) {
                const bool source = c.source == installer ? row.installer : row.servicingApi;
                return c.code == row.code && source &&
                       (row.restartPending < 0 || row.restartPending == int(c.restartPending));
            });
        EXPECT_TRUE(covered) << HexCode(row.code) << L" has no case here";
    }
    // A code the table does not hold takes its named fallback.
    const RemovalOutcome unknown = OutcomeOfCode(87, RemovalSource::Installer, nullptr);
    EXPECT_EQ(unknown.status, FallbackOutcome(87).status);
    EXPECT_EQ(KeyText(unknown.reason.key), KeyText(FallbackOutcome(87).reason.key));
}

struct Delivered {
    std::vector<UninstallStatus> statuses;
    std::vector<std::wstring> reasons;
    std::vector<std::wstring> lines;
};

Delivered Deliver(uint32_t code) {
    Delivered delivered;
    WindowsHotfixHelper* service = WindowsHotfixHelper::GetInstance();
    service->SetUninstallReasonCallback([&delivered](const UninstallReason& reason) {
        delivered.reasons.push_back(KeyText(reason.key));
    });
    service->SetUninstallStatusCallback(
        [&delivered](UninstallStatus status) { delivered.statuses.push_back(status); });
    LogCapture capture;
    service->SetUninstallStatus(static_cast<int>(code));
    service->SetUninstallStatusCallback(nullptr);
    service->SetUninstallReasonCallback(nullptr);
    delivered.lines = capture.Texts();
    return delivered;
}

std::wstring Line(const std::wstring& shown) {
    return L"update uninstall status:" + shown +
           L"(WindowsHotfix::WindowsHotfixHelper::SetUninstallStatus)";
}

TEST(UninstallCodes, TheServiceHandsOnTheReasonBeforeTheStatusAndLogsTheCodeOnce) {
    FakeServicingStore store("UninstallCodes.Restart");  // no restart pending
    Delivered busy = Deliver(0x80240016);
    EXPECT_EQ(busy.statuses, std::vector<UninstallStatus>{UNINSTALL_FAIL});
    EXPECT_EQ(busy.reasons, std::vector<std::wstring>{kBusy});
    EXPECT_EQ(busy.lines, std::vector<std::wstring>{Line(std::to_wstring(int(0x80240016)))});

    WinApi::Testing::AddRegistryKey(
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\RebootPending");
    EXPECT_EQ(Deliver(0x80240016).reasons, std::vector<std::wstring>{kRestartFirst});
    EXPECT_EQ(Deliver(3010).reasons, std::vector<std::wstring>{L"(none)"});

    const std::pair<uint32_t, const wchar_t*> unknown[] = {
        {1u, L"1"},
        {87u, L"87"},
        {0x80070057u, L"-2147024809"},
        {0xFFFFFFFFu, L"-1"},
        {0x00240006u, L"2359302"},
        {0x800F081Fu, L"-2146498529"},
    };
    for (const auto& [code, decimal] : unknown) {
        SCOPED_TRACE(decimal);
        wchar_t hex[16];
        std::swprintf(hex, 16, L"0x%08X", code);
        const Delivered delivered = Deliver(code);
        EXPECT_EQ(delivered.statuses, std::vector<UninstallStatus>{UNINSTALL_FAIL});
        EXPECT_EQ(delivered.reasons, std::vector<std::wstring>{kErrorCode});
        EXPECT_EQ(
            delivered.lines,
            (std::vector<std::wstring>{
                Line(decimal), L"uninstall code in hexadecimal:" + std::wstring(hex) +
                                   L"(WindowsHotfix::WindowsHotfixHelper::SetUninstallStatus)"}));
    }
}

}  // namespace
