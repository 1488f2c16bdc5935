#pragma once

#include <string>

class SystemEnvironment {
public:
    // The user's UI language, such as "en-US" or "zh-CN".
    static std::wstring GetCurrentUserLanguage();
};
