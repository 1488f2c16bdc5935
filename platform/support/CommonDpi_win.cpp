// Declares the process DPI-aware with the best mode the system offers:
// per-monitor v2 (Windows 10 1703+), else per-monitor (8.1+), else system.
// The newer calls are looked up at run time so the program starts anywhere.

#include <windows.h>

#include "support/Common.h"
#include "support/KtLogger.h"

namespace {

using SetContextFn = BOOL(WINAPI*)(HANDLE);
using SetAwarenessFn = HRESULT(WINAPI*)(int);
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
constexpr int kProcessPerMonitorDpiAware = 2;

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

}  // namespace

void Common::DPIAware() {
    auto setContext =
        Lookup<SetContextFn>(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext");
    if (setContext != nullptr && setContext(kPerMonitorAwareV2)) return;

    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    auto setAwareness = Lookup<SetAwarenessFn>(shcore, "SetProcessDpiAwareness");
    const HRESULT result =
        setAwareness != nullptr ? setAwareness(kProcessPerMonitorDpiAware) : E_NOTIMPL;
    if (shcore != nullptr) FreeLibrary(shcore);
    // E_ACCESSDENIED: a mode was already set (by the manifest, say); keep it.
    if (SUCCEEDED(result) || result == E_ACCESSDENIED) return;

    if (!SetProcessDPIAware())
        KT_LOG(LOG_ERROR, L"SetProcessDPIAware fail! error:" << GetLastError(), "Common::DPIAware");
}
