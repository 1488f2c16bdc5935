// How each installed hotfix can be removed, known before a click: a read-only
// look-up in the component-based servicing store (the package keys in the
// registry and their manifests beside the Windows folder).
#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/HotfixInfo.h"

namespace WindowsHotfix {

// How long the look-up may hold the list back, in all.
constexpr std::chrono::milliseconds kServicingLookupBudget{200};

enum class RemovalRoute {
    Installer,       // the Windows Update Standalone Installer, by number
    Cumulative,      // the cumulative update's own package, through the servicing API
    Permanent,       // Windows lets no one remove it
    RemovalPending,  // already removed: gone once the PC restarts
    InstallPending,  // installed once the PC restarts; removable only after that
    Checkpoint,      // a cumulative update a newer one builds on: not removable on its own
    Package,  // Windows Server 2019 and later: its one top-level package, by the servicing API
};

struct RemovalPlan {
    RemovalRoute route = RemovalRoute::Installer;
    std::wstring package;      // Cumulative, Package: the package name to remove; else empty
    std::wstring newerUpdate;  // Checkpoint: the HotFixID of the update built on it ("KB5060829")
};

using RemovalPlans = std::map<std::wstring, RemovalPlan>;  // by HotFixID; absent = Installer

// The plan of every hotfix the store decides (see ServicingStore.cpp for the
// rule). Blocking, meant for the load thread; writes nothing anywhere. Gives
// up once `budget` has passed since the call; a hotfix not decided by then is
// left out and keeps the installer.
RemovalPlans ReadRemovalPlans(const std::vector<HotfixInfo>& hotfixes,
                              std::chrono::milliseconds budget = kServicingLookupBudget);

// The store around one removal, read quietly (the caller logs what it uses).
// The packages a removal of update `number` ("5031356") should take away:
// present and not permanent. Nothing when the store cannot be read in time.
std::optional<std::vector<std::wstring>> RemovablePackagesOf(const std::wstring& number,
                                                             std::chrono::milliseconds budget);

// What became of the packages a removal should have taken away.
enum class StoreVerdict {
    Unknown,         // not read, or not in time
    Gone,            // every one absent
    RemovalPending,  // every one absent or pending removal, one at least pending
    StillInstalled,  // one at least still present
};
StoreVerdict ReadRemovalVerdict(const std::vector<std::wstring>& packages,
                                std::chrono::milliseconds budget);

// Windows already waits for a restart: the servicing stack's RebootPending key
// or Windows Update's Auto Update\RebootRequired key exists (logged).
bool IsRestartPending();
// The same without a log line.
bool IsRestartPendingQuiet();

}  // namespace WindowsHotfix
