// Where a row's time goes under Wine: each step the main window takes for a row,
// 1,000 times over, timed apart (QueryPerformanceCounter), run from the staged
// program folder with the program's logger, beside the file-system calls they
// are made of. Prints microseconds per step. (A row's first layout and paint:
// list_frame.exe.)
//   row_parts.exe [COUNT]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "duilib/UIlib.h"
#include "hotfix/XmlHelper.h"
#include "support/KtLogger.h"
#include "ui/SharedConstants.h"
#include "ui/item/HotfixManageItemDetail.h"

using namespace DuiLib;

namespace {

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

void Time(const char* what, int count, const std::function<void(int)>& step) {
    const double start = Now();
    for (int i = 0; i < count; ++i) step(i);
    const double total = Now() - start;
    std::printf("%-44s %8.1f us per step, %7.1f ms for %d\n", what, total / count, total / 1000,
                count);
}

// Keeps the measured calls from being optimised away.
volatile long long benchmark_sink = 0;

HotfixInfo Record(int i) {
    static const wchar_t* const categories[] = {L"Update", L"Security Update", L"Hotfix"};
    return HotfixInfo{L"KB" + std::to_wstring(5000001 + i), categories[i % 3], L"3/4/2024"};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int count = argc > 1 ? _wtoi(argv[1]) : 1000;
    KtLogger::GetInstance()->SetProcessLoggerDir("OrvelleBench");
    KtLogger::GetInstance()->InitProcessLogger();
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + RESOURCE_FOLDER);
    UICulture::GetInstance()->SetLanguagePath(
        (CPaintManagerUI::GetInstancePath() + LANGUAGE_FOLDER).str());
    UICulture::GetInstance()->SetLanguage(L"en-US", true);

    Time("log line (written and flushed)", count,
         [](int) { KT_LOG(LOG_INFO, L"bench line", "RowParts"); });
    Time("catalogue lookup (XmlHelper, its log line)", count,
         [](int i) { XmlHelper::GetInstance()->GetValueDesc(Record(i).Description); });
    Time("row layout built (CDialogBuilder)", count, [](int) {
        delete CDialogBuilder().Create(STRINGorID(ITEM_LAYOUT), nullptr, nullptr, nullptr, nullptr);
    });
    const std::filesystem::path catalogue =
        std::filesystem::path(CPaintManagerUI::GetInstancePath().str()) / L"config" /
        L"HotfixDestriptionDes.xml";
    Time("file size and time (std::filesystem)", count, [&](int) {
        std::error_code ec;
        benchmark_sink += std::filesystem::file_size(catalogue, ec);
        benchmark_sink +=
            std::filesystem::last_write_time(catalogue, ec).time_since_epoch().count();
    });
    Time("file attributes (GetFileAttributesExW)", count, [&](int) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        GetFileAttributesExW(catalogue.c_str(), GetFileExInfoStandard, &data);
    });
    Time("file opened, read and closed (fopen)", count, [&](int) {
        FILE* f = _wfopen(catalogue.c_str(), L"rb");
        char buffer[4096];
        if (f) {
            fread(buffer, 1, sizeof(buffer), f);
            fclose(f);
        }
    });
    Time("language text", count,
         [](int) { UICulture::GetInstance()->GetString(L"IDS_UNINSTALL_HOTFIX_OPERATION"); });

    CPaintManagerUI manager;
    auto* list = new CVerticalLayoutUI();
    manager.AttachDialog(list);
    std::vector<std::unique_ptr<HotfixManageItemDetail>> rows;
    Time("whole row (InitItemLayout + SetContent)", count, [&](int i) {
        rows.emplace_back(new HotfixManageItemDetail(Record(i)));
        rows.back()->InitItemLayout(list);
        rows.back()->SetContent(Record(i), i + 1 == count);
    });
    return 0;
}
