// The user-access stand-in: a linked token unless a test says otherwise, and
// the paths a test names as the user's to change (UserAccessTesting.h).
#include <mutex>
#include <set>
#include <vector>

#include "winapi/PosixStandIn.h"
#include "winapi/UserAccess.h"
#include "winapi/UserAccessTesting.h"

namespace WinApi {
namespace {

class LinkedToken : public PosixStandIn::HandleObject {};

struct AccessState {
    std::mutex mutex;
    uint32_t noLinkedToken = 0;
    std::set<std::wstring> changeable;
    std::set<std::wstring> unreadable;
    std::vector<std::wstring> checked;
};

AccessState& State() {
    static AccessState* const state = new AccessState;  // leaked, as the handle table
    return *state;
}

}  // namespace

HANDLE OpenLinkedToken(uint32_t& error) {
    {
        std::lock_guard<std::mutex> lock(State().mutex);
        error = State().noLinkedToken;
    }
    return error != 0 ? nullptr : PosixStandIn::RegisterHandle(std::make_shared<LinkedToken>());
}

bool UserMayChange(HANDLE token, const std::wstring& path, bool& mayChange, uint32_t& error) {
    mayChange = false;
    if (!std::dynamic_pointer_cast<LinkedToken>(PosixStandIn::FindHandle(token))) {
        error = kErrorInvalidHandle;
        return false;
    }
    std::lock_guard<std::mutex> lock(State().mutex);
    State().checked.push_back(path);
    if (State().unreadable.count(path)) {
        error = kErrorFileNotFound;
        return false;
    }
    error = 0;
    mayChange = State().changeable.count(path) > 0;
    return true;
}

namespace Testing {

void SetNoLinkedToken(uint32_t error) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().noLinkedToken = error;
}

void SetUserMayChange(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().changeable.insert(path);
}

void SetSecurityUnreadable(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().unreadable.insert(path);
}

std::vector<std::wstring> AccessChecks() {
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().checked;
}

void ResetUserAccess() {
    std::lock_guard<std::mutex> lock(State().mutex);
    State().noLinkedToken = 0;
    State().changeable.clear();
    State().unreadable.clear();
    State().checked.clear();
}

}  // namespace Testing
}  // namespace WinApi
