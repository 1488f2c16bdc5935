// What hiding an update from Windows Update comes to: the offered update that
// is a row's KB, and the words for each answer Windows Update gives.
// Pure: no thread, no call of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "winapi/WindowsUpdate.h"

namespace WindowsHotfix {

// The search criteria for every update Windows Update offers, hidden or not
// (criteria that do not name IsHidden find only the updates not hidden).
constexpr const wchar_t* kOfferedUpdatesCriteria =
    L"IsInstalled=0 and IsHidden=0 or IsInstalled=0 and IsHidden=1";

// The index of the first update whose KBArticleIDs hold `kbDigits` ("5034441"), or -1.
int FindOfferedUpdate(const std::vector<WinApi::OfferedUpdate>& updates,
                      const std::wstring& kbDigits);

enum class HideOutcome {
    kDone,          // the flag is set (hidden, or shown again)
    kAborted,       // the user stopped the search: nothing to say
    kNotOffered,    // the search did not find the update
    kServiceOff,    // the Windows Update service is turned off
    kNoConnection,  // Windows Update cannot reach its server
    kMandatory,     // Windows Update refuses to hide a mandatory update
    kNotAvailable,  // no Windows Update Agent on this system (or a stub of one)
    kFailed,        // any other error, said with its code
};

// The outcome of a search's HRESULT (0: the search found what it found).
HideOutcome OutcomeOfSearch(uint32_t result);
// The outcome of put_IsHidden's HRESULT for `update`.
HideOutcome OutcomeOfHide(uint32_t result, const WinApi::OfferedUpdate& update);
// The language key of an outcome's words; kFailed's has "{0}" for the code's
// eight hex digits. `hiding` false: the words of showing an update again.
const wchar_t* TextKeyOf(HideOutcome outcome, bool hiding = true);

}  // namespace WindowsHotfix
