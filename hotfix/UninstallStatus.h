#pragma once

enum UninstallStatus : int {
    UNINSTALL_SUCCESS = 0,
    UNINSTALL_CANCEL = 1,
    UNINSTALL_NEED_RESTART = 2,
    UNINSTALL_CANNOT = 3,
    UNINSTALL_FAIL = 4,
};
