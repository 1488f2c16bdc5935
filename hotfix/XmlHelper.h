// The hotfix description catalogue: category text -> language key.
#pragma once

#include <string>

// The catalogue file, relative to the executable's folder: "config\HotfixDestriptionDes.xml".
extern const wchar_t* const HOTFIX_DESCRIPTION_FILE;

class XmlHelper {
public:
    static XmlHelper* GetInstance();
    // The "desc" of the first entry whose "detail" equals the category; empty otherwise.
    std::wstring GetValueDesc(std::wstring category);

private:
    XmlHelper() = default;
};
