// A frame of the hotfix list on the headless backend: a wheel step (or none)
// and the paint of the window into a draw list, with 10 and 1,000 rows built by
// the real main window. What the toolkit itself spends per frame; the Win32
// painter's share is measured under Wine (bench/wine/ListFrame.cpp).
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchEnvironment.h"
#include "duilib/UITestDriver.h"
#include "duilib/UIlib.h"
#include "duilib_headless/HeadlessTesting.h"
#include "support/WMIHelperTesting.h"
#include "ui/main/MainWindow.h"

using namespace DuiLib;

namespace {

// A main window showing `rows` hotfixes, laid out and painted once.
class ShownList {
public:
    explicit ShownList(int rows) {
        BenchEnvironment::ServeRecords(rows);
        m_window = BenchEnvironment::CreateMainWindow();
        m_driver = std::make_unique<UITestDriver>(*m_window);
        CControlUI* list = m_driver->Find(L"containerInstalledHotfix");
        m_ready = m_driver->PumpUntil([&] { return list->GetFixedHeight() > 0; }, 600000);
        m_driver->Paint();
        const UIRect view = m_driver->Find(L"hotfixListView")->GetPos();
        m_x = view.left + view.Width() / 2;
        m_y = view.top + view.Height() / 2;
        m_driver->MoveTo(m_x, m_y);
    }
    ~ShownList() {
        m_driver.reset();
        BenchEnvironment::DestroyMainWindow(m_window);
        BenchEnvironment::StopServing();
    }
    bool ready() const { return m_ready; }
    // One notch down, then one up: the list stays where it started.
    void Wheel(int step) {
        m_window->GetPaintManager().OnMouseWheel(m_x, m_y, step % 2 == 0 ? -120 : 120);
    }
    size_t Paint() {
        CRenderList list;
        m_window->GetPaintManager().Paint(list);
        return list.Commands().size();
    }

private:
    MainWindow* m_window = nullptr;
    std::unique_ptr<UITestDriver> m_driver;
    bool m_ready = false;
    int m_x = 0, m_y = 0;
};

void BM_ListFrame(benchmark::State& state) {
    ShownList shown(static_cast<int>(state.range(0)));
    if (!shown.ready()) state.SkipWithError("the list was not built");
    for (auto _ : state) benchmark::DoNotOptimize(shown.Paint());
}
BENCHMARK(BM_ListFrame)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_ListWheelFrame(benchmark::State& state) {
    ShownList shown(static_cast<int>(state.range(0)));
    if (!shown.ready()) state.SkipWithError("the list was not built");
    int step = 0;
    for (auto _ : state) {
        shown.Wheel(step++);
        benchmark::DoNotOptimize(shown.Paint());
    }
}
BENCHMARK(BM_ListWheelFrame)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
