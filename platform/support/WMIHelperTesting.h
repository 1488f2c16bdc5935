// Test seam of WMIHelper on systems without WMI (non-Windows builds only):
// a provider stands in for the WMI service and answers every query.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/HotfixInfo.h"

namespace WMIHelperTesting {

struct QueryAnswer {
    bool succeeded = false;
    std::vector<HotfixInfo> records;
};

// Called with the namespace and the query. Empty provider: queries fail, as
// there is no WMI on this system.
using Provider =
    std::function<QueryAnswer(const std::wstring& wmiNamespace, const std::wstring& query)>;
void SetProvider(Provider provider);

}  // namespace WMIHelperTesting
