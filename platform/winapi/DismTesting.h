// Test controls of the servicing API stand-in (non-Windows builds only).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace WinApi {
namespace Testing {

// The results the stand-in's calls return (all S_OK after a reset).
struct DismResults {
    uint32_t initialize = 0;
    uint32_t openSession = 0;
    uint32_t removePackage = 0;
    uint32_t closeSession = 0;
    uint32_t shutdown = 0;
};
void SetDismResults(const DismResults& results);
// What DismGetLastErrorMessage gives (empty: no message).
void SetDismErrorMessage(const std::wstring& message);
// Runs inside DismRemovePackage before it reports progress (e.g. to hold it).
void SetDismRemoveHook(std::function<void()> hook);
// Every call, in order: "DismInitialize(DismLogErrors,NULL,<scratch folder or NULL>)",
// "DismOpenSession(DISM_ONLINE_IMAGE,NULL,NULL)",
// "DismRemovePackage(<name>,DismPackageName,cancel:none)", "DismCloseSession",
// "DismShutdown", "DismGetLastErrorMessage", "DismDelete".
std::vector<std::wstring> DismCalls();
// Forgets results, message, hook and calls.
void ResetDism();

}  // namespace Testing
}  // namespace WinApi
