// One uninstall: runs the installer elevated on its own detached thread and
// reports the outcome to a reporter.
#pragma once

#include <memory>
#include <string>

#include "hotfix/UninstallReporter.h"

namespace WindowsHotfix {

extern const wchar_t* const kInstallerPath;  // "C:\Windows\System32\wusa.exe"

// Copies the parameters and starts the worker; returns at once. If no thread
// can be started, reports UNINSTALL_FAIL on the calling thread instead.
void StartUninstallWorker(const std::wstring& parameters,
                          std::shared_ptr<UninstallReporter> reporter);

}  // namespace WindowsHotfix
