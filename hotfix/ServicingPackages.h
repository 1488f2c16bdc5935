// The packages of the servicing store that belong to a set of update numbers,
// read on demand and each at most once. Package keys are the subkeys of
// "...\Component Based Servicing\Packages"; a key either carries the number in
// its name ("Package_for_KB5005565~31bf3856ad364e35~amd64~~19041.1237.1.7",
// "Package_1_for_KB5005565~...") or, for cumulative, servicing-stack and .NET
// rollups ("Package_for_RollupFix~...", "Package_for_ServicingStack_3565~..."),
// only in its manifest's <package identifier>.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "hotfix/PackageManifest.h"
#include "winapi/Registry.h"

namespace WindowsHotfix {

struct StorePackage {
    std::wstring name;
    bool stateTried = false;
    std::optional<uint32_t> state;  // CurrentState; none when unreadable (logged)
    uint32_t stateError = 0;        // why not: the key's open error (2: gone), else 13
    std::optional<PackageManifest> manifest;
};

class ServicingPackages {
public:
    // `quiet`: writes no log line (a read whose answer may go unused).
    explicit ServicingPackages(std::chrono::milliseconds budget, bool quiet = false);
    ~ServicingPackages();
    ServicingPackages(const ServicingPackages&) = delete;
    ServicingPackages& operator=(const ServicingPackages&) = delete;

    // Lists the store and finds the packages of `numbers` (plain digits). False
    // (logged) when there is no store or it cannot be listed in time.
    bool Find(const std::set<std::wstring>& numbers);
    bool OutOfTime() const;

    // The packages found for a number; each stays valid as long as this.
    std::vector<StorePackage*> PackagesOf(const std::wstring& number) const;
    // Reads the package's CurrentState once.
    const std::optional<uint32_t>& State(StorePackage& package);
    // Opens the store only (for State on packages named by the caller). False
    // when there is no store.
    bool Open();
    // Reads the package's manifest once.
    const PackageManifest& Manifest(StorePackage& package);

private:
    bool ListNames(std::vector<std::wstring>& names);

    const std::chrono::steady_clock::time_point m_deadline;
    const bool m_quiet;
    HKEY m_packages = nullptr;
    std::wstring m_windowsFolder;
    std::map<std::wstring, StorePackage> m_byName;
    std::map<std::wstring, std::vector<StorePackage*>> m_byNumber;
};

bool StartsWithNoCase(const std::wstring& text, const std::wstring& lowerPrefix);

// The package states Windows writes as CurrentState ("CBS Servicing States Chart").
// A state of an installed package: superseded 0x50, install pending 0x60,
// partially installed 0x65, installed 0x70 or permanent 0x80.
bool IsPresentState(uint32_t state);
// Not installed: absent 0, resolving 0x10, resolved 0x20, staging 0x30, staged 0x40.
bool IsAbsentState(uint32_t state);
// Removed, waiting for the restart that takes it away.
constexpr uint32_t kStateUninstallPending = 0x05;
// Installed once the PC restarts.
constexpr uint32_t kStateInstallPending = 0x60;
constexpr uint32_t kStateInstalled = 0x70;
constexpr uint32_t kStatePermanent = 0x80;

}  // namespace WindowsHotfix
