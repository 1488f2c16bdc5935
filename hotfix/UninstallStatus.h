#pragma once

enum UninstallStatus : int {
    UNINSTALL_SUCCESS = 0,
    UNINSTALL_CANCEL = 1,
    UNINSTALL_NEED_RESTART = 2,
    UNINSTALL_CANNOT = 3,
    UNINSTALL_FAIL = 4,
    UNINSTALL_RESTART_FIRST = 5,  // a pending restart blocks the removal: restart, then try again
};
