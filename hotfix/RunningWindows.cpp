#include "hotfix/RunningWindows.h"

#include <cwchar>
#include <string>

#include "support/KtLogger.h"
#include "winapi/Registry.h"

namespace WindowsHotfix {
namespace {

constexpr const char* kFunction = "WindowsHotfix::ReadRunningBuild";
const wchar_t* const kCurrentVersionKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// A short REG_SZ ("26100", "Server Core"), its terminator dropped.
std::optional<std::wstring> ReadShortText(HKEY key, const wchar_t* name) {
    wchar_t text[32] = {};
    uint32_t type = 0, size = sizeof(text) - sizeof(wchar_t);
    if (WinApi::RegQueryValueExW(key, name, &type, reinterpret_cast<uint8_t*>(text), &size) !=
            WinApi::kErrorSuccess ||
        type != WinApi::kRegSz)
        return std::nullopt;
    std::wstring value(text, size / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    return value;
}

// A REG_SZ of digits only ("26100").
std::optional<uint32_t> ReadNumberText(HKEY key, const wchar_t* name) {
    const std::optional<std::wstring> text = ReadShortText(key, name);
    if (!text) return std::nullopt;
    const std::wstring& digits = *text;
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

HKEY OpenCurrentVersion(const char* function) {
    HKEY key = nullptr;
    const uint32_t opened = WinApi::RegOpenKeyExW(WinApi::LocalMachineKey(), kCurrentVersionKey, 0,
                                                  WinApi::kKeyRead | WinApi::kKeyWow64_64Key, &key);
    if (opened == WinApi::kErrorSuccess) return key;
    KT_LOG(LOG_ERROR, L"open current version key fail! ret:" << opened, function);
    return nullptr;
}

}  // namespace

std::optional<WindowsBuild> ReadRunningBuild() {
    HKEY key = OpenCurrentVersion(kFunction);
    if (key == nullptr) return std::nullopt;
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
    HKEY key = OpenCurrentVersion("WindowsHotfix::IsServerWithoutInstaller");
    if (key == nullptr) return false;
    const std::optional<std::wstring> type = ReadShortText(key, L"InstallationType");
    const std::optional<uint32_t> build = ReadNumberText(key, L"CurrentBuildNumber");
    WinApi::RegCloseKey(key);
    // "Client" on desktop Windows; "Server" and "Server Core" on Windows Server.
    const bool server = type && (*type == L"Server" || *type == L"Server Core");
    return server && build && *build >= kServer2019Build;
}

}  // namespace WindowsHotfix
