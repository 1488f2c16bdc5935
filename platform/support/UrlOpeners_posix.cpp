// The way to the desktop on other systems: xdg-open, which hands the address
// to the desktop's handler. Started from here it runs as the user who started
// the program, which is what the Windows shell gives an elevated program. It is
// found on PATH and run directly (no shell, so the address is one argument
// whatever it holds), as a grandchild so nothing waits for it and no zombie is
// left; a close-on-exec pipe tells whether it could be started. Without it
// there is no desktop to hand the address to.
#include <errno.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "support/UrlOpeners.h"
#include "winapi/PosixStandIn.h"
#include "winapi/TextConversion.h"

namespace UrlOpeners {

DesktopShellResult ThroughDesktopShell(const std::wstring& url) {
    if (url.empty()) return {DesktopShellResult::kRefused, L"empty url"};
    const std::string target = Strconv::WideToUtf8(url);
    char opener[] = "xdg-open";
    char* argv[] = {opener, const_cast<char*>(target.c_str()), nullptr};
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return {DesktopShellResult::kNoShell, L"pipe errno:" + std::to_wstring(errno)};
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
        return {DesktopShellResult::kNoShell,
                L"cannot start xdg-open: " + std::to_wstring(child < 0 ? forkError : execError)};
    }
    return {DesktopShellResult::kOpened, std::wstring()};
}

}  // namespace UrlOpeners
