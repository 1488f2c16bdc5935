// The URL opener. The program may run elevated (it uninstalls updates), and
// whatever it starts would be elevated too: a browser with administrator
// rights over the machine, for a page the user may click around in. So an
// address or file goes to the signed-in user's desktop shell, which opens it
// in its own process; only when no shell runs is it opened from here.
#include "support/UrlsManager.h"

#include <mutex>

#include "support/KtLogger.h"
#include "support/UrlsManagerTesting.h"
#include "winapi/ComApartment.h"

namespace {

constexpr const char* kFunction = "UrlsManager::OpenUrl";

std::mutex g_openersMutex;
UrlsManagerTesting::ShellOpener g_throughDesktopShell;
UrlsManagerTesting::DirectOpener g_directly;

}  // namespace

namespace UrlsManagerTesting {
void SetOpeners(ShellOpener throughDesktopShell, DirectOpener directly) {
    std::lock_guard<std::mutex> lock(g_openersMutex);
    g_throughDesktopShell = std::move(throughDesktopShell);
    g_directly = std::move(directly);
}
}  // namespace UrlsManagerTesting

UrlsManager* UrlsManager::Instance() {
    static UrlsManager instance;
    return &instance;
}

bool UrlsManager::OpenUrl(const std::wstring& url) {
    UrlsManagerTesting::ShellOpener throughDesktopShell = UrlOpeners::ThroughDesktopShell;
    UrlsManagerTesting::DirectOpener directly = UrlOpeners::Directly;
    {
        std::lock_guard<std::mutex> lock(g_openersMutex);
        if (g_throughDesktopShell) throughDesktopShell = g_throughDesktopShell;
        if (g_directly) directly = g_directly;
    }
    // Both ways need COM: the shell is reached through it, and ShellExecute may
    // hand the file to shell extensions.
    const WinApi::ComApartment com;
    const UrlOpeners::DesktopShellResult shell = throughDesktopShell(url);
    switch (shell.outcome) {
        case UrlOpeners::DesktopShellResult::kOpened:
            KT_LOG(LOG_ERROR, L"open url through the desktop shell:" << url, kFunction);
            return true;
        case UrlOpeners::DesktopShellResult::kRefused:
            KT_LOG(LOG_ERROR, L"the desktop shell cannot open url:" << url << L" " << shell.cause,
                   kFunction);
            return false;
        case UrlOpeners::DesktopShellResult::kNoShell:
            break;
    }
    KT_LOG(LOG_ERROR, L"no desktop shell (" << shell.cause << L"), open url directly:" << url,
           kFunction);
    return directly(url);
}
