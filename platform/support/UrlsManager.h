// The single URL opener.
#pragma once

#include <string>

class UrlsManager {
public:
    static UrlsManager* Instance();
    // Opens an address or file with the system's default handler, as the
    // signed-in user (see UrlsManager.cpp); true on success. Logs which way it took.
    bool OpenUrl(const std::wstring& url);
    // Only as the signed-in user, through the desktop shell: without one the
    // address is not opened at all. For web pages, which need no fallback.
    bool OpenUrlAsUser(const std::wstring& url);
};
