// The shutdown stand-in: records what would have restarted Windows.

#include "winapi/PosixStandIn.h"
#include "winapi/Shutdown.h"
#include "winapi/ShutdownTesting.h"

namespace WinApi {
namespace {

struct ShutdownState {
    uint32_t privilegeResult = 0;
    uint32_t shutdownResult = 0;
    bool privilegeEnabled = false;
    std::vector<Testing::ShutdownCall> calls;
};

PosixStandIn::Guarded<ShutdownState>& State() {
    return PosixStandIn::Guarded<ShutdownState>::Leaked();
}

}  // namespace

uint32_t EnableShutdownPrivilege() {
    auto state = State().Locked();
    if (state->privilegeResult == 0) state->privilegeEnabled = true;
    return state->privilegeResult;
}

uint32_t RequestShutdown(uint32_t flags, uint32_t reason) {
    auto state = State().Locked();
    state->calls.push_back({state->privilegeEnabled, flags, reason});
    return state->shutdownResult;
}

namespace Testing {

void SetShutdownResults(uint32_t privilege, uint32_t shutdown) {
    auto state = State().Locked();
    state->privilegeResult = privilege;
    state->shutdownResult = shutdown;
}

std::vector<ShutdownCall> ShutdownCalls() {
    return State().Locked()->calls;
}

void ResetShutdown() {
    auto state = State().Locked();
    state->privilegeResult = 0;
    state->shutdownResult = 0;
    state->privilegeEnabled = false;
    state->calls.clear();
}

}  // namespace Testing
}  // namespace WinApi
