// The user-access stand-in: a linked token unless a test says otherwise, and
// the paths a test names as the user's to change (UserAccessTesting.h).
#include <set>
#include <vector>

#include "winapi/PosixStandIn.h"
#include "winapi/UserAccess.h"
#include "winapi/UserAccessTesting.h"

namespace WinApi {
namespace {

class LinkedToken : public PosixStandIn::HandleObject {};

struct AccessState {
    uint32_t noLinkedToken = 0;
    std::set<std::wstring> changeable;
    std::set<std::wstring> unreadable;
    std::vector<std::wstring> checked;
};

PosixStandIn::Guarded<AccessState>& State() {
    return PosixStandIn::Guarded<AccessState>::Leaked();
}

}  // namespace

HANDLE OpenLinkedToken(uint32_t& error) {
    {
        auto state = State().Locked();
        error = state->noLinkedToken;
    }
    return error != 0 ? nullptr : PosixStandIn::RegisterHandle(std::make_shared<LinkedToken>());
}

bool UserMayChange(HANDLE token, const std::wstring& path, bool& mayChange, uint32_t& error) {
    mayChange = false;
    if (!std::dynamic_pointer_cast<LinkedToken>(PosixStandIn::FindHandle(token))) {
        error = kErrorInvalidHandle;
        return false;
    }
    auto state = State().Locked();
    state->checked.push_back(path);
    if (state->unreadable.count(path)) {
        error = kErrorFileNotFound;
        return false;
    }
    error = 0;
    mayChange = state->changeable.count(path) > 0;
    return true;
}

namespace Testing {

void SetNoLinkedToken(uint32_t error) {
    auto state = State().Locked();
    state->noLinkedToken = error;
}

void SetUserMayChange(const std::wstring& path) {
    auto state = State().Locked();
    state->changeable.insert(path);
}

void SetSecurityUnreadable(const std::wstring& path) {
    auto state = State().Locked();
    state->unreadable.insert(path);
}

std::vector<std::wstring> AccessChecks() {
    return State().Locked()->checked;
}

void ResetUserAccess() {
    auto state = State().Locked();
    state->noLinkedToken = 0;
    state->changeable.clear();
    state->unreadable.clear();
    state->checked.clear();
}

}  // namespace Testing
}  // namespace WinApi
