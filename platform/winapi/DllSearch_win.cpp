// The process's DLL search order and its trust of junctions (see
// WinApi::RestrictDllSearchToSystem32, WinApi::EnforceRedirectionTrust).
#include <windows.h>
// (first: the other Windows headers build on it)
#include "winapi/WinApi.h"

namespace WinApi {

uint32_t RestrictDllSearchToSystem32() {
    return ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) ? 0 : ::GetLastError();
}

uint32_t EnforceRedirectionTrust() {
    PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY policy = {};
    policy.EnforceRedirectionTrust = 1;
    return ::SetProcessMitigationPolicy(ProcessRedirectionTrustPolicy, &policy, sizeof(policy))
               ? 0
               : ::GetLastError();
}

}  // namespace WinApi
