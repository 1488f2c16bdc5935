// Linked into the bench's copy of the program (start_to_list.exe), never into
// the product. From before
// wWinMain, it watches the log records the list is built with (the load's "get
// install list ret:", then each row's "find value success!") and writes the
// seconds from the process's creation to the latest of them into
// start-to-list.txt beside the executable (overwritten at each one).
#include <windows.h>

#include <cstdio>
#include <string>

#include "ProcessClock_win.h"
#include "support/KtLogger.h"

namespace {

std::wstring ResultPath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"start-to-list.txt";
}

bool IsListLine(const std::wstring& text) {
    return text.rfind(L"get install list ret:", 0) == 0 ||
           text.rfind(L"find value success!", 0) == 0;
}

const bool kWatching = [] {
    KtLogger::GetInstance()->SetCaptureSink([](LOG_MESSAGE_LEVEL, const std::wstring& text) {
        if (!IsListLine(text)) return;
        const double seconds = SecondsSinceProcessCreation();
        static const std::wstring path = ResultPath();
        if (std::FILE* file = _wfopen(path.c_str(), L"w")) {
            std::fprintf(file, "list %.4f\n", seconds);
            std::fclose(file);
        }
    });
    return true;
}();

}  // namespace
