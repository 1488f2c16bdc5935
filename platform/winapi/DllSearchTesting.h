// Test controls of the DLL-search stand-in (non-Windows builds only): there is
// no DLL search to restrict, so the stand-in records each call.
#pragma once

#include <cstdint>
#include <functional>

namespace WinApi {
namespace Testing {

// How many times RestrictDllSearchToSystem32 was called in this process.
int DllSearchRestrictions();
// Runs on the calling thread inside each later call (empty: none), so a test
// can see what the program had done before restricting the search.
void SetDllSearchRestrictionHook(std::function<void()> hook);
// What RestrictDllSearchToSystem32 and EnforceRedirectionTrust report from now
// on (0: success, as at start).
void SetDllSearchErrors(uint32_t restriction, uint32_t redirectionTrust);

}  // namespace Testing
}  // namespace WinApi
