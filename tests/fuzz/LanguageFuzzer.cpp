// The language files: which file serves a language (ResolveLanguageFile, the
// start-up check DE::LanguageResExist) and the strings UICulture reads from it.
// Input: a flag byte choosing the file names (bits 0-1), the language up to the
// first newline, then the bytes of one or two files separated by a zero byte.
#include <filesystem>
#include <vector>

#include "FuzzSupport.h"
#include "duilib/UICulture.h"
#include "support/KtFileUtil.h"
#include "support/LanguageFiles.h"
#include "winapi/TextConversion.h"

namespace fs = std::filesystem;

namespace {

const wchar_t* const kKeys[] = {
    L"IDS_APP_TITLE",  L"IDS_HOTFIX_INSTALLED_TOTAL_COUNT", L"IDS_HOTFIX_LOAD_FAIL", L"IDS_A", L"",
    L"IDS_PROMPT_TIPS"};

// A file name for the language that stays inside the folder.
std::string SafeName(const std::wstring& language) {
    std::string name;
    for (wchar_t c : language) {
        const bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                           (c >= L'0' && c <= L'9') || c == L'-' || c == L'_';
        name += plain ? static_cast<char>(c) : '_';
    }
    return name.empty() ? "xx" : name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::wstring language = FuzzSupport::DecodeText(FuzzSupport::TakeField(input, '\n'));
    const std::string first = FuzzSupport::TakeField(input, '\0');
    const fs::path folder = fs::path(FuzzSupport::ExecutableFolder()) / "values";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string exact = SafeName(language) + ".xml";
    const std::string sameBase = SafeName(language.substr(0, language.find(L'-'))) + "-ZZ.xml";
    const std::string names[] = {exact, sameBase, "en-US.xml", exact};
    FuzzSupport::WriteFile((folder / names[data[0] & 3]).string(), first);
    if (!input.empty()) FuzzSupport::WriteFile((folder / "en-US.xml").string(), input);

    const std::wstring folderText = Strconv::Utf8ToWide(folder.string());
    const std::wstring path = ResolveLanguageFile(folderText, language);
    FUZZ_CHECK(path.empty() || IsUsableLanguageFile(path));
    FUZZ_CHECK(DE::LanguageResExist(language, folderText) == !path.empty());

    DuiLib::UICulture* culture = DuiLib::UICulture::GetInstance();
    culture->SetLanguagePath(folderText);
    FUZZ_CHECK(culture->SetLanguage(language, true) == !path.empty());
    for (const wchar_t* key : kKeys) culture->GetString(key);
    FUZZ_CHECK(culture->GetString(L"").str().empty());
    for (const wchar_t* key : kKeys) culture->GetFormatString(key, std::vector<int>{7, -1, 42}, 0);
    return 0;
}
