// The URL opener. The program may run elevated (it uninstalls updates), and
// whatever it starts would be elevated too: a browser with administrator
// rights over the machine, for a page the user may click around in. So an
// address or file goes to the signed-in user's desktop shell, which opens it
// in its own process; only when no shell runs is it opened from here, and then
// only by OpenUrl: OpenUrlAsUser (web pages) opens nothing without the shell.
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

namespace {

struct Openers {
    UrlsManagerTesting::ShellOpener throughDesktopShell = UrlOpeners::ThroughDesktopShell;
    UrlsManagerTesting::DirectOpener directly = UrlOpeners::Directly;
};

Openers CurrentOpeners() {
    Openers openers;
    std::lock_guard<std::mutex> lock(g_openersMutex);
    if (g_throughDesktopShell) openers.throughDesktopShell = g_throughDesktopShell;
    if (g_directly) openers.directly = g_directly;
    return openers;
}

// The desktop shell's answer; an address it opened or refused is logged here.
UrlOpeners::DesktopShellResult AskDesktopShell(const Openers& openers, const std::wstring& url,
                                               const char* function) {
    const UrlOpeners::DesktopShellResult shell = openers.throughDesktopShell(url);
    if (shell.outcome == UrlOpeners::DesktopShellResult::kOpened) {
        KT_LOG(LOG_ERROR, L"open url through the desktop shell:" << url, function);
    } else if (shell.outcome == UrlOpeners::DesktopShellResult::kRefused) {
        KT_LOG(LOG_ERROR, L"the desktop shell cannot open url:" << url << L" " << shell.cause,
               function);
    }
    return shell;
}

}  // namespace

bool UrlsManager::OpenUrl(const std::wstring& url) {
    const Openers openers = CurrentOpeners();
    // Both ways need COM: the shell is reached through it, and ShellExecute may
    // hand the file to shell extensions.
    const WinApi::ComApartment com;
    const UrlOpeners::DesktopShellResult shell = AskDesktopShell(openers, url, kFunction);
    if (shell.outcome != UrlOpeners::DesktopShellResult::kNoShell) {
        return shell.outcome == UrlOpeners::DesktopShellResult::kOpened;
    }
    KT_LOG(LOG_ERROR, L"no desktop shell (" << shell.cause << L"), open url directly:" << url,
           kFunction);
    return openers.directly(url);
}

bool UrlsManager::OpenUrlAsUser(const std::wstring& url) {
    constexpr const char* kAsUser = "UrlsManager::OpenUrlAsUser";
    const Openers openers = CurrentOpeners();
    const WinApi::ComApartment com;
    const UrlOpeners::DesktopShellResult shell = AskDesktopShell(openers, url, kAsUser);
    if (shell.outcome != UrlOpeners::DesktopShellResult::kNoShell) {
        return shell.outcome == UrlOpeners::DesktopShellResult::kOpened;
    }
    // Opened from here, the browser would run with this process's token.
    KT_LOG(LOG_ERROR, L"no desktop shell (" << shell.cause << L"), url not opened:" << url,
           kAsUser);
    return false;
}
