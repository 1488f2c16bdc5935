// Wrapping a paragraph into lines, as the tip panel and the About dialog do:
// the time per laid-out line, in scripts that break at spaces and between
// characters.
#include <benchmark/benchmark.h>

#include "duilib/UITextLayout.h"
#include "duilib/UITextStyle.h"

namespace {

using namespace DuiLib;

const wchar_t* const kParagraphs[] = {
    L"Removing an update can leave this computer less secure. Some updates need a restart to "
    L"finish, and some cannot be removed at all.",
    L"업데이트를 제거하면 이 컴퓨터의 보안이 약해질 수 있습니다. 일부 업데이트는 제거를 마치려면 "
    L"다시 시작해야 하며, 제거할 수 없는 업데이트도 있습니다.",
    L"解除安裝更新可能會降低這部電腦的安全性。部分更新需要重新啟動電腦才能完成解除安裝，"
    L"有些更新則完全無法解除安裝。",
    L"更新プログラムをアンインストールすると、この PC "
    L"のセキュリティが低下するおそれがあります。完了に再起動が必要なものや、"
    L"アンインストールできないものもあります。",
};

void BM_LayoutWrappedText(benchmark::State& state) {
    const std::vector<TextRun> runs = ParseLinkMarkup(kParagraphs[state.range(0)]).runs;
    const UIFont font;
    const UIRect box{0, 0, 240, 400};
    for (auto _ : state) {
        std::vector<PlacedText> placed = LayoutText(runs, font, box, DT_ALIGN_WRAP);
        benchmark::DoNotOptimize(placed.data());
    }
    const UISize room = MeasureTextBlock(runs, font, box.Width(), true);
    const double lines = room.cy / MeasureTextBlock({}, font, 0, false).cy;
    state.counters["lines"] = lines;
    state.counters["s_per_line"] = benchmark::Counter(
        lines, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LayoutWrappedText)->DenseRange(0, 3)->ArgName("en_ko_zhTW_ja");

}  // namespace
