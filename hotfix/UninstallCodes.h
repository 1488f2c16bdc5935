// The raw outcomes of a removal (the installer's exit code, the servicing
// API's result) and what each one means for the row. One table (UninstallCodes.cpp) owns the
// mapping; every code it does not hold is a failure.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "hotfix/UninstallStatus.h"

namespace WindowsHotfix {

// WU_S_ALREADY_UNINSTALLED: see UninstallCodes.cpp.
constexpr uint32_t kAlreadyUninstalledCode = 0x00240007;

UninstallStatus MapUninstallCode(int code);
// The table itself, code by code, for whoever must read it whole (tests).
std::vector<std::pair<uint32_t, UninstallStatus>> KnownUninstallCodes();
// True for a code the table holds.
bool IsKnownUninstallCode(int code);
// The code's 32-bit hexadecimal form, as Microsoft's lists write it ("0x800F0825").
std::wstring HexCode(uint32_t code);

}  // namespace WindowsHotfix
