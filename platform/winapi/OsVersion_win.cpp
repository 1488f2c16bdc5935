// RtlGetVersion from ntdll (always loaded; no search path is involved).
#include <windows.h>

#include "winapi/OsVersion.h"

namespace WinApi {

bool GetOsVersion(OsVersion& version) {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr) return false;
    auto get = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
    if (get == nullptr) return false;
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (get(&info) != 0) return false;  // STATUS_SUCCESS
    version.build = info.dwBuildNumber;
    version.productType = info.wProductType;
    return true;
}

}  // namespace WinApi
