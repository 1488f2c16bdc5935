// The servicing store look-up. The package keys of the store are the subkeys
// of kPackagesKey, named after their update
// ("Package_for_KB5005565~31bf3856ad364e35~amd64~~19041.1237.1.7"); each holds
// its CurrentState, and its manifest is "servicing\Packages\<name>.mum" in the
// Windows folder, whose <assembly> element says permanence="permanent" for a
// package that can never be removed.
#include "hotfix/PermanentHotfixes.h"

#include <cwctype>
#include <map>

#include "hotfix/KbNumber.h"
#include "support/FileReader.h"
#include "support/KtFileUtil.h"
#include "support/KtLogger.h"
#include "support/TextConversion.h"
#include "winapi/Registry.h"
#include "winapi/WinApi.h"

namespace WindowsHotfix {
namespace {

constexpr const char* kFunction = "WindowsHotfix::GetPermanentHotFixes";
const wchar_t* const kPackagesKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";
constexpr uint32_t kReadOnly = WinApi::kKeyRead | WinApi::kKeyWow64_64Key;

// A hotfix is shown permanent only when every package still on the machine for
// it (superseded 0x50, install pending 0x60, partially installed 0x65,
// installed 0x70, permanent 0x80) is permanent, by its state 0x80 or by its
// manifest. Packages absent (0), pending removal (5), resolving, resolved,
// staging or staged (0x10 to 0x40) are not installed and do not count. Anything
// unclear (no package at all, another state, a manifest missing, unreadable or
// malformed where the state is not 0x80) leaves the row as it is: a button is
// never hidden on a guess.
enum class PackageKind { Permanent, Installed, NotInstalled, Unclear };

PackageKind KindOfState(uint32_t state) {
    switch (state) {
        case 0x80:
            return PackageKind::Permanent;
        case 0x50:
        case 0x60:
        case 0x65:
        case 0x70:
            return PackageKind::Installed;
        case 0x00:
        case 0x05:
        case 0x10:
        case 0x20:
        case 0x30:
        case 0x40:
            return PackageKind::NotInstalled;
        default:
            return PackageKind::Unclear;
    }
}

using Clock = std::chrono::steady_clock;

class Deadline {
public:
    explicit Deadline(std::chrono::milliseconds budget) : m_end(Clock::now() + budget) {}
    bool Passed() const { return Clock::now() >= m_end; }

private:
    const Clock::time_point m_end;
};

// Closes an open registry key when it goes.
class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (m_key != nullptr) WinApi::RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    // 0 once open, else the system error.
    uint32_t Open(HKEY parent, const std::wstring& name) {
        return WinApi::RegOpenKeyExW(parent, name.c_str(), 0, kReadOnly, &m_key);
    }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// The numbers after each "KB" (in any case) of a package name, whole digit runs.
std::vector<std::wstring> KbNumbersIn(const std::wstring& name) {
    std::vector<std::wstring> numbers;
    for (size_t i = 0; i + 2 < name.size(); ++i) {
        if (std::towupper(name[i]) != L'K' || std::towupper(name[i + 1]) != L'B') continue;
        size_t end = i + 2;
        while (end < name.size() && name[end] >= L'0' && name[end] <= L'9') ++end;
        if (end > i + 2) numbers.push_back(name.substr(i + 2, end - i - 2));
    }
    return numbers;
}

// Every package key's name; false (logged) when they cannot all be read in time.
bool ReadPackageNames(HKEY packages, const Deadline& deadline, std::vector<std::wstring>& names) {
    wchar_t name[WinApi::kMaxRegistryKeyName + 1];
    for (uint32_t index = 0;; ++index) {
        if (deadline.Passed()) {
            KT_LOG(LOG_ERROR, L"servicing store look-up out of time, packages read:" << index,
                   kFunction);
            return false;
        }
        uint32_t length = WinApi::kMaxRegistryKeyName + 1;
        const uint32_t status = WinApi::RegEnumKeyExW(packages, index, name, &length);
        if (status == WinApi::kErrorNoMoreItems) return true;
        if (status != WinApi::kErrorSuccess) {
            KT_LOG(LOG_ERROR, L"enum servicing packages fail! ret:" << status, kFunction);
            return false;
        }
        names.emplace_back(name, length);
    }
}

PackageKind ReadPackageState(HKEY packages, const std::wstring& name) {
    OpenKey key;
    const uint32_t opened = key.Open(packages, name);
    uint32_t type = 0, state = 0, size = sizeof(state);
    const uint32_t read = opened != WinApi::kErrorSuccess
                              ? opened
                              : WinApi::RegQueryValueExW(key.get(), L"CurrentState", &type,
                                                         reinterpret_cast<uint8_t*>(&state), &size);
    if (read != WinApi::kErrorSuccess || type != WinApi::kRegDword || size != sizeof(state)) {
        KT_LOG(LOG_ERROR, L"read servicing package state fail! ret:" << read << L" name:" << name,
               kFunction);
        return PackageKind::Unclear;
    }
    const PackageKind kind = KindOfState(state);
    if (kind == PackageKind::Unclear)
        KT_LOG(LOG_ERROR, L"unknown servicing package state:" << state << L" name:" << name,
               kFunction);
    return kind;
}

// Permanent, Installed (removable) or Unclear, by the package's manifest.
PackageKind ReadManifest(const std::wstring& windowsFolder, const std::wstring& name) {
    const std::wstring path = windowsFolder + L"\\servicing\\Packages\\" + name + L".mum";
    std::string bytes;
    if (windowsFolder.empty() ||
        !FileReader::ReadAll(PathText::FromWide(PathText::NativeSeparators(path)), bytes)) {
        KT_LOG(LOG_ERROR, L"read package manifest fail! name:" << name, kFunction);
        return PackageKind::Unclear;
    }
    KtXMLDocument document;
    const KtXmlError parsed = document.Parse(bytes);
    const KtXmlElement assembly = document.FirstNode("");
    if (parsed != 0 || document.IsDocumentNull() || assembly.Name() != "assembly") {
        KT_LOG(LOG_ERROR, L"package manifest malformed! ret:" << parsed << L" name:" << name,
               kFunction);
        return PackageKind::Unclear;
    }
    return assembly.Attribute("permanence") == "permanent" ? PackageKind::Permanent
                                                           : PackageKind::Installed;
}

std::wstring WindowsFolder() {
    wchar_t folder[1024];
    const uint32_t length = WinApi::GetWindowsDirectoryW(folder, 1024);
    return length > 0 && length < 1024 ? std::wstring(folder, length) : std::wstring();
}

enum class Verdict { Permanent, NotPermanent, OutOfTime };

Verdict DecideHotfix(HKEY packages, const std::vector<std::wstring>& names,
                     const std::wstring& windowsFolder, const Deadline& deadline) {
    bool anyInstalled = false;
    for (const std::wstring& name : names) {
        if (deadline.Passed()) return Verdict::OutOfTime;
        PackageKind kind = ReadPackageState(packages, name);
        if (kind == PackageKind::Installed) {
            if (deadline.Passed()) return Verdict::OutOfTime;
            kind = ReadManifest(windowsFolder, name);
        }
        if (kind == PackageKind::NotInstalled) continue;
        if (kind != PackageKind::Permanent) return Verdict::NotPermanent;
        anyInstalled = true;
    }
    return anyInstalled ? Verdict::Permanent : Verdict::NotPermanent;
}

}  // namespace

std::set<std::wstring> GetPermanentHotFixes(const std::vector<HotfixInfo>& hotfixes,
                                            std::chrono::milliseconds budget) {
    const Deadline deadline(budget);
    // Package names by update number, for the numbers of the list only.
    std::map<std::wstring, std::vector<std::wstring>> packagesByNumber;
    for (const HotfixInfo& hotfix : hotfixes) {
        const std::wstring number = ExtractKbNumber(hotfix.HotFixID);
        if (!number.empty()) packagesByNumber[number];
    }
    if (packagesByNumber.empty()) return {};

    OpenKey packages;
    const uint32_t opened = packages.Open(WinApi::LocalMachineKey(), kPackagesKey);
    if (opened != WinApi::kErrorSuccess) {
        KT_LOG(LOG_INFO, L"no servicing store to read, ret:" << opened, kFunction);
        return {};
    }
    std::vector<std::wstring> names;
    if (!ReadPackageNames(packages.get(), deadline, names)) return {};
    for (const std::wstring& name : names)
        for (const std::wstring& number : KbNumbersIn(name)) {
            auto found = packagesByNumber.find(number);
            if (found != packagesByNumber.end()) found->second.push_back(name);
        }

    // Decided in list order, each number once; what the deadline cuts off stays out.
    const std::wstring windowsFolder = WindowsFolder();
    std::map<std::wstring, Verdict> verdicts;
    std::set<std::wstring> permanent;
    for (const HotfixInfo& hotfix : hotfixes) {
        const std::wstring number = ExtractKbNumber(hotfix.HotFixID);
        if (number.empty()) continue;
        auto verdict = verdicts.find(number);
        if (verdict == verdicts.end())
            verdict = verdicts
                          .emplace(number, DecideHotfix(packages.get(), packagesByNumber[number],
                                                        windowsFolder, deadline))
                          .first;
        if (verdict->second == Verdict::OutOfTime) {
            KT_LOG(LOG_ERROR, L"servicing store look-up out of time at:" << hotfix.HotFixID,
                   kFunction);
            break;
        }
        if (verdict->second == Verdict::Permanent) permanent.insert(hotfix.HotFixID);
    }
    KT_LOG(LOG_INFO, L"permanent hotfix count:" << permanent.size(), kFunction);
    return permanent;
}

}  // namespace WindowsHotfix
