#include "support/LanguageFiles.h"

#include <tinyxml2.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "support/FileReader.h"
#include "winapi/TextConversion.h"

namespace fs = std::filesystem;

namespace {

// Windows-style separators are accepted everywhere: the program names its
// folders as "res\values\".
std::wstring JoinFolder(const std::wstring& folder, const std::wstring& fileName) {
    std::wstring path = Strconv::NativeSeparators(folder);
    if (!path.empty() && path.back() != L'/' && path.back() != L'\\')
        path += fs::path::preferred_separator;
    return path + fileName;
}

std::wstring BaseLanguage(const std::wstring& language) {
    return Strconv::LowerCase(language.substr(0, language.find(L'-')));
}

// Chinese is written in two scripts: Traditional in Taiwan, Hong Kong and Macao
// (or wherever the name says Hant), Simplified elsewhere. The sibling file in the
// reader's own script comes before any other file of the same base language.
std::wstring SameScriptSibling(const std::wstring& language) {
    const std::wstring name = Strconv::LowerCase(language);
    if (BaseLanguage(name) != L"zh") return std::wstring();
    for (const wchar_t* traditional : {L"-hant", L"-tw", L"-hk", L"-mo"}) {
        if (name.find(traditional) != std::wstring::npos) return L"zh-TW";
    }
    return L"zh-CN";
}

// Language names of the "*.xml" files in the folder, sorted by name.
std::vector<std::wstring> ListLanguages(const std::wstring& folder) {
    std::vector<std::wstring> names;
    std::error_code ec;
    fs::directory_iterator it(Strconv::WideToPath(Strconv::NativeSeparators(folder)), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::wstring name = Strconv::PathToWide(it->path().filename());
        if (name.size() > 4 && name.compare(name.size() - 4, 4, L".xml") == 0)
            names.push_back(name.substr(0, name.size() - 4));
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

bool IsUsableLanguageFile(const std::wstring& path) {
    tinyxml2::XMLDocument document;
    if (FileReader::ReadXml(Strconv::WideToPath(path), document) != FileReader::XmlRead::kParsed)
        return false;
    const tinyxml2::XMLElement* root = document.RootElement();
    return root != nullptr && std::string(root->Name()) == "Strings";
}

std::wstring ResolveLanguageFile(const std::wstring& folder, const std::wstring& language) {
    if (!language.empty()) {
        const std::wstring exact = JoinFolder(folder, language + L".xml");
        if (IsUsableLanguageFile(exact)) return exact;
        const std::wstring sibling = SameScriptSibling(language);
        if (!sibling.empty()) {
            const std::wstring path = JoinFolder(folder, sibling + L".xml");
            if (IsUsableLanguageFile(path)) return path;
        }
        const std::wstring base = BaseLanguage(language);
        for (const std::wstring& candidate : ListLanguages(folder)) {
            if (BaseLanguage(candidate) != base) continue;
            const std::wstring path = JoinFolder(folder, candidate + L".xml");
            if (IsUsableLanguageFile(path)) return path;
        }
    }
    const std::wstring fallback = JoinFolder(folder, L"en-US.xml");
    return IsUsableLanguageFile(fallback) ? fallback : std::wstring();
}
