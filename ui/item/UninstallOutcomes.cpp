#include "ui/item/UninstallOutcomes.h"

#include "ui/item/RowColors.h"

using RowColors::kProblemColor;
using RowColors::kSuccessColor;

namespace {
// What every status the table does not hold shows.
const OutcomeLook kFailedLook = {UNINSTALL_FAIL, L"IDS_UNINSTALL_FAIL_CODE", kProblemColor, false};
}  // namespace

const std::vector<OutcomeLook>& OutcomeLooks() {
    static const std::vector<OutcomeLook> kLooks = {
        {UNINSTALL_SUCCESS, L"IDS_UNINSTALL_SUCCESS_CODE", kSuccessColor, false},
        {UNINSTALL_NEED_RESTART, L"IDS_UNINSTALL_NEED_RESTART_CODE", kProblemColor, true},
        {UNINSTALL_CANNOT, L"IDS_UNINSTALL_CANNOT_CODE", kProblemColor, false},
        kFailedLook,
    };
    return kLooks;
}

const OutcomeLook& FailedLook() {
    return kFailedLook;
}

const OutcomeLook& LookOf(UninstallStatus status) {
    for (const OutcomeLook& look : OutcomeLooks()) {
        if (look.status == status) return look;
    }
    return kFailedLook;
}
