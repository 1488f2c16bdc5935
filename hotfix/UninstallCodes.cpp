#include "hotfix/UninstallCodes.h"

#include <cstdint>
#include <cwchar>

namespace WindowsHotfix {
namespace {

struct KnownCode {
    uint32_t code;
    UninstallStatus status;
};

const KnownCode kKnownCodes[] = {
    {0, UNINSTALL_SUCCESS},
    {0x00240007, UNINSTALL_SUCCESS},       // WU_S_ALREADY_UNINSTALLED: removed meanwhile
    {1223, UNINSTALL_CANCEL},              // ERROR_CANCELLED: elevation declined
    {1641, UNINSTALL_NEED_RESTART},        // ERROR_SUCCESS_REBOOT_INITIATED
    {3010, UNINSTALL_NEED_RESTART},        // ERROR_SUCCESS_REBOOT_REQUIRED
    {0x80070BC2, UNINSTALL_NEED_RESTART},  // 3010 as an HRESULT
    {0x00240005, UNINSTALL_NEED_RESTART},  // WU_S_REBOOT_REQUIRED
    {0x80242004, UNINSTALL_CANNOT},        // Windows Update: cannot be removed
};

const KnownCode* FindKnownCode(int code) {
    for (const KnownCode& known : kKnownCodes)
        if (known.code == static_cast<uint32_t>(code)) return &known;
    return nullptr;
}

}  // namespace

UninstallStatus MapUninstallCode(int code) {
    const KnownCode* known = FindKnownCode(code);
    return known != nullptr ? known->status : UNINSTALL_FAIL;
}

std::wstring UninstallCodeText(int code) {
    std::wstring text = std::to_wstring(code);
    if (FindKnownCode(code) == nullptr) {
        wchar_t hex[16];
        std::swprintf(hex, sizeof(hex) / sizeof(hex[0]), L" 0x%08X", static_cast<uint32_t>(code));
        text += hex;
    }
    return text;
}

}  // namespace WindowsHotfix
