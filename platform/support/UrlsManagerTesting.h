// Test seam of UrlsManager: the two ways of opening (UrlOpeners.h).
#pragma once

#include <functional>
#include <string>

#include "support/UrlOpeners.h"

namespace UrlsManagerTesting {

using ShellOpener = std::function<UrlOpeners::DesktopShellResult(const std::wstring& url)>;
using DirectOpener = std::function<bool(const std::wstring& url)>;
// Empty functions restore the platform's own.
void SetOpeners(ShellOpener throughDesktopShell, DirectOpener directly);

}  // namespace UrlsManagerTesting
