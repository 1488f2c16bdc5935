// Which installed hotfixes Windows will not let anyone remove, known before a
// click: a read-only look-up in the component-based servicing store (the
// package keys in the registry and their manifests beside the Windows folder).
#pragma once

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "support/HotfixInfo.h"

namespace WindowsHotfix {

// How long the look-up may hold the list back, in all.
constexpr std::chrono::milliseconds kPermanentLookupBudget{200};

// The HotFixIDs shown as permanent (see PermanentHotfixes.cpp for the rule).
// Blocking, meant for the load thread; writes nothing anywhere. Gives up once
// `budget` has passed since the call (a registry or manifest read under way
// ends first); a hotfix not decided by then is left out, and its row stays as
// it always was.
std::set<std::wstring> GetPermanentHotFixes(
    const std::vector<HotfixInfo>& hotfixes,
    std::chrono::milliseconds budget = kPermanentLookupBudget);

}  // namespace WindowsHotfix
