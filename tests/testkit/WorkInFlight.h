// A check after every test: work the test started (a detached thread, a child
// process, a closure queued for the UI thread) has ended by the time it ends,
// so the next test cannot receive it. Each layer's test kit adds a probe that
// counts its kind of work; a probe not at zero fails the test, by name.
#pragma once

#include <functional>
#include <string>

namespace WorkInFlight {

// How many of one kind of work are still in flight; any thread.
using Probe = std::function<int()>;

// Asks `probe` after every later test; `what` names the work in the failure.
void AddProbe(std::string what, Probe probe);
// Adds the check to GoogleTest's listeners; call once, after InitGoogleTest.
void InstallCheck();

}  // namespace WorkInFlight
