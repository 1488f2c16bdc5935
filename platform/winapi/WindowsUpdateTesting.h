// Test controls of the Windows Update stand-in (non-Windows builds only).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "winapi/WindowsUpdate.h"

namespace WinApi {
namespace Testing {

// What ReadUpdateHistory gives: its result and, when that is 0, its entries.
void SetUpdateHistory(uint32_t result, std::vector<UpdateHistoryEntry> entries);
// Runs inside ReadUpdateHistory before it answers (a test holds the read with it).
void SetHistoryHook(std::function<void()> hook);
// What UpdateSearch::Run gives: its result and, when that is 0, the offered updates.
void SetUpdateOffer(uint32_t result, std::vector<OfferedUpdate> updates);
// What UpdateSearch::SetHidden returns (0: the flag is set and recorded).
void SetHideResult(uint32_t result);
// Runs inside UpdateSearch::Run before it answers; a hook that waits until
// Abort lets a test hold a search (Abort wakes it).
void SetSearchHook(std::function<void()> hook);
// True once Abort was called on the latest search.
bool SearchAborted();
// Blocks until Abort is called on the latest search (for a search hook that holds it).
void WaitForSearchAbort();
// Every call, in order: "ReadUpdateHistory", "Search(<criteria>)", "RequestAbort",
// "SetHidden(<first KB>,true|false)".
std::vector<std::wstring> WindowsUpdateCalls();
// Forgets results, offers, hook and calls; then history and search fail with
// kWuServiceDisabled, as with the service turned off.
void ResetWindowsUpdate();

}  // namespace Testing
}  // namespace WinApi
