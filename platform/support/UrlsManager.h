#pragma once

#include <string>

class UrlsManager {
public:
    static UrlsManager* Instance();
    // Opens an address or file with the system's default handler; true on success.
    bool OpenUrl(const std::wstring& url);
};
