// The titles Windows Update gave the listed updates, from its history: an
// entry's title names its update as "(KB<number>)", e.g. "2024-01 Cumulative
// Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)".
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "winapi/WindowsUpdate.h"

namespace WindowsHotfix {

// Titles by HotFixID.
using UpdateTitles = std::unordered_map<std::wstring, std::wstring>;

// The numbers of the "(KB<digits>)" a title carries, in order; a KB number
// written any other way ("- KB2267602 (Version ...)") names no update here.
std::vector<std::wstring> TitleKbNumbers(const std::wstring& title);

// The title of each hotfix whose KB number (ExtractKbNumber) an entry carries;
// the newest entry wins, and of two as new the one earlier in the history.
UpdateTitles MatchUpdateTitles(const std::vector<std::wstring>& hotfixIds,
                               const std::vector<WinApi::UpdateHistoryEntry>& history);

struct UpdateTitlesRead {
    uint32_t result = 0;  // ReadUpdateHistory's HRESULT
    size_t entries = 0;   // in the history
    UpdateTitles titles;
};

// Reads the history on this thread, which must have joined the multithreaded
// COM apartment, and matches it to the hotfixes.
UpdateTitlesRead ReadUpdateTitles(const std::vector<std::wstring>& hotfixIds);

}  // namespace WindowsHotfix
