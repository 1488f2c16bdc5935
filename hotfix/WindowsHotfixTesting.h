// Test seam of the hotfix service: how uninstall worker threads are started.
#pragma once

#include <functional>

namespace WindowsHotfix {
namespace Testing {

// Runs `work` on a new detached thread, or throws std::system_error as
// std::thread does when no thread can be created.
using ThreadStarter = std::function<void(std::function<void()> work)>;
// An empty starter restores the real one (std::thread, detached).
void SetThreadStarter(ThreadStarter starter);

}  // namespace Testing
}  // namespace WindowsHotfix
