#include "hotfix/UninstallCodes.h"

#include <cstdint>
#include <cwchar>
#include <utility>

namespace WindowsHotfix {
namespace {

struct KnownCode {
    uint32_t code;
    UninstallStatus status;
};

// Installer exit codes (wusa.exe) and servicing API results (DismRemovePackage) alike.
const KnownCode kKnownCodes[] = {
    {0, UNINSTALL_SUCCESS},
    // WU_S_ALREADY_UNINSTALLED is also what the installer says when it finds no
    // package it may remove (a combined cumulative update): proof of nothing on
    // its own, so the worker asks the servicing store (UninstallWorker.cpp).
    {kAlreadyUninstalledCode, UNINSTALL_FAIL},
    {1223, UNINSTALL_CANCEL},               // ERROR_CANCELLED: declined in the installer
    {1641, UNINSTALL_NEED_RESTART},         // ERROR_SUCCESS_REBOOT_INITIATED
    {3010, UNINSTALL_NEED_RESTART},         // ERROR_SUCCESS_REBOOT_REQUIRED
    {0x80070BC2, UNINSTALL_NEED_RESTART},   // 3010 as an HRESULT
    {3011, UNINSTALL_NEED_RESTART},         // ERROR_SUCCESS_RESTART_REQUIRED
    {0x00240005, UNINSTALL_NEED_RESTART},   // WU_S_REBOOT_REQUIRED
    {0x80070BC9, UNINSTALL_RESTART_FIRST},  // ERROR_FAIL_REBOOT_REQUIRED
    {0x80240016, UNINSTALL_RESTART_FIRST},  // WU_E_INSTALL_NOT_ALLOWED: restart or install pending
    {0x80242014, UNINSTALL_RESTART_FIRST},  // WU_E_UH_POSTREBOOTSTILLPENDING
    {0x80242004, UNINSTALL_CANNOT},         // WU_E_UH_DOESNOTSUPPORTACTION
    {0x800F0825, UNINSTALL_CANNOT},         // CBS_E_CANNOT_UNINSTALL
};

const KnownCode* FindKnownCode(int code) {
    for (const KnownCode& known : kKnownCodes)
        if (known.code == static_cast<uint32_t>(code)) return &known;
    return nullptr;
}

}  // namespace

std::vector<std::pair<uint32_t, UninstallStatus>> KnownUninstallCodes() {
    std::vector<std::pair<uint32_t, UninstallStatus>> codes;
    for (const KnownCode& known : kKnownCodes) codes.emplace_back(known.code, known.status);
    return codes;
}

UninstallStatus MapUninstallCode(int code) {
    const KnownCode* known = FindKnownCode(code);
    return known != nullptr ? known->status : UNINSTALL_FAIL;
}

std::wstring HexCode(uint32_t code) {
    wchar_t hex[16];
    std::swprintf(hex, sizeof(hex) / sizeof(hex[0]), L"0x%08X", code);
    return hex;
}

bool IsKnownUninstallCode(int code) {
    return FindKnownCode(code) != nullptr;
}

}  // namespace WindowsHotfix
