// How a row shows each uninstall outcome: the one table of outcome -> text key
// and colour (UninstallOutcomes.cpp). Outcomes not in it show as a failure.
#pragma once

#include <cstdint>
#include <vector>

#include "hotfix/UninstallStatus.h"

struct OutcomeLook {
    UninstallStatus status;
    const wchar_t* textKey;  // a language key
    uint32_t color;          // 0xAARRGGBB
    bool needsRestart;       // the window then offers a restart
};

const std::vector<OutcomeLook>& OutcomeLooks();
// The look of an outcome; FailedLook for one the table does not hold.
const OutcomeLook& LookOf(UninstallStatus status);
const OutcomeLook& FailedLook();
