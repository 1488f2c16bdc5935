// e2e_wmi_gate.dll: the WMI locator behind a gate, so a scenario can watch the
// loading view that Wine's quick query (well under 0.1 s) never lets a
// screenshot see. A scenario registers this DLL as the in-process server of the
// WbemLocator class; the first class request then writes the file
// C:\e2e\wmi-held and waits until C:\e2e\wmi-release exists (at most 60 s)
// before handing the request to Wine's own wbemprox.dll. The wait runs in
// DllGetClassObject, outside the loader lock, on the caller's (the load) thread.
#include <windows.h>

namespace {

const wchar_t* const kHeldFile = L"C:\\e2e\\wmi-held";
const wchar_t* const kReleaseFile = L"C:\\e2e\\wmi-release";

bool Exists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

void WaitAtTheGate() {
    HANDLE held = CreateFileW(kHeldFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(held);
    }
    for (int i = 0; i < 1200 && !Exists(kReleaseFile); ++i) {
        Sleep(50);
    }
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    static bool opened = false;
    if (!opened) {
        opened = true;
        WaitAtTheGate();
    }
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    HMODULE wbemprox = LoadLibraryW(L"C:\\windows\\system32\\wbem\\wbemprox.dll");
    auto real = wbemprox ? reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(
                               GetProcAddress(wbemprox, "DllGetClassObject")))
                         : nullptr;
    return real ? real(clsid, iid, object) : CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() {
    return S_FALSE;
}
