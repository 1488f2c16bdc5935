// The URL opener. The program runs elevated (it uninstalls updates), and
// whatever it started itself would run with the administrator's token: the
// shell's own look-up of the handler goes through HKCR, where the user's HKCU
// entries win, so the user's chosen command would run elevated. So an address
// or file only ever goes to the signed-in user's desktop shell, which opens it
// in its own, unelevated process; when no shell answers nothing is started
// and the caller shows the address instead.
#include "support/UrlsManager.h"

#include <mutex>

#include "support/KtLogger.h"
#include "support/UrlsManagerTesting.h"
#include "winapi/ComApartment.h"

namespace {

constexpr const char* kFunction = "UrlsManager::OpenUrl";

std::mutex g_openerMutex;
UrlsManagerTesting::ShellOpener g_throughDesktopShell;

}  // namespace

namespace UrlsManagerTesting {
void SetOpener(ShellOpener throughDesktopShell) {
    std::lock_guard<std::mutex> lock(g_openerMutex);
    g_throughDesktopShell = std::move(throughDesktopShell);
}
}  // namespace UrlsManagerTesting

UrlsManager* UrlsManager::Instance() {
    static UrlsManager instance;
    return &instance;
}

UrlsManager::Outcome UrlsManager::Open(const std::wstring& url) {
    UrlsManagerTesting::ShellOpener throughDesktopShell = UrlOpeners::ThroughDesktopShell;
    {
        std::lock_guard<std::mutex> lock(g_openerMutex);
        if (g_throughDesktopShell) throughDesktopShell = g_throughDesktopShell;
    }
    const WinApi::ComApartment com;  // the shell is reached through COM
    const UrlOpeners::DesktopShellResult shell = throughDesktopShell(url);
    switch (shell.outcome) {
        case UrlOpeners::DesktopShellResult::kOpened:
            KT_LOG(LOG_ERROR, L"open url through the desktop shell:" << url, kFunction);
            return Outcome::kOpened;
        case UrlOpeners::DesktopShellResult::kRefused:
            KT_LOG(LOG_ERROR, L"the desktop shell cannot open url:" << url << L" " << shell.cause,
                   kFunction);
            return Outcome::kRefused;
        case UrlOpeners::DesktopShellResult::kNoShell:
            break;
    }
    KT_LOG(LOG_ERROR, L"no desktop shell (" << shell.cause << L"), url not opened:" << url,
           kFunction);
    return Outcome::kNoShell;
}

bool UrlsManager::OpenUrl(const std::wstring& url) {
    return Open(url) == Outcome::kOpened;
}
