// RestrictDllSearchToSystem32 without Windows: nothing to restrict; the call
// is counted and a test's hook runs (DllSearchTesting.h).
#include <mutex>

#include "winapi/DllSearchTesting.h"
#include "winapi/WinApi.h"

namespace WinApi {
namespace {

std::mutex g_mutex;
int g_calls = 0;
std::function<void()> g_hook;

}  // namespace

uint32_t RestrictDllSearchToSystem32() {
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        ++g_calls;
        hook = g_hook;
    }
    if (hook) hook();
    return 0;
}

namespace Testing {

int DllSearchRestrictions() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_calls;
}

void SetDllSearchRestrictionHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_hook = std::move(hook);
}

}  // namespace Testing
}  // namespace WinApi
