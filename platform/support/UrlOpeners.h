// How UrlsManager::Open reaches the signed-in user's desktop shell, one file
// per platform (UrlOpeners_win.cpp, UrlOpeners_posix.cpp). Runs with COM up on
// the calling thread.
#pragma once

#include <string>

namespace UrlOpeners {

struct DesktopShellResult {
    enum Outcome {
        kOpened,   // the desktop shell took it
        kRefused,  // the shell was reached but could not open it
        kNoShell,  // no desktop shell answered; nothing was started
    } outcome;
    std::wstring cause;  // kRefused, kNoShell: the call that failed and its result
};

// As the signed-in user: the desktop shell's own process (Explorer) opens it
// with its default handler, so what it starts is not elevated even when this
// process is.
DesktopShellResult ThroughDesktopShell(const std::wstring& url);

}  // namespace UrlOpeners
