// e2e_ui's Windows Update commands: the program's own Windows Update layer
// (winapi/WindowsUpdate.h) run on a multithreaded COM thread, as the program
// runs it, against whatever the prefix has as UpdateSession.
//   wua-history                    "result=<HRESULT> count=<n>", then "<date><TAB><title>"
//   wua-search CRITERIA [ABORT_MS] "result=<HRESULT> count=<n>", then
//                                  "<KB,KB><TAB><hidden|-><TAB><mandatory|-><TAB><title>";
//                                  ABORT_MS: another thread calls Abort that long after
//   wua-hide CRITERIA KB true|false  searches, then SetHidden on the update with KB:
//                                  "result=<HRESULT>"
#include "e2e_ui_wua.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "winapi/ComApartment.h"
#include "winapi/TextConversion.h"
#include "winapi/WindowsUpdate.h"

namespace {

void Print(const std::wstring& text) {
    std::fputs(Strconv::WideToUtf8(text).c_str(), stdout);
}

int PrintResult(uint32_t result, size_t count) {
    std::printf("result=0x%08X count=%zu\n", static_cast<unsigned>(result), count);
    return result == 0 ? 0 : 1;
}

std::wstring Ids(const WinApi::OfferedUpdate& update) {
    std::wstring ids;
    for (const std::wstring& id : update.kbArticleIds) ids += (ids.empty() ? L"" : L",") + id;
    return ids;
}

int History() {
    std::vector<WinApi::UpdateHistoryEntry> entries;
    const uint32_t result = WinApi::ReadUpdateHistory(&entries);
    const int status = PrintResult(result, entries.size());
    for (const auto& entry : entries) {
        std::printf("%.4f\t", entry.date);
        Print(entry.title + L"\n");
    }
    return status;
}

int Search(const std::wstring& criteria, long abortMs) {
    WinApi::UpdateSearch search;
    std::thread aborter;
    if (abortMs >= 0) {
        aborter = std::thread([&search, abortMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(abortMs));
            search.Abort();
        });
    }
    std::vector<WinApi::OfferedUpdate> updates;
    const uint32_t result = search.Run(criteria, &updates);
    if (aborter.joinable()) aborter.join();
    const int status = PrintResult(result, updates.size());
    for (const auto& update : updates) {
        Print(Ids(update) + (update.hidden ? L"\thidden" : L"\t-") +
              (update.mandatory ? L"\tmandatory\t" : L"\t-\t") + update.title + L"\n");
    }
    return status;
}

int Hide(const std::wstring& criteria, const std::wstring& kb, bool hidden) {
    WinApi::UpdateSearch search;
    std::vector<WinApi::OfferedUpdate> updates;
    uint32_t result = search.Run(criteria, &updates);
    if (result == 0) {
        result = 0x80240001;  // WU_E_NO_SERVICE stands for "not offered" here
        for (size_t i = 0; i < updates.size(); ++i) {
            for (const std::wstring& id : updates[i].kbArticleIds) {
                if (id == kb) result = search.SetHidden(i, hidden);
            }
        }
    }
    std::printf("result=0x%08X\n", static_cast<unsigned>(result));
    return result == 0 ? 0 : 1;
}

}  // namespace

int WindowsUpdateCommand(int argc, wchar_t** argv) {
    const WinApi::ComApartment com(WinApi::ComApartment::kMultithreaded);
    if (!com.IsReady()) return PrintResult(static_cast<uint32_t>(com.Result()), 0);
    const std::wstring command = argv[1];
    if (command == L"wua-history" && argc == 2) return History();
    if (command == L"wua-search" && (argc == 3 || argc == 4)) {
        return Search(argv[2], argc == 4 ? std::wcstol(argv[3], nullptr, 10) : -1);
    }
    if (command == L"wua-hide" && argc == 5) {
        return Hide(argv[2], argv[3], std::wstring(argv[4]) == L"true");
    }
    return 2;
}
