// The version stand-in.
#include <mutex>

#include "winapi/OsVersion.h"
#include "winapi/OsVersionTesting.h"

namespace WinApi {
namespace {

struct VersionState {
    std::mutex mutex;
    OsVersion version{26100, kProductWorkstation};
    bool readable = true;
};

VersionState& State() {
    static VersionState* const state = new VersionState;
    return *state;
}

}  // namespace

bool GetOsVersion(OsVersion& version) {
    std::lock_guard<std::mutex> lock(State().mutex);
    if (State().readable) version = State().version;
    return State().readable;
}

namespace Testing {

void SetOsVersion(OsVersion version, bool readable) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().version = version;
    State().readable = readable;
}

void ResetOsVersion() {
    SetOsVersion({26100, kProductWorkstation});
}

}  // namespace Testing
}  // namespace WinApi
