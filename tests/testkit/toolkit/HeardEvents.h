// What assistive technology was told of a window's changes, as test text.
#pragma once

#include <string>
#include <vector>

#include "duilib/UIWindowApi.h"

namespace HeardEvents {

// "<event> <name>" of each event heard since the last call, oldest first
// ("namechange Stop", "focus one"); clears them.
std::vector<std::wstring> Take(HWND window);

}  // namespace HeardEvents
