// Keys in a list of 10,000 rows built by the real main window: End and Home,
// Page Down and Page Up, Tab and Shift+Tab from a row in the middle, the
// children of the list as a screen reader asks for them, and a reader's
// question about a place after a change. Each iteration is one
// key (or one listing); what a key costs should not grow with the rows.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchEnvironment.h"
#include "duilib/UIAccessible.h"
#include "duilib/UITestDriver.h"
#include "duilib/UIlib.h"
#include "duilib_headless/HeadlessTesting.h"
#include "support/WMIHelperTesting.h"
#include "ui/main/MainWindow.h"

using namespace DuiLib;

namespace {

constexpr int kRows = 10000;

class LongList {
public:
    LongList() {
        BenchEnvironment::ServeRecords(kRows);
        m_window = BenchEnvironment::CreateMainWindow();
        m_driver = std::make_unique<UITestDriver>(*m_window);
        m_list = m_driver->Find(L"containerInstalledHotfix");
        // Rows take input once their removal routes are known (the store read).
        m_ready = m_driver->PumpUntil(
            [&] { return m_list->GetFixedHeight() > 0 && m_window->RoutesKnown(); }, 600000);
        m_driver->Paint();
        // The focus on a row half way down, its list scrolled to it.
        const std::wstring middle = L"btnUniNameKB" + std::to_wstring(5000001 + kRows / 2);
        CControlUI* row = m_driver->Find(middle.c_str());
        m_ready = m_ready && row && m_window->GetPaintManager().SetFocus(row);
        m_window->GetPaintManager().ScrollIntoView(row);
        m_row = row ? row->GetParent() : nullptr;
        while (m_row && !Accessible::IsElement(m_row)) m_row = m_row->GetParent();
        const std::wstring label = L"labUniNameKB" + std::to_wstring(5000001 + kRows / 2);
        m_outcome = m_driver->Find(label.c_str());
        m_ready = m_ready && m_row && m_outcome;
    }
    bool ready() const { return m_ready; }
    bool Key(unsigned key, unsigned modifiers = 0) {
        return m_window->GetPaintManager().OnKeyDown(key, modifiers);
    }
    CControlUI* list() const { return m_list; }
    CControlUI* row() const { return m_row; }          // the focused button's row
    CControlUI* outcome() const { return m_outcome; }  // that row's outcome label

private:
    MainWindow* m_window = nullptr;
    std::unique_ptr<UITestDriver> m_driver;
    CControlUI* m_list = nullptr;
    CControlUI* m_row = nullptr;
    CControlUI* m_outcome = nullptr;
    bool m_ready = false;
};

// Built once for every benchmark here, and left to the process's end.
LongList& Shown() {
    static LongList* list = new LongList();
    return *list;
}

// Keys in pairs that bring the focus back where it was.
void RunPair(benchmark::State& state, unsigned key, unsigned back, unsigned backModifiers) {
    LongList& list = Shown();
    if (!list.ready()) state.SkipWithError("the list was not built");
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(step++ % 2 == 0 ? list.Key(key) : list.Key(back, backModifiers));
    }
}

void BM_KeyEndHome(benchmark::State& state) {
    RunPair(state, UIKEY_END, UIKEY_HOME, 0);
}
void BM_KeyPageDownUp(benchmark::State& state) {
    RunPair(state, UIKEY_PAGEDOWN, UIKEY_PAGEUP, 0);
}
void BM_KeyTabShiftTab(benchmark::State& state) {
    RunPair(state, UIKEY_TAB, UIKEY_TAB, UIMOD_SHIFT);
}
void BM_AccessibleListChildren(benchmark::State& state) {
    LongList& list = Shown();
    if (!list.ready()) state.SkipWithError("the list was not built");
    CControlUI* element = list.list();
    while (element && !Accessible::IsElement(element)) element = element->GetParent();
    for (auto _ : state) {
        // Child by child, as a reader walks it: first child, then next.
        int count = 0;
        for (CControlUI* c = Accessible::Navigate(element, Accessible::Direction::FirstChild);
             c && count < 100; c = Accessible::Navigate(c, Accessible::Direction::Next)) {
            ++count;
        }
        benchmark::DoNotOptimize(count);
    }
}
// IEnumVARIANT::Next(10) half way down the list: from a copy of a place kept
// there (0), or, as Next did before, from the list of every child (1).
void BM_AccessibleListNextTen(benchmark::State& state) {
    LongList& list = Shown();
    if (!list.ready()) state.SkipWithError("the list was not built");
    CControlUI* element = list.list();
    Accessible::ChildCursor middle;
    Accessible::NextChildren(element, middle, kRows / 2);
    for (auto _ : state) {
        if (state.range(0) == 1) {
            const std::vector<CControlUI*> all = Accessible::ChildrenOf(element);
            benchmark::DoNotOptimize(
                std::vector<CControlUI*>(all.begin() + kRows / 2, all.begin() + kRows / 2 + 10));
            continue;
        }
        Accessible::ChildCursor cursor = middle;
        benchmark::DoNotOptimize(Accessible::NextChildren(element, cursor, 10));
    }
}
// A row's outcome label shown and hidden again, then a reader asks where a row
// is: the layout that brings that answer up to date, partial (0) or, as each
// accessibility call did after a change before, the whole window's (1).
void BM_AccessibleLocationAfterChange(benchmark::State& state) {
    LongList& list = Shown();
    if (!list.ready()) state.SkipWithError("the list was not built");
    CControlUI* row = list.row();
    CControlUI* label = list.outcome();
    CPaintManagerUI& manager = *row->GetManager();
    bool shown = false;
    for (auto _ : state) {
        shown = !shown;
        label->SetVisible(shown);
        if (state.range(0) == 1) manager.SetNeedsLayout();
        benchmark::DoNotOptimize(Accessible::LocationOf(row));
    }
    label->SetVisible(false);
    manager.UpdateLayout();
}
BENCHMARK(BM_KeyEndHome)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyPageDownUp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyTabShiftTab)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AccessibleListChildren)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AccessibleListNextTen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AccessibleLocationAfterChange)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
