// The installer's raw outcomes (its exit code, a launch error or a wait result)
// and what each one means for the row. One table (UninstallCodes.cpp) owns the
// mapping; every code it does not hold is a failure.
#pragma once

#include <string>

#include "hotfix/UninstallStatus.h"

namespace WindowsHotfix {

UninstallStatus MapUninstallCode(int code);
// The code as the status line shows it: signed decimal, followed for a code the
// table does not hold by its 32-bit hexadecimal form, so that a log can be read
// against Microsoft's lists ("-2147024809 0x80070057").
std::wstring UninstallCodeText(int code);

}  // namespace WindowsHotfix
