// The language-string service: texts of "IDS_" keys for the chosen language.
// File format and placeholders: res/values/README.md.
#pragma once

#include <string>
#include <vector>

#include "duilib/UIString.h"

namespace DuiLib {

class UICulture {
public:
    static UICulture* GetInstance();

    void SetLanguagePath(const std::wstring& folder);
    // Loads the language's strings (the closest shipped language when the exact one is absent).
    bool SetLanguage(const std::wstring& language, bool reload);
    std::wstring GetLanguage() const;

    // The text of a key. An empty or unknown key gives an empty string.
    CDuiString GetString(LPCTSTR key) const;
    CDuiString GetString(const std::wstring& key) const { return GetString(key.c_str()); }
    // The key's text with "{0}", "{1}", ... replaced by the values.
    std::wstring GetFormatString(const std::wstring& key, const std::vector<int>& values,
                                 int reserved) const;

private:
    UICulture() = default;
    struct Strings;
    Strings* m_strings = nullptr;
};

}  // namespace DuiLib
