// RestrictDllSearchToSystem32 and EnforceRedirectionTrust without Windows:
// nothing to restrict; the calls are counted, a test's hook runs and they
// report the error a test set (DllSearchTesting.h).
#include <mutex>

#include "winapi/DllSearchTesting.h"
#include "winapi/WinApi.h"

namespace WinApi {
namespace {

std::mutex g_mutex;
int g_calls = 0;
std::function<void()> g_hook;
uint32_t g_dllSearchError = 0;
uint32_t g_redirectionTrustError = 0;

}  // namespace

uint32_t RestrictDllSearchToSystem32() {
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        ++g_calls;
        hook = g_hook;
    }
    if (hook) hook();
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_dllSearchError;
}

uint32_t EnforceRedirectionTrust() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_redirectionTrustError;
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

void SetDllSearchErrors(uint32_t restriction, uint32_t redirectionTrust) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_dllSearchError = restriction;
    g_redirectionTrustError = redirectionTrust;
}

}  // namespace Testing
}  // namespace WinApi
