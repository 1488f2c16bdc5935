// The single URL opener.
#pragma once

#include <string>

class UrlsManager {
public:
    enum class Outcome {
        kOpened,   // the signed-in user's desktop shell opens it
        kRefused,  // the shell was reached but cannot open it
        kNoShell,  // no desktop shell answered; nothing was started
    };

    static UrlsManager* Instance();
    // Hands an address or file to the signed-in user's desktop shell, which
    // opens it with the user's default handler in its own process (see
    // UrlsManager.cpp). Never starts anything from this process. Logs the outcome.
    Outcome Open(const std::wstring& url);
    // Open(url) == Outcome::kOpened.
    bool OpenUrl(const std::wstring& url);
};
