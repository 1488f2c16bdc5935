// Building the hotfix list on the headless backend: the rows alone, as
// MainWindow::BuildRows makes them, and the whole way from a new window to its
// filled list (layout, load thread, WMI seam, queue, rows).
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchEnvironment.h"
#include "duilib/UITestDriver.h"
#include "duilib/UIlib.h"
#include "duilib_headless/HeadlessTesting.h"
#include "support/WMIHelperTesting.h"
#include "ui/item/HotfixManageItemDetail.h"
#include "ui/main/MainWindow.h"

using namespace DuiLib;

namespace {

void SetPerRowCounter(benchmark::State& state) {
    state.counters["per_row"] = benchmark::Counter(
        static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Each record: a row built from its layout file into the list, filled (one catalogue lookup).
void BM_BuildRows(benchmark::State& state) {
    BenchEnvironment::Prepare();
    const std::vector<HotfixInfo> records =
        BenchEnvironment::Records(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto manager = std::make_unique<CPaintManagerUI>();
        auto* list = new CVerticalLayoutUI();
        manager->AttachDialog(list);
        std::vector<std::unique_ptr<HotfixManageItemDetail>> rows;
        for (size_t i = 0; i < records.size(); ++i) {
            rows.emplace_back(new HotfixManageItemDetail(records[i]));
            rows.back()->InitItemLayout(list);
            rows.back()->SetContent(records[i], i + 1 == records.size());
        }
        benchmark::DoNotOptimize(list->GetCount());
        state.PauseTiming();
        rows.clear();
        manager.reset();
        state.ResumeTiming();
    }
    SetPerRowCounter(state);
}
BENCHMARK(BM_BuildRows)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A new main window until its list shows every row: what the user waits for
// after the WMI query has answered.
void BM_WindowToList(benchmark::State& state) {
    BenchEnvironment::ServeRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        MainWindow* window = BenchEnvironment::CreateMainWindow();
        UITestDriver driver(*window);
        CControlUI* list = driver.Find(L"containerInstalledHotfix");
        if (!driver.PumpUntil([&] { return list->GetFixedHeight() > 0; }, 600000)) {
            state.SkipWithError("the list was not built");
            break;
        }
        state.PauseTiming();
        BenchEnvironment::DestroyMainWindow(window);
        state.ResumeTiming();
    }
    BenchEnvironment::StopServing();
    SetPerRowCounter(state);
}
BENCHMARK(BM_WindowToList)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
