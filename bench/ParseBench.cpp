// What every row must do anyway: read and parse its layout file and the
// description catalogue (plain tinyxml2, no toolkit); and the toolkit's and the
// catalogue reader's own work on top of those parses.
#include <benchmark/benchmark.h>
#include <tinyxml2.h>

#include "BenchEnvironment.h"
#include "duilib/UIlib.h"
#include "hotfix/XmlHelper.h"
#include "support/FileReader.h"
#include "support/KtFileUtil.h"
#include "support/KtLogger.h"
#include "ui/SharedConstants.h"
#include "winapi/TextConversion.h"

namespace {

void ReadAndParse(benchmark::State& state, const std::string& relative) {
    const std::string path = BenchEnvironment::Prepare() + "/" + relative;
    for (auto _ : state) {
        tinyxml2::XMLDocument document;
        FileReader::ReadXml(path, document);
        benchmark::DoNotOptimize(document.RootElement());
    }
}

void BM_ParseRowLayoutXml(benchmark::State& state) {
    ReadAndParse(state, "res/layout/Hotfix_container_item_detail.xml");
}
BENCHMARK(BM_ParseRowLayoutXml)->Unit(benchmark::kMicrosecond);

void BM_ParseCatalogueXml(benchmark::State& state) {
    ReadAndParse(state, "config/HotfixDestriptionDes.xml");
}
BENCHMARK(BM_ParseCatalogueXml)->Unit(benchmark::kMicrosecond);

// The row layout as the toolkit builds it: read, parse, controls and attributes.
void BM_BuildRowLayout(benchmark::State& state) {
    BenchEnvironment::Prepare();
    for (auto _ : state) {
        DuiLib::CDialogBuilder builder;
        delete builder.Create(DuiLib::STRINGorID(ITEM_LAYOUT));
    }
}
BENCHMARK(BM_BuildRowLayout)->Unit(benchmark::kMicrosecond);

// One lookup reads and parses the whole catalogue, by design (edits apply at once).
void BM_CatalogueLookup(benchmark::State& state, const wchar_t* category) {
    BenchEnvironment::Prepare();
    for (auto _ : state) benchmark::DoNotOptimize(XmlHelper::GetInstance()->GetValueDesc(category));
}
BENCHMARK_CAPTURE(BM_CatalogueLookup, first_entry, L"Update")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CatalogueLookup, last_entry, L"Tools")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CatalogueLookup, unknown, L"Unknown Category")->Unit(benchmark::kMicrosecond);

// Two fixed parts of every lookup besides its parse: the existence check of the
// file and the "find value success!" line, written and flushed to the log file.
void BM_CatalogueExistenceCheck(benchmark::State& state) {
    const std::wstring path =
        Strconv::Utf8ToWide(BenchEnvironment::Prepare() + "/config/HotfixDestriptionDes.xml");
    for (auto _ : state) benchmark::DoNotOptimize(DE::FileExistsW(path));
}
BENCHMARK(BM_CatalogueExistenceCheck)->Unit(benchmark::kMicrosecond);

void BM_LogLine(benchmark::State& state) {
    BenchEnvironment::Prepare();
    for (auto _ : state) KT_LOG(LOG_INFO, L"find value success!", "XmlHelper::GetValueDesc");
}
BENCHMARK(BM_LogLine)->Unit(benchmark::kMicrosecond);

}  // namespace
