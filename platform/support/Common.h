#pragma once

#include <string>

#include "winapi/WinTypes.h"

class Common {
public:
    static Common* GetInstance();
    // Per-monitor v2 where the system offers it, otherwise the best it has.
    void DPIAware();
    // The folder that holds the module, without a trailing separator unless it
    // is a drive's root ("C:\" for "C:\x.exe").
    std::wstring GetDllPathByModuleW(HINSTANCE module);
};
