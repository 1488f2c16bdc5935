// The removal plans. For each update number of the list, its present packages
// (installed, superseded, pending or permanent; absent, staged and pending
// removal do not count) decide the route:
// - one installed cumulative package ("Package_for_RollupFix~...", state 0x70,
//   not permanent by its manifest) → Cumulative, that package; a permanent
//   servicing-stack package of the same number stays where it is;
// - every present package permanent (state 0x80, or permanence="permanent" on
//   its manifest's <package>) → Permanent;
// - anything else, and anything unclear (no package, another state, a
//   manifest missing, too large or malformed) → the installer, as the row
//   always was: no button is hidden and no route changed on a guess.
#include "hotfix/ServicingStore.h"

#include <set>

#include "hotfix/KbNumber.h"
#include "hotfix/ServicingPackages.h"
#include "support/KtLogger.h"
#include "winapi/Registry.h"

namespace WindowsHotfix {
namespace {

constexpr const char* kFunction = "WindowsHotfix::ReadRemovalPlans";

bool IsRollupName(const std::wstring& name) {
    return StartsWithNoCase(name, L"package_for_rollupfix~");
}

enum class Kind { Absent, Permanent, Cumulative, Removable, Unclear };

Kind KindOf(ServicingPackages& store, StorePackage& package) {
    const std::optional<uint32_t>& state = store.State(package);
    if (!state) return Kind::Unclear;
    if (IsAbsentState(*state)) return Kind::Absent;
    if (!IsPresentState(*state)) return Kind::Unclear;
    if (*state == kStatePermanent) return Kind::Permanent;
    const PackageManifest& manifest = store.Manifest(package);
    if (!manifest.readable) return Kind::Unclear;
    if (manifest.permanent) return Kind::Permanent;
    return IsRollupName(package.name) && *state == kStateInstalled ? Kind::Cumulative
                                                                   : Kind::Removable;
}

// Nothing when the deadline passed before the number was decided.
std::optional<RemovalPlan> Decide(ServicingPackages& store, const std::wstring& number) {
    const std::vector<StorePackage*> packages = store.PackagesOf(number);
    // Cumulative packages name no number, so their manifests are read already.
    std::vector<const StorePackage*> cumulative;
    for (StorePackage* package : packages)
        if (IsRollupName(package->name) && KindOf(store, *package) == Kind::Cumulative)
            cumulative.push_back(package);
    if (cumulative.size() == 1) return RemovalPlan{RemovalRoute::Cumulative, cumulative[0]->name};
    if (cumulative.size() > 1) {
        KT_LOG(LOG_ERROR, L"more than one cumulative package for KB" << number, kFunction);
        return RemovalPlan{};
    }
    bool anyPermanent = false;
    for (StorePackage* package : packages) {
        if (store.OutOfTime()) return std::nullopt;
        const Kind kind = KindOf(store, *package);
        if (kind == Kind::Absent) continue;
        if (kind != Kind::Permanent) return RemovalPlan{};
        anyPermanent = true;
    }
    return RemovalPlan{anyPermanent ? RemovalRoute::Permanent : RemovalRoute::Installer, {}};
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
    RemovalPlans plans;
    for (const HotfixInfo& hotfix : hotfixes) {
        const std::wstring number = ExtractKbNumber(hotfix.HotFixID);
        if (number.empty()) continue;
        auto plan = decided.find(number);
        if (plan == decided.end()) {
            std::optional<RemovalPlan> made = Decide(store, number);
            if (!made) {
                KT_LOG(LOG_ERROR, L"servicing store look-up out of time at:" << hotfix.HotFixID,
                       kFunction);
                break;
            }
            plan = decided.emplace(number, std::move(*made)).first;
        }
        if (plan->second.route != RemovalRoute::Installer) plans[hotfix.HotFixID] = plan->second;
    }
    KT_LOG(LOG_ERROR, L"hotfixes off the installer route:" << plans.size(), kFunction);
    return plans;
}

std::optional<size_t> CountPresentPackages(const std::wstring& number,
                                           std::chrono::milliseconds budget) {
    ServicingPackages store(budget);
    if (!store.Find({number})) return std::nullopt;
    size_t present = 0;
    for (StorePackage* package : store.PackagesOf(number)) {
        if (store.OutOfTime()) return std::nullopt;
        const std::optional<uint32_t>& state = store.State(*package);
        // A state that cannot be read cannot prove the package gone.
        if (!state || !IsAbsentState(*state)) ++present;
    }
    return present;
}

bool IsRestartPending() {
    static const wchar_t* const kPendingKeys[] = {
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\RebootPending",
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\RebootRequired",
    };
    for (const wchar_t* path : kPendingKeys) {
        if (KeyExists(path)) {
            KT_LOG(LOG_ERROR, L"windows waits for a restart:" << path,
                   "WindowsHotfix::IsRestartPending");
            return true;
        }
    }
    return false;
}

}  // namespace WindowsHotfix
