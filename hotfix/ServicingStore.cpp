// The removal plans. For each update number of the list, its packages decide
// the route (absent and staged ones do not count):
// - one in install pending (0x60) → InstallPending: not removable before the restart;
// - one installed cumulative package ("Package_for_RollupFix~...", state 0x70,
//   not permanent by its manifest) → Cumulative, that package; a permanent
//   servicing-stack package of the same number stays where it is;
// - every one permanent (state 0x80, or permanence="permanent" on its
//   manifest's <package>) or pending removal (0x05), one at least pending →
//   RemovalPending: removed already, gone at the restart;
// - every one permanent → Permanent;
// - more than one update with an installed cumulative package (checkpoint
//   cumulative updates, Windows 11 24H2 and later): the one whose package
//   version's build and revision are the running Windows' (CurrentBuildNumber,
//   UBR) is the cumulative update to remove, else the highest version; every
//   other is a Checkpoint the newer one builds on;
// - on Windows Server 2019 and later, which should not use the installer, a
//   removable update with exactly one top-level package ("Package_for_KB<n>~..."
//   by name, or an unnumbered "Package_for_*" by its manifest) → Package, that one;
// - anything else, and anything unclear (no package, another state, a
//   manifest missing, too large or malformed) → the installer, as the row
//   always was: no button is hidden and no route changed on a guess.
#include "hotfix/ServicingStore.h"

#include <set>

#include "hotfix/KbNumber.h"
#include "hotfix/RunningWindows.h"
#include "hotfix/ServicingPackages.h"
#include "support/KtLogger.h"
#include "winapi/Registry.h"

namespace WindowsHotfix {
namespace {

constexpr const char* kFunction = "WindowsHotfix::ReadRemovalPlans";

bool IsRollupName(const std::wstring& name) {
    return StartsWithNoCase(name, L"package_for_rollupfix~");
}

enum class Kind {
    Absent,
    Permanent,
    Cumulative,
    Removable,
    RemovalPending,
    InstallPending,
    Unclear
};

Kind KindOf(ServicingPackages& store, StorePackage& package) {
    const std::optional<uint32_t>& state = store.State(package);
    if (!state) return Kind::Unclear;
    if (IsAbsentState(*state)) return Kind::Absent;
    if (*state == kStateUninstallPending) return Kind::RemovalPending;
    if (!IsPresentState(*state)) return Kind::Unclear;
    if (*state == kStatePermanent) return Kind::Permanent;
    if (*state == kStateInstallPending) return Kind::InstallPending;
    const PackageManifest& manifest = store.Manifest(package);
    if (!manifest.readable) return Kind::Unclear;
    if (manifest.permanent) return Kind::Permanent;
    return IsRollupName(package.name) && *state == kStateInstalled ? Kind::Cumulative
                                                                   : Kind::Removable;
}

// Nothing when the deadline passed before the number was decided.
std::optional<RemovalPlan> Decide(ServicingPackages& store, const std::wstring& number,
                                  bool server) {
    std::vector<const StorePackage*> cumulative, topLevel;
    bool anyPermanent = false, anyPending = false, anyInstallPending = false, anyOther = false;
    bool anyUnclear = false;
    for (StorePackage* package : store.PackagesOf(number)) {
        if (store.OutOfTime()) return std::nullopt;
        switch (KindOf(store, *package)) {
            case Kind::Absent:
                break;
            case Kind::Permanent:
                anyPermanent = true;
                break;
            case Kind::RemovalPending:
                anyPending = true;
                break;
            case Kind::InstallPending:
                anyInstallPending = true;
                break;
            case Kind::Cumulative:
                cumulative.push_back(package);
                break;
            case Kind::Removable:
                anyOther = true;
                if (StartsWithNoCase(package->name, L"package_for_")) topLevel.push_back(package);
                break;
            case Kind::Unclear:
                anyOther = anyUnclear = true;
                break;
        }
    }
    if (anyInstallPending) return RemovalPlan{RemovalRoute::InstallPending, {}, {}};
    if (cumulative.size() == 1)
        return RemovalPlan{RemovalRoute::Cumulative, cumulative[0]->name, {}};
    if (cumulative.size() > 1) {
        KT_LOG(LOG_ERROR, L"more than one cumulative package for KB" << number, kFunction);
        return RemovalPlan{};
    }
    if (server && !anyUnclear && topLevel.size() == 1)
        return RemovalPlan{RemovalRoute::Package, topLevel[0]->name, {}};
    if (anyOther) return RemovalPlan{};
    if (anyPending) return RemovalPlan{RemovalRoute::RemovalPending, {}, {}};
    return RemovalPlan{anyPermanent ? RemovalRoute::Permanent : RemovalRoute::Installer, {}, {}};
}

// The four numbers after "~~" in a package name ("...~~26100.4349.1.10"); none if malformed.
std::optional<std::vector<uint32_t>> PackageVersion(const std::wstring& name) {
    const size_t at = name.rfind(L"~~");
    if (at == std::wstring::npos) return std::nullopt;
    std::vector<uint32_t> parts(1, 0);
    for (size_t i = at + 2; i < name.size(); ++i) {
        const wchar_t c = name[i];
        if (c == L'.') {
            parts.push_back(0);
        } else if (c >= L'0' && c <= L'9' && parts.back() < 100000000) {
            parts.back() = parts.back() * 10 + static_cast<uint32_t>(c - L'0');
        } else {
            return std::nullopt;
        }
    }
    if (parts.size() != 4) return std::nullopt;
    return parts;
}

// With more than one update whose cumulative package is installed, only one is
// this month's: the running build's, else the highest version; the others are
// checkpoints it builds on.
void MarkCheckpoints(std::map<std::wstring, RemovalPlan>& decided) {
    std::vector<std::pair<std::wstring, std::vector<uint32_t>>> cumulative;  // number, version
    for (const auto& [number, plan] : decided) {
        if (plan.route != RemovalRoute::Cumulative) continue;
        const std::optional<std::vector<uint32_t>> version = PackageVersion(plan.package);
        cumulative.emplace_back(number, version ? *version : std::vector<uint32_t>());
    }
    if (cumulative.size() < 2) return;
    const std::optional<WindowsBuild> running = ReadRunningBuild();
    const std::pair<std::wstring, std::vector<uint32_t>>* newest = nullptr;
    for (const auto& candidate : cumulative) {
        const std::vector<uint32_t>& v = candidate.second;
        if (running && v.size() == 4 && v[0] == running->build && v[1] == running->revision)
            newest = &candidate;
    }
    if (newest == nullptr) {
        for (const auto& candidate : cumulative)
            if (newest == nullptr || candidate.second > newest->second) newest = &candidate;
    }
    for (const auto& candidate : cumulative) {
        if (&candidate == newest) continue;
        decided[candidate.first] = RemovalPlan{RemovalRoute::Checkpoint, {}, L"KB" + newest->first};
    }
}

bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    if (WinApi::RegOpenKeyExW(WinApi::LocalMachineKey(), path, 0,
                              WinApi::kKeyRead | WinApi::kKeyWow64_64Key,
                              &key) != WinApi::kErrorSuccess)
        return false;
    WinApi::RegCloseKey(key);
    return true;
}

}  // namespace

RemovalPlans ReadRemovalPlans(const std::vector<HotfixInfo>& hotfixes,
                              std::chrono::milliseconds budget) {
    ServicingPackages store(budget);
    std::set<std::wstring> numbers;
    for (const HotfixInfo& hotfix : hotfixes) {
        const std::wstring number = ExtractKbNumber(hotfix.HotFixID);
        if (!number.empty()) numbers.insert(number);
    }
    if (numbers.empty() || !store.Find(numbers)) return {};

    // Decided in list order, each number once; what the deadline cuts off keeps the installer.
    std::map<std::wstring, RemovalPlan> decided;
    const bool server = IsServerWithoutInstaller();
    for (const HotfixInfo& hotfix : hotfixes) {
        const std::wstring number = ExtractKbNumber(hotfix.HotFixID);
        if (number.empty() || decided.count(number) != 0) continue;
        std::optional<RemovalPlan> made = Decide(store, number, server);
        if (!made) {
            KT_LOG(LOG_ERROR, L"servicing store look-up out of time at:" << hotfix.HotFixID,
                   kFunction);
            break;
        }
        decided.emplace(number, std::move(*made));
    }
    MarkCheckpoints(decided);
    RemovalPlans plans;
    for (const HotfixInfo& hotfix : hotfixes) {
        auto plan = decided.find(ExtractKbNumber(hotfix.HotFixID));
        if (plan != decided.end() && plan->second.route != RemovalRoute::Installer)
            plans[hotfix.HotFixID] = plan->second;
    }
    KT_LOG(LOG_ERROR, L"hotfixes off the installer route:" << plans.size(), kFunction);
    return plans;
}

std::optional<std::vector<std::wstring>> RemovablePackagesOf(const std::wstring& number,
                                                             std::chrono::milliseconds budget) {
    ServicingPackages store(budget, true);
    if (!store.Find({number})) return std::nullopt;
    std::vector<std::wstring> removable;
    for (StorePackage* package : store.PackagesOf(number)) {
        if (store.OutOfTime()) return std::nullopt;
        const Kind kind = KindOf(store, *package);
        // A package that cannot be read cannot be shown gone later either.
        if (kind == Kind::Unclear) return std::nullopt;
        if (kind == Kind::Cumulative || kind == Kind::Removable || kind == Kind::InstallPending)
            removable.push_back(package->name);
    }
    return removable;
}

StoreVerdict ReadRemovalVerdict(const std::vector<std::wstring>& packages,
                                std::chrono::milliseconds budget) {
    ServicingPackages store(budget, true);
    if (packages.empty() || !store.Open()) return StoreVerdict::Unknown;
    bool anyPending = false;
    for (const std::wstring& name : packages) {
        if (store.OutOfTime()) return StoreVerdict::Unknown;
        StorePackage package;
        package.name = name;
        const std::optional<uint32_t>& state = store.State(package);
        if (!state && package.stateError == WinApi::kRegistryKeyNotFound) continue;  // key gone
        if (!state) return StoreVerdict::Unknown;
        if (IsAbsentState(*state)) continue;
        if (*state != kStateUninstallPending) return StoreVerdict::StillInstalled;
        anyPending = true;
    }
    return anyPending ? StoreVerdict::RemovalPending : StoreVerdict::Gone;
}

namespace {
const wchar_t* PendingRestartKey() {
    static const wchar_t* const kPendingKeys[] = {
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\RebootPending",
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\RebootRequired",
    };
    for (const wchar_t* path : kPendingKeys)
        if (KeyExists(path)) return path;
    return nullptr;
}
}  // namespace

bool IsRestartPendingQuiet() {
    return PendingRestartKey() != nullptr;
}

bool IsRestartPending() {
    const wchar_t* key = PendingRestartKey();
    if (key == nullptr) return false;
    KT_LOG(LOG_ERROR, L"windows waits for a restart:" << key, "WindowsHotfix::IsRestartPending");
    return true;
}

}  // namespace WindowsHotfix
