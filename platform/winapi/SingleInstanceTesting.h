// Test controls of the single-instance stand-in (non-Windows builds only).
// Every window belongs to this process; a mutex made by a plain CreateMutexW is
// another program's (no SD gives it to Administrators).
#pragma once

#include <string>

namespace WinApi {
namespace Testing {

// False: no private namespace can be had (as under Wine).
void SetPrivateNamespaces(bool available);
// What this process looks like to IsElevatedProcessOf: its image path (empty:
// the executable's own) and whether its token is elevated.
void SetWindowProcess(const std::wstring& image, bool elevated);
// Private namespaces available, the process itself, elevated.
void ResetSingleInstance();

}  // namespace Testing
}  // namespace WinApi
