// The servicing store read on a store of real shape and size: 2,000 package
// keys (feature packages, update packages named after their number, the
// cumulative update's RollupFix with a 20 MiB manifest and its servicing stack
// with a 300 KiB one), through the registry stand-in and manifest files on disk.
// ReadRemovalPlans is the read behind the list; RemovablePackagesOf is the read
// before an installer starts, and ReadRemovalVerdict the one after it ends.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "hotfix/ServicingStore.h"
#include "testkit/FakeServicingStore.h"

namespace {

constexpr int kPackageKeys = 2000;
const std::wstring kRollup = L"Package_for_RollupFix~31bf3856ad364e35~amd64~~26100.4349.1.10";

struct RealStore {
    RealStore() : store("StoreReadBench") {
        // 20 MiB and 300 KiB of children after the <package> tags.
        store.AddPackage(kRollup, 0x70,
                         FakeServicingStore::Manifest("Package_for_RollupFix", "KB5060829", false,
                                                      "Update", 80000));
        store.AddPackage(L"Package_for_ServicingStack_4344~31bf3856ad364e35~amd64~~26100.4344.1.1",
                         0x70,
                         FakeServicingStore::Manifest("Package_for_ServicingStack_4344",
                                                      "KB5060829", true, "Update", 1100));
        store.AddPackage(
            L"Package_for_DotNetRollup_481~31bf3856ad364e35~amd64~~10.0.9300.1", 0x70,
            FakeServicingStore::Manifest("Package_for_DotNetRollup_481", "KB5056580", false));
        for (int i = 0; i < 40; ++i) {
            const std::string kb = "KB50" + std::to_string(30000 + i);
            hotfixes.push_back({std::wstring(kb.begin(), kb.end()), L"Update", L""});
            store.AddPackage(
                L"Package_for_" + hotfixes.back().HotFixID + L"~31bf3856ad364e35~amd64~~10.0.1.0",
                i % 4 == 0 ? 0x50 : 0x70,
                FakeServicingStore::Manifest("Package_for_" + kb, kb, false));
        }
        hotfixes.push_back({L"KB5060829", L"Security Update", L""});
        hotfixes.push_back({L"KB5056580", L"Update", L""});
        for (int i = 0; i < kPackageKeys - 43; ++i)
            store.AddPackage(L"Microsoft-Windows-Feature" + std::to_wstring(i) +
                                 L"-Package~31bf3856ad364e35~amd64~~10.0.26100.4349",
                             0x70, std::nullopt);
    }
    FakeServicingStore store;
    std::vector<HotfixInfo> hotfixes;
};

RealStore& Store() {
    static RealStore* const store = new RealStore();  // built once, kept for every run
    return *store;
}

void BM_StoreRead_RemovalPlans(benchmark::State& state) {
    RealStore& store = Store();
    for (auto _ : state) {
        const WindowsHotfix::RemovalPlans plans =
            WindowsHotfix::ReadRemovalPlans(store.hotfixes, std::chrono::seconds(10));
        if (plans.count(L"KB5060829") == 0) state.SkipWithError("the cumulative update is missing");
        benchmark::DoNotOptimize(plans);
    }
}
BENCHMARK(BM_StoreRead_RemovalPlans)->Unit(benchmark::kMillisecond);

void BM_StoreRead_BeforeInstaller(benchmark::State& state) {
    RealStore& store = Store();
    for (auto _ : state) {
        auto packages = WindowsHotfix::RemovablePackagesOf(L"5030001", std::chrono::seconds(10));
        if (!packages || packages->empty()) state.SkipWithError("no package found");
        benchmark::DoNotOptimize(packages);
    }
}
BENCHMARK(BM_StoreRead_BeforeInstaller)->Unit(benchmark::kMillisecond);

void BM_StoreRead_AfterRemoval(benchmark::State& state) {
    Store();
    for (auto _ : state) {
        auto verdict = WindowsHotfix::ReadRemovalVerdict({kRollup}, std::chrono::seconds(10));
        benchmark::DoNotOptimize(verdict);
    }
}
BENCHMARK(BM_StoreRead_AfterRemoval)->Unit(benchmark::kMillisecond);

}  // namespace
