// Test controls of the version stand-in (non-Windows builds only): a client
// Windows 11 (26100, workstation) until a test says otherwise.
#pragma once

#include "winapi/OsVersion.h"

namespace WinApi {
namespace Testing {

// `readable` false: GetOsVersion fails.
void SetOsVersion(OsVersion version, bool readable = true);
void ResetOsVersion();

}  // namespace Testing
}  // namespace WinApi
