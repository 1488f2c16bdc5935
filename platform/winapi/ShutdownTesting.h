// Test controls of the shutdown stand-in (non-Windows builds only).
#pragma once

#include <cstdint>
#include <vector>

namespace WinApi {
namespace Testing {

struct ShutdownCall {
    bool privilegeEnabled = false;  // EnableShutdownPrivilege succeeded before it
    uint32_t flags = 0;
    uint32_t reason = 0;
};

// The errors the stand-in's calls return (0 after a reset).
void SetShutdownResults(uint32_t privilege, uint32_t shutdown);
std::vector<ShutdownCall> ShutdownCalls();
void ResetShutdown();

}  // namespace Testing
}  // namespace WinApi
