#include "hotfix/RunningWindows.h"

#include <cwchar>
#include <string>

#include "support/KtLogger.h"
#include "winapi/OsVersion.h"
#include "winapi/Registry.h"

namespace WindowsHotfix {
namespace {

constexpr const char* kFunction = "WindowsHotfix::ReadRunningBuild";
const wchar_t* const kCurrentVersionKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// A REG_SZ of digits only ("26100"), its terminator included or not.
std::optional<uint32_t> ReadNumberText(HKEY key, const wchar_t* name) {
    wchar_t text[16] = {};
    uint32_t type = 0, size = sizeof(text) - sizeof(wchar_t);
    if (WinApi::RegQueryValueExW(key, name, &type, reinterpret_cast<uint8_t*>(text), &size) !=
            WinApi::kErrorSuccess ||
        type != WinApi::kRegSz)
        return std::nullopt;
    std::wstring digits(text, size / sizeof(wchar_t));
    while (!digits.empty() && digits.back() == L'\0') digits.pop_back();
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    for (wchar_t c : digits)
        if (c < L'0' || c > L'9') return std::nullopt;
    return static_cast<uint32_t>(std::wcstoul(digits.c_str(), nullptr, 10));
}

std::optional<uint32_t> ReadDword(HKEY key, const wchar_t* name) {
    uint32_t type = 0, value = 0, size = sizeof(value);
    if (WinApi::RegQueryValueExW(key, name, &type, reinterpret_cast<uint8_t*>(&value), &size) !=
            WinApi::kErrorSuccess ||
        type != WinApi::kRegDword || size != sizeof(value))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<WindowsBuild> ReadRunningBuild() {
    HKEY key = nullptr;
    const uint32_t opened = WinApi::RegOpenKeyExW(WinApi::LocalMachineKey(), kCurrentVersionKey, 0,
                                                  WinApi::kKeyRead | WinApi::kKeyWow64_64Key, &key);
    if (opened != WinApi::kErrorSuccess) {
        KT_LOG(LOG_ERROR, L"open current version key fail! ret:" << opened, kFunction);
        return std::nullopt;
    }
    const std::optional<uint32_t> build = ReadNumberText(key, L"CurrentBuildNumber");
    const std::optional<uint32_t> revision = ReadDword(key, L"UBR");
    WinApi::RegCloseKey(key);
    if (!build || !revision) {
        KT_LOG(LOG_ERROR,
               L"running build unreadable, CurrentBuildNumber:"
                   << (build ? L"read" : L"missing") << L" UBR:"
                   << (revision ? L"read" : L"missing"),
               kFunction);
        return std::nullopt;
    }
    return WindowsBuild{*build, *revision};
}

bool IsServerWithoutInstaller() {
    constexpr uint32_t kServer2019Build = 17763;
    WinApi::OsVersion version;
    if (!WinApi::GetOsVersion(version)) return false;
    return version.productType != WinApi::kProductWorkstation && version.build >= kServer2019Build;
}

}  // namespace WindowsHotfix
