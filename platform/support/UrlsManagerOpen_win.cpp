// Opens an address or file with the shell's default handler ("open" verb).
#include <windows.h>
// (first: the other Windows headers build on it)
#include <shellapi.h>

#include "support/KtLogger.h"
#include "support/UrlsManager.h"

bool UrlsManager::OpenUrl(const std::wstring& url) {
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    if (code > 32) return true;  // ShellExecuteW reports success as a value above 32
    KT_LOG(LOG_ERROR, L"ShellExecuteW open fail! ret:" << code, "UrlsManager::OpenUrl");
    return false;
}
