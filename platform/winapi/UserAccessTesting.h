// Test controls of the user-access stand-in (non-Windows builds only).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace WinApi {
namespace Testing {

// OpenLinkedToken gives no token, with this error (0: a token again).
void SetNoLinkedToken(uint32_t error);
// The user's linked token may change this path (compared exactly).
void SetUserMayChange(const std::wstring& path);
// The security of this path cannot be read (as for a missing file).
void SetSecurityUnreadable(const std::wstring& path);
// Every path checked since the last reset, in order.
std::vector<std::wstring> AccessChecks();
// A linked token that may change nothing; no checks recorded.
void ResetUserAccess();

}  // namespace Testing
}  // namespace WinApi
