#include "ui/item/UninstallOutcomes.h"

#include "ui/item/RowColors.h"

using RowColors::kProblemColor;
using RowColors::kSuccessColor;

const std::vector<OutcomeLook>& OutcomeLooks() {
    static const std::vector<OutcomeLook> kLooks = {
        {UNINSTALL_SUCCESS, L"IDS_UNINSTALL_SUCCESS_CODE", kSuccessColor, false},
        {UNINSTALL_NEED_RESTART, L"IDS_UNINSTALL_NEED_RESTART_CODE", kProblemColor, true},
        {UNINSTALL_RESTART_FIRST, L"IDS_UNINSTALL_RESTART_FIRST_CODE", kProblemColor, true},
        {UNINSTALL_CANNOT, L"IDS_UNINSTALL_CANNOT_CODE", kProblemColor, false},
        {UNINSTALL_FAIL, L"IDS_UNINSTALL_FAIL_CODE", kProblemColor, false},
    };
    return kLooks;
}

const OutcomeLook& LookOf(UninstallStatus status) {
    const std::vector<OutcomeLook>& looks = OutcomeLooks();
    for (const OutcomeLook& look : looks) {
        if (look.status == status) return look;
    }
    return looks.back();
}
