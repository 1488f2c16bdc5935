// The user's language from the locale variables: LC_ALL, then LC_MESSAGES,
// then LANG, the first that is set ("zh_CN.UTF-8" -> "zh-CN"); "en-US" when
// none is set or it names no language ("C", "POSIX").
#include <cstdlib>
#include <string>

#include "support/SystemEnvironment.h"
#include "winapi/TextConversion.h"

namespace {

bool IsLetters(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    return true;
}

// "ll_CC.codeset@modifier" -> "ll-CC"; empty when it is not of that form.
std::wstring LanguageFromLocale(std::string locale) {
    locale = locale.substr(0, locale.find_first_of(".@"));
    const size_t underscore = locale.find('_');
    const std::string language = locale.substr(0, underscore);
    const std::string region =
        underscore == std::string::npos ? std::string() : locale.substr(underscore + 1);
    if (!IsLetters(language) || language.size() > 3 ||
        (underscore != std::string::npos && !IsLetters(region)))
        return {};
    const std::string name = region.empty() ? language : language + "-" + region;
    return Strconv::Utf8ToWide(name);
}

}  // namespace

std::wstring SystemEnvironment::GetCurrentUserLanguage() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || value[0] == '\0') continue;
        const std::wstring language = LanguageFromLocale(value);
        return language.empty() || language == L"C" ? L"en-US" : language;
    }
    return L"en-US";
}
