// The servicing store look-up through the registry stand-in and manifest files
// in the store's own shape: which route each hotfix takes, what stays unclear,
// the deadline, the count behind an installer's "already uninstalled", the
// pending restart, and that nothing is ever opened for more than reading.
#include <gtest/gtest.h>

#include <thread>

#include "hotfix/PackageManifest.h"
#include "hotfix/ServicingStore.h"
#include "testkit/FakeServicingStore.h"
#include "testkit/LogCapture.h"
#include "winapi/Registry.h"
#include "winapi/RegistryTesting.h"

using namespace WindowsHotfix;

namespace {

// KB5031356 as Windows 10 22H2 installs it: the cumulative part, the
// servicing stack that came with it, and the cumulative part's children.
const std::wstring kRollup = L"Package_for_RollupFix~31bf3856ad364e35~amd64~~19041.3570.1.12";
const std::wstring kStack =
    L"Package_for_ServicingStack_3565~31bf3856ad364e35~amd64~~19041.3565.1.2";
const std::wstring kChild = L"Package_1_for_KB5031356~31bf3856ad364e35~amd64~~19041.3570.1.12";
const std::wstring kOldStyle = L"Package_for_KB5031356~31bf3856ad364e35~amd64~~19041.3570.1.12";
const std::wstring kSecond = L"Package_2_for_KB5031356~31bf3856ad364e35~amd64~~19041.3570.1.12";

std::string RollupManifest(bool permanent = false, const std::string& id = "KB5031356") {
    return FakeServicingStore::Manifest("Package_for_RollupFix", id, permanent);
}
std::string StackManifest() {
    return FakeServicingStore::Manifest("Package_for_ServicingStack_3565", "KB5031356", true);
}
std::string KbManifest(bool permanent) {
    return FakeServicingStore::Manifest("Package_for_KB5031356", "KB5031356", permanent,
                                        "Security Update");
}

struct Package {
    std::wstring name;
    std::optional<uint32_t> state;
    std::optional<std::string> manifest;
};

struct StoreCase {
    const char* name;
    std::vector<Package> packages;
    RemovalRoute route;  // of KB5031356
    std::wstring package = {};
};

TEST(ServicingStore, EachHotfixTakesTheRouteItsPresentPackagesGive) {
    // A cumulative update's manifest at real size: 20 MiB of children after its <package> tag.
    const std::string huge =
        FakeServicingStore::Manifest("Package_for_RollupFix", "KB5031356", false, "Update", 80000);
    ASSERT_GT(huge.size(), 20u * 1024 * 1024);
    // The same size with no <package> tag in the head that is read: unclear.
    std::string headless = huge;
    headless.insert(headless.find("<package "), kManifestHeadBytes, ' ');
    std::string onAssembly = KbManifest(false);  // the attribute where Windows never puts it
    onAssembly.insert(onAssembly.find("<assembly ") + 10, "permanence=\"permanent\" ");

    const StoreCase cases[] = {
        {"combined: cumulative part removable, servicing stack permanent",
         {{kRollup, 0x70, RollupManifest()},
          {kStack, 0x70, StackManifest()},
          {kChild, 0x70, KbManifest(false)}},
         RemovalRoute::Cumulative,
         kRollup},
        {"cumulative part alone",
         {{kRollup, 0x70, RollupManifest()}},
         RemovalRoute::Cumulative,
         kRollup},
        {"cumulative part whose children lack manifests",
         {{kRollup, 0x70, RollupManifest()}, {kChild, 0x70, std::nullopt}},
         RemovalRoute::Cumulative,
         kRollup},
        {"old-style package named after its number",
         {{kOldStyle, 0x70, KbManifest(false)}},
         RemovalRoute::Installer},
        {"permanent by state", {{kOldStyle, 0x80, std::nullopt}}, RemovalRoute::Permanent},
        {"permanent by manifest", {{kOldStyle, 0x70, KbManifest(true)}}, RemovalRoute::Permanent},
        {"servicing stack alone, found by its manifest",
         {{kStack, 0x70, StackManifest()}},
         RemovalRoute::Permanent},
        {"cumulative part permanent by state beside its stack",
         {{kRollup, 0x80, RollupManifest()}, {kStack, 0x80, StackManifest()}},
         RemovalRoute::Permanent},
        {"cumulative part permanent by manifest",
         {{kRollup, 0x70, RollupManifest(true)}},
         RemovalRoute::Permanent},
        {"superseded cumulative part is no cumulative route",
         {{kRollup, 0x50, RollupManifest()}, {kStack, 0x80, StackManifest()}},
         RemovalRoute::Installer},
        {"superseded and installed, both permanent",
         {{kOldStyle, 0x70, KbManifest(true)}, {kSecond, 0x50, KbManifest(true)}},
         RemovalRoute::Permanent},
        {"installed permanent, superseded removable",
         {{kOldStyle, 0x80, std::nullopt}, {kSecond, 0x50, KbManifest(false)}},
         RemovalRoute::Installer},
        {"staged and absent do not count",
         {{kOldStyle, 0x80, std::nullopt},
          {kSecond, 0x40, KbManifest(false)},
          {kRollup, 0x00, RollupManifest()}},
         RemovalRoute::Permanent},
        // Removed, not yet restarted: the cumulative part pending removal keeps its
        // manifest, and the servicing stack of the same number stays permanent.
        {"cumulative part pending removal beside its permanent stack",
         {{kRollup, 0x05, RollupManifest()}, {kStack, 0x80, StackManifest()}},
         RemovalRoute::RemovalPending},
        {"package named after its number pending removal",
         {{kOldStyle, 0x05, KbManifest(false)}, {kChild, 0x05, KbManifest(false)}},
         RemovalRoute::RemovalPending},
        {"one package pending removal, one still installed",
         {{kOldStyle, 0x05, KbManifest(false)}, {kSecond, 0x70, KbManifest(false)}},
         RemovalRoute::Installer},
        {"cumulative part waiting for the restart to install",
         {{kRollup, 0x60, RollupManifest()}, {kStack, 0x80, StackManifest()}},
         RemovalRoute::InstallPending},
        {"package named after its number waiting to install",
         {{kOldStyle, 0x60, KbManifest(false)}},
         RemovalRoute::InstallPending},
        {"nothing present", {{kOldStyle, 0x40, KbManifest(true)}}, RemovalRoute::Installer},
        {"permanence on <assembly> is not Windows' shape",
         {{kOldStyle, 0x70, onAssembly}},
         RemovalRoute::Installer},
        {"malformed manifest",
         {{kOldStyle, 0x70, KbManifest(true).substr(0, 300)}},
         RemovalRoute::Installer},
        {"malformed cumulative manifest",
         {{kRollup, 0x70, RollupManifest().substr(0, 300)}},
         RemovalRoute::Installer},
        {"missing manifest", {{kOldStyle, 0x70, std::nullopt}}, RemovalRoute::Installer},
        {"missing cumulative manifest beside a permanent package",
         {{kRollup, 0x70, std::nullopt}, {kOldStyle, 0x80, std::nullopt}},
         RemovalRoute::Permanent},
        {"cumulative manifest of 20 MiB",
         {{kRollup, 0x70, huge}, {kStack, 0x70, StackManifest()}},
         RemovalRoute::Cumulative,
         kRollup},
        {"20 MiB manifest whose head holds no <package>",
         {{kRollup, 0x70, headless}},
         RemovalRoute::Installer},
        {"two cumulative parts for one number",
         {{kRollup, 0x70, RollupManifest()},
          {L"Package_for_RollupFix~31bf3856ad364e35~amd64~~19041.3571.1.1", 0x70,
           RollupManifest()}},
         RemovalRoute::Installer},
        {"another update's cumulative part",
         {{kRollup, 0x70, RollupManifest(false, "KB5030211")}},
         RemovalRoute::Installer},
        {"no state value", {{kOldStyle, std::nullopt, KbManifest(true)}}, RemovalRoute::Installer},
        {"unknown state", {{kOldStyle, 0xFFFFFF80u, KbManifest(true)}}, RemovalRoute::Installer},
        {"a longer number is another update",
         {{L"Package_for_KB50313561~31bf3856ad364e35~amd64~~1.0.1.0", 0x80, std::nullopt}},
         RemovalRoute::Installer},
        {"no package at all", {}, RemovalRoute::Installer},
    };
    FakeServicingStore store("ServicingStore.Cases");
    for (const StoreCase& c : cases) {
        SCOPED_TRACE(c.name);
        store.Clear();
        for (const Package& package : c.packages)
            store.AddPackage(package.name, package.state, package.manifest);
        // A permanent neighbour must not decide for KB5031356, nor it for the neighbour.
        store.AddPackage(L"Package_for_KB4023057~31bf3856ad364e35~amd64~~1.0.0.0", 0x80, {});

        const RemovalPlans plans = ReadRemovalPlans(
            {{L"KB5031356", L"Security Update", L"10/11/2023"}, {L"KB4023057", L"Update", L""}});

        RemovalPlans expected{{L"KB4023057", {RemovalRoute::Permanent, L"", L""}}};
        if (c.route != RemovalRoute::Installer) expected[L"KB5031356"] = {c.route, c.package, L""};
        ASSERT_EQ(plans.size(), expected.size());
        for (const auto& [id, plan] : expected) {
            ASSERT_EQ(plans.count(id), 1u);
            EXPECT_EQ(plans.at(id).route, plan.route);
            EXPECT_EQ(plans.at(id).package, plan.package);
        }
        const auto opens = WinApi::Testing::RegistryOpens();
        ASSERT_FALSE(opens.empty());
        for (const auto& open : opens) EXPECT_EQ(open.access, 0x20119u) << open.path;
    }
}

// Windows 11 24H2 with a new cumulative update installed but not yet started, the
// one before it running, and a removal waiting for the same restart.
TEST(ServicingStore, PendingInstallAndRemovalAreToldApartFromTheRunningUpdate) {
    FakeServicingStore store("ServicingStore.Pending");
    const auto manifest = [](const char* name, const char* id, bool permanent) {
        return FakeServicingStore::Manifest(name, id, permanent);
    };
    store.AddPackage(L"Package_for_RollupFix~31bf3856ad364e35~amd64~~26100.4349.1.10", 0x60,
                     manifest("Package_for_RollupFix", "KB5060829", false));
    store.AddPackage(L"Package_for_ServicingStack_4344~31bf3856ad364e35~amd64~~26100.4344.1.1",
                     0x80, manifest("Package_for_ServicingStack_4344", "KB5060829", true));
    store.AddPackage(L"Package_for_RollupFix~31bf3856ad364e35~amd64~~26100.4061.1.7", 0x70,
                     manifest("Package_for_RollupFix", "KB5058411", false));
    store.AddPackage(L"Package_for_KB5034441~31bf3856ad364e35~amd64~~10.0.1.0", 0x05,
                     manifest("Package_for_KB5034441", "KB5034441", false));
    const RemovalPlans plans = ReadRemovalPlans({{L"KB5060829", L"Security Update", L""},
                                                 {L"KB5058411", L"Security Update", L""},
                                                 {L"KB5034441", L"Update", L""}});
    ASSERT_EQ(plans.size(), 3u);
    EXPECT_EQ(plans.at(L"KB5060829").route, RemovalRoute::InstallPending);
    EXPECT_EQ(plans.at(L"KB5058411").route, RemovalRoute::Cumulative);
    EXPECT_EQ(plans.at(L"KB5058411").package,
              L"Package_for_RollupFix~31bf3856ad364e35~amd64~~26100.4061.1.7");
    EXPECT_EQ(plans.at(L"KB5034441").route, RemovalRoute::RemovalPending);
}

// Windows 11 24H2: a cumulative update may build on a checkpoint cumulative
// update, and both RollupFix packages are present. Only the running build's
// (CurrentBuildNumber.UBR) is this month's; where that cannot be told, the
// highest version. A staged package never decides.
struct CheckpointCase {
    const char* name;
    uint32_t checkpointState;     // Package_for_RollupFix~...~~26100.1742.1.10, KB5043080
    std::optional<uint32_t> ubr;  // none: UBR missing
    RemovalRoute checkpointRoute;
    RemovalRoute newestRoute;  // Package_for_RollupFix~...~~26100.4349.1.10, KB5060829
};

void SetRunningBuild(const wchar_t* build, std::optional<uint32_t> ubr) {
    FakeServicingStore::SetRunningVersion(L"CurrentBuildNumber", build);
    if (ubr) FakeServicingStore::SetRunningVersion(L"UBR", *ubr);
}

TEST(ServicingStore, OnlyTheRunningBuildsCumulativeUpdateIsRemovedItsCheckpointsOfferNothing) {
    const std::wstring checkpoint =
        L"Package_for_RollupFix~31bf3856ad364e35~amd64~~26100.1742.1.10";
    const std::wstring newest = L"Package_for_RollupFix~31bf3856ad364e35~amd64~~26100.4349.1.10";
    const CheckpointCase cases[] = {
        {"running the newest", 0x70, 4349, RemovalRoute::Checkpoint, RemovalRoute::Cumulative},
        {"running the older one", 0x70, 1742, RemovalRoute::Cumulative, RemovalRoute::Checkpoint},
        {"running build unknown: the highest", 0x70, std::nullopt, RemovalRoute::Checkpoint,
         RemovalRoute::Cumulative},
        {"running build matches neither: the highest", 0x70, 9999, RemovalRoute::Checkpoint,
         RemovalRoute::Cumulative},
        {"staged checkpoint decides nothing", 0x40, 4349, RemovalRoute::Installer,
         RemovalRoute::Cumulative},
    };
    FakeServicingStore store("ServicingStore.Checkpoint");
    for (const CheckpointCase& c : cases) {
        SCOPED_TRACE(c.name);
        store.Clear();
        SetRunningBuild(L"26100", c.ubr);
        store.AddPackage(checkpoint, c.checkpointState,
                         FakeServicingStore::Manifest("Package_for_RollupFix", "KB5043080", false));
        store.AddPackage(newest, 0x70,
                         FakeServicingStore::Manifest("Package_for_RollupFix", "KB5060829", false));
        store.AddPackage(
            L"Package_for_ServicingStack_4344~31bf3856ad364e35~amd64~~26100.4344.1.1", 0x70,
            FakeServicingStore::Manifest("Package_for_ServicingStack_4344", "KB5060829", true));
        const RemovalPlans plans = ReadRemovalPlans(
            {{L"KB5043080", L"Update", L""}, {L"KB5060829", L"Security Update", L""}});
        const auto routeOf = [&](const wchar_t* id) {
            return plans.count(id) ? plans.at(id).route : RemovalRoute::Installer;
        };
        EXPECT_EQ(routeOf(L"KB5043080"), c.checkpointRoute);
        EXPECT_EQ(routeOf(L"KB5060829"), c.newestRoute);
        if (c.checkpointRoute == RemovalRoute::Checkpoint) {
            EXPECT_EQ(plans.at(L"KB5043080").newerUpdate, L"KB5060829");
        }
        if (c.newestRoute == RemovalRoute::Cumulative) {
            EXPECT_EQ(plans.at(L"KB5060829").package, newest);
        }
        if (c.checkpointRoute == RemovalRoute::Cumulative) {
            EXPECT_EQ(plans.at(L"KB5043080").package, checkpoint);
        }
    }
}

// Windows Server 2019 and later: a removable update with exactly one top-level
// package goes through the servicing API by that package's name; anything
// unclear keeps the installer, and so does every update on a client or an
// older Server.
struct RunningWindows {
    const wchar_t* installationType;  // as Windows writes it: "Client", "Server", "Server Core"
    const wchar_t* build;
};

struct ServerCase {
    const char* name;
    RunningWindows version;
    std::vector<Package> packages;  // of KB5034441
    RemovalRoute route;
    std::wstring package = {};
};

TEST(ServicingStore, OnServerAnUpdateWithOneTopLevelPackageGoesByTheServicingApi) {
    const std::wstring byName = L"Package_for_KB5034441~31bf3856ad364e35~amd64~~10.0.1.0";
    const std::wstring child = L"Package_1_for_KB5034441~31bf3856ad364e35~amd64~~10.0.1.0";
    const std::wstring dotNet = L"Package_for_DotNetRollup_481~31bf3856ad364e35~amd64~~10.0.9300.1";
    const std::string kbManifest =
        FakeServicingStore::Manifest("Package_for_KB5034441", "KB5034441", false);
    const std::string dotNetManifest =
        FakeServicingStore::Manifest("Package_for_DotNetRollup_481", "KB5034441", false);
    const RunningWindows server2019{L"Server", L"17763"};
    const RunningWindows server2016{L"Server", L"14393"};
    const RunningWindows core2025{L"Server Core", L"26100"};
    const RunningWindows client{L"Client", L"26100"};
    const ServerCase cases[] = {
        {"named after its number, with a child",
         server2019,
         {{byName, 0x70, kbManifest}, {child, 0x70, kbManifest}},
         RemovalRoute::Package,
         byName},
        {".NET rollup found by its manifest",
         core2025,
         {{dotNet, 0x70, dotNetManifest}},
         RemovalRoute::Package,
         dotNet},
        {"two top-level packages",
         server2019,
         {{byName, 0x70, kbManifest}, {dotNet, 0x70, dotNetManifest}},
         RemovalRoute::Installer},
        {"a child without its manifest",
         server2019,
         {{byName, 0x70, kbManifest}, {child, 0x70, std::nullopt}},
         RemovalRoute::Installer},
        {"the cumulative update as on a client",
         server2019,
         {{kRollup, 0x70, RollupManifest(false, "KB5034441")}},
         RemovalRoute::Cumulative,
         kRollup},
        {"Server 2016 keeps the installer",
         server2016,
         {{byName, 0x70, kbManifest}},
         RemovalRoute::Installer},
        {"a client keeps the installer",
         client,
         {{byName, 0x70, kbManifest}},
         RemovalRoute::Installer},
    };
    FakeServicingStore store("ServicingStore.Server");
    for (const ServerCase& c : cases) {
        SCOPED_TRACE(c.name);
        store.Clear();
        FakeServicingStore::SetRunningVersion(L"InstallationType", c.version.installationType);
        FakeServicingStore::SetRunningVersion(L"CurrentBuildNumber", c.version.build);
        for (const Package& package : c.packages)
            store.AddPackage(package.name, package.state, package.manifest);
        const RemovalPlans plans = ReadRemovalPlans({{L"KB5034441", L"Update", L""}});
        const RemovalRoute route =
            plans.count(L"KB5034441") ? plans.at(L"KB5034441").route : RemovalRoute::Installer;
        EXPECT_EQ(route, c.route);
        if (route != RemovalRoute::Installer) {
            EXPECT_EQ(plans.at(L"KB5034441").package, c.package);
        }
    }
    // Without its installation type Windows is not known to be a server.
    store.Clear();
    FakeServicingStore::SetRunningVersion(L"CurrentBuildNumber", L"17763");
    store.AddPackage(byName, 0x70, kbManifest);
    EXPECT_TRUE(ReadRemovalPlans({{L"KB5034441", L"Update", L""}}).empty());
}

TEST(ServicingStore, ListIsDecidedPerNumberReadingEachManifestOnce) {
    FakeServicingStore store("ServicingStore.List");
    const std::vector<HotfixInfo> list = {{L"KB1", L"", L""}, {L"KB5031356", L"", L""},
                                          {L"KB1", L"", L""}, {L"kb5031356", L"", L""},
                                          {L"Q4", L"", L""},  {L"", L"", L""}};
    LogCapture capture;
    EXPECT_TRUE(ReadRemovalPlans(list).empty());
    EXPECT_TRUE(capture.Contains(L"no servicing store to read, ret:2("));

    store.AddPackage(L"Package_for_KB1~a", 0x80, {});
    store.AddPackage(kRollup, 0x70, RollupManifest());
    store.AddPackage(L"Package_for_DotNetRollup_481~31bf3856ad364e35~amd64~~10.0.9186.1", 0x70,
                     RollupManifest().substr(0, 200));  // unreadable: belongs to no number
    const RemovalPlans plans = ReadRemovalPlans(list);
    EXPECT_EQ(plans.size(), 3u);
    EXPECT_EQ(plans.at(L"KB1").route, RemovalRoute::Permanent);
    EXPECT_EQ(plans.at(L"kb5031356").package, kRollup);
    EXPECT_EQ(capture.Matching(L"package manifest malformed!").size(), 1u);
}

TEST(ServicingStore, PastTheDeadlineUndecidedHotfixesKeepTheInstaller) {
    FakeServicingStore store("ServicingStore.Deadline");
    for (const wchar_t* number : {L"1", L"2", L"3"})
        store.AddPackage(L"Package_for_KB" + std::wstring(number) + L"~a", 0x80, {});
    const std::vector<HotfixInfo> list = {
        {L"KB1", L"", L""}, {L"KB2", L"", L""}, {L"KB3", L"", L""}};
    // A store so slow that the budget is spent while KB2's package key opens.
    WinApi::Testing::SetRegistryOpenHook([](const std::wstring& path) {
        if (path.find(L"package_for_kb2~") != std::wstring::npos)
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    LogCapture capture;
    const RemovalPlans plans = ReadRemovalPlans(list);
    EXPECT_EQ(plans.size(), 2u);
    EXPECT_EQ(plans.count(L"KB3"), 0u);
    EXPECT_TRUE(capture.Contains(L"servicing store look-up out of time at:KB3("));

    // A store too big to list within the budget decides nothing.
    WinApi::Testing::SetRegistryOpenHook(nullptr);
    EXPECT_TRUE(ReadRemovalPlans(list, std::chrono::milliseconds(0)).empty());
    EXPECT_TRUE(capture.Contains(L"servicing store look-up out of time, packages read:0("));
}

// Around one removal: which packages it should take away, and what became of them.
TEST(ServicingStore, ARemovalIsJudgedByThePackagesItShouldTakeAway) {
    FakeServicingStore store("ServicingStore.Removal");
    const auto before = [] { return RemovablePackagesOf(L"5031356", kServicingLookupBudget); };
    const auto after = [](const std::vector<std::wstring>& names) {
        return ReadRemovalVerdict(names, kServicingLookupBudget);
    };
    LogCapture capture;
    EXPECT_FALSE(before().has_value());  // no store: nothing can be told
    EXPECT_EQ(after({kRollup}), StoreVerdict::Unknown);
    store.AddPackage(kRollup, 0x70, RollupManifest());
    store.AddPackage(kStack, 0x80, StackManifest());       // permanent: stays
    store.AddPackage(kChild, 0x50, KbManifest(false));     // superseded: goes too
    store.AddPackage(kSecond, 0x70, KbManifest(true));     // permanent by manifest
    store.AddPackage(kOldStyle, 0x40, KbManifest(false));  // staged: never installed
    EXPECT_EQ(before(), (std::optional<std::vector<std::wstring>>({kChild, kRollup})));
    EXPECT_EQ(after({kRollup, kChild}), StoreVerdict::StillInstalled);

    store.Clear();
    store.AddPackage(kRollup, 0x05, RollupManifest());
    EXPECT_EQ(after({kRollup, kChild}), StoreVerdict::RemovalPending);  // the child's key is gone
    store.AddPackage(kChild, 0x00, KbManifest(false));
    store.Clear();
    store.AddPackage(kChild, 0x00, KbManifest(false));
    EXPECT_EQ(after({kRollup, kChild}), StoreVerdict::Gone);
    store.AddPackage(kRollup, std::nullopt, RollupManifest());  // no state: cannot tell
    EXPECT_EQ(after({kRollup, kChild}), StoreVerdict::Unknown);
    store.AddPackage(kOldStyle, 0x70, std::nullopt);  // unreadable manifest: cannot tell
    EXPECT_FALSE(before().has_value());
    // Read quietly: the caller writes the line when it uses the answer.
    EXPECT_TRUE(capture.Texts().empty());
}

TEST(ServicingStore, RestartIsPendingWhenEitherKeyExists) {
    FakeServicingStore store("ServicingStore.Restart");
    EXPECT_FALSE(IsRestartPending());
    for (const wchar_t* key :
         {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\RebootPending",
          L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto "
          L"Update\\RebootRequired"}) {
        store.Clear();
        WinApi::Testing::AddRegistryKey(key);
        EXPECT_TRUE(IsRestartPending());
    }
}

}  // namespace
