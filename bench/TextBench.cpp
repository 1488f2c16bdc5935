// The small text routines: placeholder substitution, splitting, the date rewriting.
#include <benchmark/benchmark.h>

#include "support/HotfixInfo.h"
#include "support/TextUtil.h"
#include "ui/item/HotfixManageItemDetail.h"

namespace {

void BM_FormatString_LoadFailText(benchmark::State& state) {
    const std::wstring source = L"The installed updates could not be read. {0}";
    for (auto _ : state) benchmark::DoNotOptimize(FormatString(source, L"{a}Retry{/a}", L"{0}"));
}
BENCHMARK(BM_FormatString_LoadFailText);

void BM_FormatString_ValueList(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatString(L"{0}-{0}-{0}", L"p@UI@k&UI&q$UI$x&UI&r", L"{0}"));
}
BENCHMARK(BM_FormatString_ValueList);

void BM_SplitString(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::wstring> pieces;
        SplitString(L"a@UI@b@UI@@UI@c", L"@UI@", pieces);
        benchmark::DoNotOptimize(pieces.data());
    }
}
BENCHMARK(BM_SplitString);

void BM_GetInstalledOn(benchmark::State& state) {
    HotfixManageItemDetail row(HotfixInfo{L"KB1", L"Update", L"12/7/2026"});
    for (auto _ : state) benchmark::DoNotOptimize(row.GetInstalledOn(L"12/7/2026"));
}
BENCHMARK(BM_GetInstalledOn);

}  // namespace

namespace {

// One catalogue attribute, narrow to wide (the catalogue reader converts each entry's).
void BM_NarrowToWide(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Strconv::NarrowToWide("Security Update"));
}
BENCHMARK(BM_NarrowToWide);

}  // namespace
