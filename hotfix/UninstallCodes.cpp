#include "hotfix/UninstallCodes.h"

#include <cstdint>
#include <cwchar>

namespace WindowsHotfix {
namespace {

// The reason lines' language keys.
constexpr const wchar_t* kServiceOff = L"IDS_UNINSTALL_REASON_SERVICE_OFF";
constexpr const wchar_t* kRestartFirst = L"IDS_UNINSTALL_RESTART_FIRST_CODE";
constexpr const wchar_t* kBusy = L"IDS_UNINSTALL_REASON_BUSY";
constexpr const wchar_t* kRefused = L"IDS_UNINSTALL_REASON_REFUSED";
constexpr const wchar_t* kErrorCode = L"IDS_UNINSTALL_REASON_ERROR_CODE";

constexpr bool kBoth = true;
constexpr int kEither = -1;

RemovalOutcome Plain(UninstallStatus status) {
    return {status, {}};
}
RemovalOutcome Failed(const wchar_t* reason, bool restartFirst = false) {
    return {UNINSTALL_FAIL, {reason, 0, restartFirst}};
}

// Installer exit codes (wusa.exe) and servicing API results (DismRemovePackage),
// first match wins. Sources: System Error Codes, WUA Success and Error Codes, the
// CBS error list, DISM API constants.
const std::vector<KnownCodeRow> kKnownCodes = {
    {0, kBoth, kBoth, kEither, Plain(UNINSTALL_SUCCESS)},
    // DISMAPI_S_RELOAD_IMAGE_SESSION_REQUIRED: done; only a later call on the
    // session would need it reopened. From the installer, 1 is a failure.
    {1, false, true, kEither, Plain(UNINSTALL_SUCCESS)},
    // WU_S_ALREADY_UNINSTALLED is also what the installer says when it finds no
    // package it may remove (a combined cumulative update): proof of nothing on
    // its own, so the worker asks the servicing store (UninstallWorker.cpp).
    {kAlreadyUninstalledCode, kBoth, kBoth, kEither, Failed(kErrorCode)},
    {1223, kBoth, kBoth, kEither, Plain(UNINSTALL_CANCEL)},        // ERROR_CANCELLED
    {1641, kBoth, kBoth, kEither, Plain(UNINSTALL_NEED_RESTART)},  // ERROR_SUCCESS_REBOOT_INITIATED
    {3010, kBoth, kBoth, kEither, Plain(UNINSTALL_NEED_RESTART)},  // ERROR_SUCCESS_REBOOT_REQUIRED
    {0x80070BC2, kBoth, kBoth, kEither, Plain(UNINSTALL_NEED_RESTART)},  // 3010 as an HRESULT
    {3011, kBoth, kBoth, kEither, Plain(UNINSTALL_NEED_RESTART)},  // ERROR_SUCCESS_RESTART_REQUIRED
    {0x00240005, kBoth, kBoth, kEither, Plain(UNINSTALL_NEED_RESTART)},  // WU_S_REBOOT_REQUIRED
    // ERROR_SERVICE_DISABLED: the installer needs the Windows Update service.
    {0x80070422, kBoth, kBoth, kEither, Failed(kServiceOff)},
    {0x800F0806, kBoth, kBoth, kEither, Failed(kRestartFirst, true)},  // CBS_E_PENDING
    {0x80070BC9, kBoth, kBoth, kEither, Failed(kRestartFirst, true)},  // ERROR_FAIL_REBOOT_REQUIRED
    {0x80242014, kBoth, kBoth, kEither,
     Failed(kRestartFirst, true)},  // WU_E_UH_POSTREBOOTSTILLPENDING
    // WU_E_INSTALL_NOT_ALLOWED: a restart is pending, or another installation runs.
    {0x80240016, kBoth, kBoth, 1, Failed(kRestartFirst, true)},
    {0x80240016, kBoth, kBoth, 0, Failed(kBusy)},
    {0x800F0902, kBoth, kBoth, kEither, Failed(kBusy)},            // DISMAPI_E_BUSY
    {0x80242004, kBoth, kBoth, kEither, Plain(UNINSTALL_CANNOT)},  // WU_E_UH_DOESNOTSUPPORTACTION
    // CBS_E_CANNOT_UNINSTALL: the servicing stack's own refusal.
    {0x800F0825, false, true, kEither, {UNINSTALL_CANNOT, {kRefused}}},
};

bool Holds(const KnownCodeRow& row, uint32_t code, RemovalSource source) {
    return row.code == code &&
           (source == RemovalSource::Installer ? row.installer : row.servicingApi);
}

const KnownCodeRow* FindRow(uint32_t code, RemovalSource source,
                            const RestartPendingCheck& restartPending) {
    int pending = kEither;  // asked once, and only when a row depends on it
    for (const KnownCodeRow& row : kKnownCodes) {
        if (!Holds(row, code, source)) continue;
        if (row.restartPending == kEither) return &row;
        if (pending == kEither) pending = restartPending && restartPending() ? 1 : 0;
        if (row.restartPending == pending) return &row;
    }
    return nullptr;
}

}  // namespace

const std::vector<KnownCodeRow>& KnownUninstallCodes() {
    return kKnownCodes;
}

RemovalOutcome FallbackOutcome(uint32_t code) {
    return {UNINSTALL_FAIL, {kErrorCode, code}};
}

RemovalOutcome OutcomeOfCode(int code, RemovalSource source,
                             const RestartPendingCheck& restartPending) {
    const uint32_t raw = static_cast<uint32_t>(code);
    const KnownCodeRow* row = FindRow(raw, source, restartPending);
    if (row == nullptr) return FallbackOutcome(raw);
    RemovalOutcome outcome = row->outcome;
    outcome.reason.code = raw;
    return outcome;
}

UninstallStatus MapUninstallCode(int code) {
    return OutcomeOfCode(code, RemovalSource::Installer, nullptr).status;
}

std::wstring HexCode(uint32_t code) {
    wchar_t hex[16];
    std::swprintf(hex, sizeof(hex) / sizeof(hex[0]), L"0x%08X", code);
    return hex;
}

bool IsKnownUninstallCode(int code) {
    for (const KnownCodeRow& row : kKnownCodes)
        if (row.installer && row.code == static_cast<uint32_t>(code)) return true;
    return false;
}

}  // namespace WindowsHotfix
