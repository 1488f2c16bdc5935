// Test seam of UrlsManager: the way to the desktop shell (UrlOpeners.h).
#pragma once

#include <functional>
#include <string>

#include "support/UrlOpeners.h"

namespace UrlsManagerTesting {

using ShellOpener = std::function<UrlOpeners::DesktopShellResult(const std::wstring& url)>;
// An empty function restores the platform's own.
void SetOpener(ShellOpener throughDesktopShell);

}  // namespace UrlsManagerTesting
