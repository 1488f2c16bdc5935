// The native suites' main: GoogleTest with the check that no test leaves work
// running, probing the detached threads and the process-launch stand-in.
#include <gtest/gtest.h>

#include "support/DetachedThreads.h"
#include "testkit/WorkInFlight.h"
#include "winapi/ProcessLaunchTesting.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    WorkInFlight::AddProbe("detached thread(s) (a hotfix load or an uninstall worker)",
                           DetachedThreads::Running);
    WorkInFlight::AddProbe("process handle(s) not closed", WinApi::Testing::OpenProcessHandles);
    WorkInFlight::InstallCheck();
    return RUN_ALL_TESTS();
}
