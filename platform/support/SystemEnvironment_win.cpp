// The user's UI language as a locale name ("en-US", "zh-CN").

#include <windows.h>

#include "support/KtLogger.h"
#include "support/SystemEnvironment.h"

std::wstring SystemEnvironment::GetCurrentUserLanguage() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const LANGID language = GetUserDefaultUILanguage();
    if (LCIDToLocaleName(MAKELCID(language, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) > 1)
        return name;
    if (GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) > 1) return name;
    KT_LOG(LOG_ERROR, L"no user language, error:" << GetLastError(),
           "SystemEnvironment::GetCurrentUserLanguage");
    return L"en-US";
}
