// UICulture: the language strings of the chosen language, read from
// "<language>.xml" in the language folder (see LanguageFiles.h for which file
// serves a language).
#include "duilib/UICulture.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "support/FileReader.h"
#include "support/KtLogger.h"
#include "support/LanguageFiles.h"
#include "support/TextUtil.h"
#include "winapi/TextConversion.h"

namespace DuiLib {

struct UICulture::Strings {
    std::wstring folder;
    std::wstring language;  // as loaded: the file's language, e.g. "de-DE" for "de-AT"
    std::unordered_map<std::wstring, std::wstring> texts;
    mutable std::unordered_set<std::wstring> reported;  // unknown keys already logged
};

namespace {

// The keys of the missing-resource box are readable even without any language file.
const wchar_t* BuiltInText(const std::wstring& key) {
    if (key == L"IDS_RES_FILE_NOT_EXIST_TIPS") {
        return L"The program's resource files are missing or damaged. Please reinstall OrvelleEx.";
    }
    if (key == L"IDS_PROMPT_TIPS") return L"Prompt";
    return nullptr;
}

bool ReadStrings(const std::wstring& path, std::unordered_map<std::wstring, std::wstring>& texts,
                 std::wstring& language) {
    tinyxml2::XMLDocument doc;
    const FileReader::XmlRead read = FileReader::ReadXml(Strconv::WideToPath(path), doc);
    if (read == FileReader::XmlRead::kUnreadable) {
        KT_LOG(LOG_ERROR, "language file cannot be read:" << path, "UICulture::SetLanguage");
        return false;
    }
    if (read != FileReader::XmlRead::kParsed || !doc.RootElement() ||
        std::string(doc.RootElement()->Name()) != "Strings") {
        KT_LOG(LOG_ERROR, "language file is not a <Strings> document:" << path,
               "UICulture::SetLanguage");
        return false;
    }
    const char* lang = doc.RootElement()->Attribute("language");
    if (lang) language = Strconv::Utf8ToWide(lang);
    for (const tinyxml2::XMLElement* e = doc.RootElement()->FirstChildElement("String"); e;
         e = e->NextSiblingElement("String")) {
        const char* id = e->Attribute("id");
        if (!id || !*id) continue;
        texts[Strconv::Utf8ToWide(id)] = Strconv::Utf8ToWide(e->GetText() ? e->GetText() : "");
    }
    return true;
}

}  // namespace

UICulture* UICulture::GetInstance() {
    // Lives for the process, so no exit-time destruction order matters.
    static UICulture* instance = [] {
        UICulture* culture = new UICulture;
        culture->m_strings = new Strings;
        return culture;
    }();
    return instance;
}

void UICulture::SetLanguagePath(const std::wstring& folder) {
    m_strings->folder = folder;
}

bool UICulture::SetLanguage(const std::wstring& language, bool reload) {
    Strings& s = *m_strings;
    if (!reload && !s.texts.empty() && s.language == language) return true;
    s.texts.clear();
    s.reported.clear();
    s.language = language;
    std::wstring path = ResolveLanguageFile(s.folder, language);
    if (path.empty()) {
        KT_LOG(LOG_ERROR, "no language file for:" << language << " in " << s.folder,
               "UICulture::SetLanguage");
        return false;
    }
    std::wstring loaded = language;
    if (!ReadStrings(path, s.texts, loaded)) return false;
    s.language = loaded;
    return true;
}

std::wstring UICulture::GetLanguage() const {
    return m_strings->language;
}

CDuiString UICulture::GetString(LPCTSTR key) const {
    if (!key || !*key) return CDuiString();
    const std::wstring k = key;
    auto it = m_strings->texts.find(k);
    if (it != m_strings->texts.end()) return CDuiString(it->second);
    if (const wchar_t* builtIn = BuiltInText(k)) return CDuiString(builtIn);
    if (m_strings->reported.insert(k).second) {
        KT_LOG(LOG_ERROR, "unknown language key:" << k, "UICulture::GetString");
    }
    return CDuiString();
}

std::wstring UICulture::GetFormatString(const std::wstring& key, const std::vector<int>& values,
                                        int reserved) const {
    return FillNumberedPlaceholders(GetString(key).str(), values);
}

}  // namespace DuiLib
