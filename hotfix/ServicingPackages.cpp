#include "hotfix/ServicingPackages.h"

#include <cwctype>

#include "hotfix/KbNumber.h"
#include "support/KtLogger.h"
#include "winapi/WinApi.h"

namespace WindowsHotfix {
namespace {

constexpr const char* kFunction = "WindowsHotfix::ServicingPackages";
const wchar_t* const kPackagesKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";
constexpr uint32_t kReadOnly = WinApi::kKeyRead | WinApi::kKeyWow64_64Key;
constexpr uint32_t kErrorInvalidData = 13;  // ERROR_INVALID_DATA: a value of the wrong shape

// The numbers after each "KB" (in any case) of a package name, whole digit runs,
// each once: a name that names a number twice is still one package of it.
std::set<std::wstring> KbNumbersIn(const std::wstring& name) {
    std::set<std::wstring> numbers;
    for (size_t i = 0; i + 2 < name.size(); ++i) {
        if (std::towupper(name[i]) != L'K' || std::towupper(name[i + 1]) != L'B') continue;
        size_t end = i + 2;
        while (end < name.size() && name[end] >= L'0' && name[end] <= L'9') ++end;
        if (end > i + 2) numbers.insert(name.substr(i + 2, end - i - 2));
    }
    return numbers;
}

// The update packages that name no number: a handful on any machine, unlike
// the hundreds of feature packages ("Microsoft-Windows-...") left unread.
bool IsUnnumberedUpdate(const std::wstring& name) {
    return StartsWithNoCase(name, L"package_for_");
}

std::wstring WindowsFolder() {
    wchar_t folder[1024];
    const uint32_t length = WinApi::GetSystemWindowsDirectoryW(folder, 1024);
    return length > 0 && length < 1024 ? std::wstring(folder, length) : std::wstring();
}

}  // namespace

bool StartsWithNoCase(const std::wstring& text, const std::wstring& lowerPrefix) {
    if (text.size() < lowerPrefix.size()) return false;
    for (size_t i = 0; i < lowerPrefix.size(); ++i)
        if (static_cast<wchar_t>(std::towlower(text[i])) != lowerPrefix[i]) return false;
    return true;
}

bool IsPresentState(uint32_t state) {
    return state == 0x50 || state == 0x60 || state == 0x65 || state == 0x70 || state == 0x80;
}

bool IsAbsentState(uint32_t state) {
    return state == 0x00 || state == 0x10 || state == 0x20 || state == 0x30 || state == 0x40;
}

ServicingPackages::ServicingPackages(std::chrono::milliseconds budget, bool quiet)
    : m_deadline(std::chrono::steady_clock::now() + budget), m_quiet(quiet) {}

ServicingPackages::~ServicingPackages() {
    if (m_packages != nullptr) WinApi::RegCloseKey(m_packages);
}

bool ServicingPackages::OutOfTime() const {
    return std::chrono::steady_clock::now() >= m_deadline;
}

bool ServicingPackages::ListNames(std::vector<std::wstring>& names) {
    wchar_t name[WinApi::kMaxRegistryKeyName + 1];
    for (uint32_t index = 0;; ++index) {
        if (OutOfTime()) {
            if (!m_quiet)
                KT_LOG(LOG_ERROR, L"servicing store look-up out of time, packages read:" << index,
                       kFunction);
            return false;
        }
        uint32_t length = WinApi::kMaxRegistryKeyName + 1;
        const uint32_t status = WinApi::RegEnumKeyExW(m_packages, index, name, &length);
        if (status == WinApi::kErrorNoMoreItems) return true;
        if (status != WinApi::kErrorSuccess) {
            if (!m_quiet)
                KT_LOG(LOG_ERROR, L"enum servicing packages fail! ret:" << status, kFunction);
            return false;
        }
        names.emplace_back(name, length);
    }
}

bool ServicingPackages::Open() {
    const uint32_t opened =
        WinApi::RegOpenKeyExW(WinApi::LocalMachineKey(), kPackagesKey, 0, kReadOnly, &m_packages);
    if (opened != WinApi::kErrorSuccess) {
        m_packages = nullptr;
        if (!m_quiet) KT_LOG(LOG_ERROR, L"no servicing store to read, ret:" << opened, kFunction);
        return false;
    }
    return true;
}

bool ServicingPackages::Find(const std::set<std::wstring>& numbers) {
    if (!Open()) return false;
    std::vector<std::wstring> names;
    if (!ListNames(names)) return false;
    m_windowsFolder = WindowsFolder();
    for (const std::wstring& name : names) {
        const std::set<std::wstring> inName = KbNumbersIn(name);
        for (const std::wstring& number : inName) {
            if (numbers.count(number) == 0) continue;
            StorePackage& package = m_byName[name];
            package.name = name;
            m_byNumber[number].push_back(&package);
        }
        if (!inName.empty() || !IsUnnumberedUpdate(name)) continue;
        // Only a present or just removed package's manifest is worth reading for its number.
        StorePackage candidate;
        candidate.name = name;
        const std::optional<uint32_t>& state = State(candidate);
        if (!state || (!IsPresentState(*state) && *state != kStateUninstallPending)) continue;
        if (OutOfTime()) {
            if (!m_quiet)
                KT_LOG(LOG_ERROR, L"servicing store look-up out of time at:" << name, kFunction);
            return false;
        }
        const std::wstring number = ExtractKbNumber(Manifest(candidate).identifier);
        if (number.empty() || numbers.count(number) == 0) continue;
        StorePackage& package = m_byName[name] = std::move(candidate);
        m_byNumber[number].push_back(&package);
    }
    return true;
}

std::vector<StorePackage*> ServicingPackages::PackagesOf(const std::wstring& number) const {
    auto found = m_byNumber.find(number);
    return found == m_byNumber.end() ? std::vector<StorePackage*>() : found->second;
}

const std::optional<uint32_t>& ServicingPackages::State(StorePackage& package) {
    if (package.stateTried) return package.state;
    package.stateTried = true;
    HKEY key = nullptr;
    uint32_t read = WinApi::RegOpenKeyExW(m_packages, package.name.c_str(), 0, kReadOnly, &key);
    package.stateError = read;
    uint32_t type = 0, state = 0, size = sizeof(state);
    if (read == WinApi::kErrorSuccess) {
        package.stateError = kErrorInvalidData;
        read = WinApi::RegQueryValueExW(key, L"CurrentState", &type,
                                        reinterpret_cast<uint8_t*>(&state), &size);
        WinApi::RegCloseKey(key);
    }
    if (read != WinApi::kErrorSuccess || type != WinApi::kRegDword || size != sizeof(state)) {
        if (!m_quiet)
            KT_LOG(LOG_ERROR,
                   L"read servicing package state fail! ret:" << read << L" name:" << package.name,
                   kFunction);
        return package.state;
    }
    if (!m_quiet && !IsPresentState(state) && !IsAbsentState(state) &&
        state != kStateUninstallPending)
        KT_LOG(LOG_ERROR, L"unknown servicing package state:" << state << L" name:" << package.name,
               kFunction);
    package.state = state;
    return package.state;
}

const PackageManifest& ServicingPackages::Manifest(StorePackage& package) {
    if (!package.manifest)
        package.manifest = ReadPackageManifest(m_windowsFolder, package.name, !m_quiet);
    return *package.manifest;
}

}  // namespace WindowsHotfix
