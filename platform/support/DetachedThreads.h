// The program's detached threads: the hotfix load and the uninstall workers.
// Nothing joins them, so that closing the window never waits for a query or an
// installer. Each is counted while it runs, so that a test can wait until none
// is left before it ends.
#pragma once

#include <functional>

namespace DetachedThreads {

// Runs `work` on a new detached thread; throws std::system_error as std::thread
// does when no thread can be started (the work is then not counted).
void Start(std::function<void()> work);
// `work`, counted as running from now until it has run and let go of what it
// captured, or until it is dropped without running. For work that another
// starter (a test's) runs.
std::function<void()> Counted(std::function<void()> work);

// Any thread: how many counted works are running or waiting to run.
int Running();
// Any thread: true once none runs, false when `timeoutMs` passed first.
bool WaitUntilNoneRuns(int timeoutMs);

}  // namespace DetachedThreads
