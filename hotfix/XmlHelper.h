// The hotfix description catalogue: category text -> language key.
#pragma once

#include <string>

class XmlHelper {
public:
    static XmlHelper* GetInstance();
    // The "desc" of the first entry whose "detail" equals the category; empty otherwise.
    std::wstring GetValueDesc(std::wstring category);

private:
    XmlHelper() = default;
};
