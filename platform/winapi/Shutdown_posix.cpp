// The shutdown stand-in: records what would have restarted Windows.
#include <mutex>

#include "winapi/Shutdown.h"
#include "winapi/ShutdownTesting.h"

namespace WinApi {
namespace {

struct ShutdownState {
    std::mutex mutex;
    uint32_t privilegeResult = 0;
    uint32_t shutdownResult = 0;
    bool privilegeEnabled = false;
    std::vector<Testing::ShutdownCall> calls;
};

ShutdownState& State() {
    static ShutdownState* const state = new ShutdownState;
    return *state;
}

}  // namespace

uint32_t EnableShutdownPrivilege() {
    std::lock_guard<std::mutex> lock(State().mutex);
    if (State().privilegeResult == 0) State().privilegeEnabled = true;
    return State().privilegeResult;
}

uint32_t RequestShutdown(uint32_t flags, uint32_t reason) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().calls.push_back({State().privilegeEnabled, flags, reason});
    return State().shutdownResult;
}

namespace Testing {

void SetShutdownResults(uint32_t privilege, uint32_t shutdown) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().privilegeResult = privilege;
    State().shutdownResult = shutdown;
}

std::vector<ShutdownCall> ShutdownCalls() {
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().calls;
}

void ResetShutdown() {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().privilegeResult = 0;
    State().shutdownResult = 0;
    State().privilegeEnabled = false;
    State().calls.clear();
}

}  // namespace Testing
}  // namespace WinApi
