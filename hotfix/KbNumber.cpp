#include "hotfix/KbNumber.h"

#include <algorithm>

std::wstring ExtractKbNumber(const std::wstring& hotfixId) {
    const size_t upper = hotfixId.find(L"KB");
    const size_t lower = hotfixId.find(L"kb");
    const size_t marker = std::min(upper, lower);
    if (marker == std::wstring::npos) {
        return L"";
    }
    std::wstring number = hotfixId.substr(marker + 2);
    const bool allDigits =
        std::all_of(number.begin(), number.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    if (number.empty() || !allDigits) {
        return L"";
    }
    return number;
}
