// WMIHelper without Windows: there is no WMI service, so every query fails
// unless a test installed a provider (WMIHelperTesting.h).
#include <mutex>

#include "support/KtLogger.h"
#include "support/WMIHelper.h"
#include "support/WMIHelperTesting.h"

namespace {

struct ProviderHook {
    std::mutex mutex;
    WMIHelperTesting::Provider provider;
};

// Never destroyed: a load thread may still query while the process's statics go.
ProviderHook& Hook() {
    static ProviderHook* const hook = new ProviderHook;
    return *hook;
}

}  // namespace

namespace WMIHelperTesting {
void SetProvider(Provider provider) {
    std::lock_guard<std::mutex> lock(Hook().mutex);
    Hook().provider = std::move(provider);
}
}  // namespace WMIHelperTesting

WMIHelper::WMIHelper(std::wstring wmiNamespace) : m_namespace(std::move(wmiNamespace)) {}

WMIHelper::~WMIHelper() = default;

bool WMIHelper::SelectStrA(std::wstring query, std::vector<HotfixInfo>& results) {
    WMIHelperTesting::Provider provider;
    {
        std::lock_guard<std::mutex> lock(Hook().mutex);
        provider = Hook().provider;
    }
    if (!provider) {
        KT_LOG(LOG_ERROR, L"WMI is not available on this system, query:" << query,
               "WMIHelper::SelectStrA");
        return false;
    }
    WMIHelperTesting::QueryAnswer answer = provider(m_namespace, query);
    if (!answer.succeeded) return false;
    results.insert(results.end(), answer.records.begin(), answer.records.end());
    return true;
}
