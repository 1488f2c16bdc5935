// Windows Update's titles for the rows off the UI thread: a 2,000-entry history
// (two entries an update, the newer first) through the Windows Update seam,
// matched to 1,000 listed updates. The Wine measurement (bench/wine/measure.sh
// titles) times the same through the real COM calls, up to the titles showing.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "hotfix/UpdateTitles.h"
#include "winapi/WindowsUpdateTesting.h"

namespace {

std::wstring Number(int i) {
    wchar_t text[16];
    std::swprintf(text, 16, L"5%06d", i);
    return text;
}

void BM_ReadUpdateTitles(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    std::vector<std::wstring> ids;
    std::vector<WinApi::UpdateHistoryEntry> history;
    for (int i = 1; i <= rows; ++i) {
        ids.push_back(L"KB" + Number(i));
        history.push_back(
            {L"2024-03 Cumulative Update for Windows 11 Version 23H2 for x64-based "
             L"Systems (KB" +
                 Number(i) + L")",
             45370.0 + i / 10000.0});
        history.push_back({L"2024-02 Update for Windows 11 Version 23H2 for x64-based Systems (KB" +
                               Number(i) + L")",
                           45340.0 + i / 10000.0});
    }
    WinApi::Testing::SetUpdateHistory(0, history);
    for (auto _ : state) {
        const WindowsHotfix::UpdateTitlesRead read = WindowsHotfix::ReadUpdateTitles(ids);
        if (read.titles.size() != ids.size()) state.SkipWithError("a row got no title");
        benchmark::DoNotOptimize(read.titles);
    }
    WinApi::Testing::ResetWindowsUpdate();
}
BENCHMARK(BM_ReadUpdateTitles)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
