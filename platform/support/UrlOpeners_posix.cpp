// The URL openers on other systems. There is no separate desktop shell process
// to hand an address to: xdg-open, started from here, already runs as the user
// who started the program. It is found on PATH and run directly (no shell, so
// the address is one argument whatever it holds), as a grandchild so nothing
// waits for it and no zombie is left; a close-on-exec pipe tells whether it
// could be started.
#include <errno.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "support/KtLogger.h"
#include "support/TextConversion.h"
#include "support/UrlOpeners.h"
#include "winapi/PosixStandIn.h"

namespace UrlOpeners {

DesktopShellResult ThroughDesktopShell(const std::wstring&) {
    return {DesktopShellResult::kNoShell, L"none on this system"};
}

bool Directly(const std::wstring& url) {
    if (url.empty()) {
        KT_LOG(LOG_ERROR, L"empty url", "UrlsManager::OpenUrl");
        return false;
    }
    const std::string target = Utf8::FromWide(url);
    char opener[] = "xdg-open";
    char* argv[] = {opener, const_cast<char*>(target.c_str()), nullptr};
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        KT_LOG(LOG_ERROR, L"pipe fail! errno:" << errno, "UrlsManager::OpenUrl");
        return false;
    }
    const int highestDescriptor = WinApi::PosixStandIn::HighestDescriptor();
    const pid_t child = fork();
    if (child == 0) {
        const pid_t grandchild = fork();
        if (grandchild == 0)
            WinApi::PosixStandIn::CloseInheritedDescriptorsOnExec(highestDescriptor);
        if (grandchild == 0) execvp(argv[0], argv);
        if (grandchild <= 0) {
            const int error = errno;
            (void)!write(pipeFds[1], &error, sizeof(error));
        }
        _exit(0);
    }
    const int forkError = child < 0 ? errno : 0;
    close(pipeFds[1]);
    const int execError = WinApi::PosixStandIn::AwaitExecOutcome(pipeFds[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    if (child < 0 || execError != 0) {
        KT_LOG(LOG_ERROR, L"cannot start xdg-open: " << (child < 0 ? forkError : execError),
               "UrlsManager::OpenUrl");
        return false;
    }
    return true;
}

}  // namespace UrlOpeners
