// The row's outcome looks against the outcome table: every status a known code
// or the fallback gives has a look of its own, so a new outcome cannot quietly
// show as a failure.
#include <gtest/gtest.h>

#include "hotfix/UninstallCodes.h"
#include "ui/item/UninstallOutcomes.h"

namespace {

using WindowsHotfix::KnownCodeRow;

TEST(UninstallOutcomes, EveryStatusTheTableGivesHasItsOwnLook) {
    std::vector<UninstallStatus> statuses = {WindowsHotfix::FallbackOutcome(87).status};
    for (const KnownCodeRow& row : WindowsHotfix::KnownUninstallCodes())
        statuses.push_back(row.outcome.status);
    for (UninstallStatus status : statuses) {
        if (status == UNINSTALL_CANCEL) continue;  // the row goes back to its idle look
        EXPECT_EQ(LookOf(status).status, status) << "status " << int(status) << " has no look";
    }
    // Anything else shows the named fallback.
    EXPECT_EQ(&LookOf(static_cast<UninstallStatus>(99)), &FailedLook());
}

}  // namespace
