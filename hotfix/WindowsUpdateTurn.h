// Windows Update serves this program one call at a time: the titles' history
// read and a hide's search (with its flags) take turns, whichever thread they
// run on. A search stopped while it waits for its turn ends without asking.
#pragma once

#include <mutex>

namespace WindowsHotfix {

// Any thread: held for the length of one call to the agent.
std::mutex& WindowsUpdateTurn();

}  // namespace WindowsHotfix
