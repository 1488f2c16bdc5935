// Test control of the protected-folder stand-in (non-Windows builds only).
#pragma once

#include <string>

namespace WinApi {
namespace Testing {

// ProtectedProgramDataFolder(name) then gives "<orvelleFolder>\<name>"; empty
// (the default) makes it fail with ERROR_ACCESS_DENIED.
void SetProtectedProgramDataFolder(const std::wstring& orvelleFolder);

}  // namespace Testing
}  // namespace WinApi
