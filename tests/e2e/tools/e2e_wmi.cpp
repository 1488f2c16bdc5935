// e2e_wmi.dll: the WMI service as the end-to-end scenarios want it. A scenario
// registers it in its prefix as the in-process server of the WbemLocator class
// (tests/e2e/lib/standins.sh: e2e_hotfixes, e2e_gate_wmi). When C:\e2e\hotfixes.txt
// exists it serves that list as the instances of Win32_QuickFixEngineering in
// ROOT\CIMV2, through the calls WMIHelper_win.cpp makes (ConnectServer,
// ExecQuery, Next, Get); otherwise Wine's own wbemprox.dll answers. Files in
// C:\e2e\, each read when its call comes:
//   hotfixes.txt   UTF-8 (or UTF-16 with its byte order mark); one hotfix per
//                  line: HotFixID, Description and InstalledOn separated by tabs.
//                  A field "<null>" gives VT_NULL, "<missing>" leaves the
//                  property out (Get: WBEM_E_NOT_FOUND), an empty one "".
//                  Blank lines are skipped; a line without three fields fails
//                  the query (WBEM_E_FAILED, reason in wmi-calls.txt).
//   wmi-fail.txt   "STAGE HRESULT [AFTER]": that call returns HRESULT; STAGE is
//                  CreateInstance, ConnectServer, ExecQuery or Next (which fails
//                  once AFTER records were handed out; a success code such as
//                  0x40004, WBEM_S_TIMEDOUT, is returned with no record).
//   wmi-slow.txt   "MS": the records come MS milliseconds after ExecQuery; Next
//                  waits for them up to its timeout, then gives WBEM_S_TIMEDOUT.
//   wmi-hold       the next class request (served or Wine's) writes wmi-held and
//                  waits until wmi-release exists (at most 60 s), then removes
//                  all three; the wait runs on the caller's (the load) thread.
//   wmi-calls.txt  what happened, a line per call: "ConnectServer ROOT\CIMV2
//                  flags=0x00000080 -> 0x00000000", "Next timeout=60000 count=1
//                  -> 0x00000001 returned=0", "all objects released", ...
#include <windows.h>
// (first: the other Windows headers build on it)
#include <wbemidl.h>

#include <new>

#include "e2e_wmi_files.h"
#include "e2e_wmi_objects.h"

namespace {

using e2e_wmi::Record;

LONG g_serverLocks = 0;

class Factory final : public e2e_wmi::ComObject<Factory, IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        const e2e_wmi::Failure failure = e2e_wmi::FailureAt(L"CreateInstance");
        const HRESULT hr = failure.hr != S_OK ? failure.hr : e2e_wmi::CreateLocator(iid, out);
        Record(L"CreateInstance -> " + e2e_wmi::Hex(hr));
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            InterlockedIncrement(&g_serverLocks);
        } else {
            InterlockedDecrement(&g_serverLocks);
        }
        return S_OK;
    }
};

HRESULT WineClassObject(REFCLSID clsid, REFIID iid, void** object) {
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    HMODULE wbemprox = LoadLibraryW(L"C:\\windows\\system32\\wbem\\wbemprox.dll");
    auto real = wbemprox ? reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(
                               GetProcAddress(wbemprox, "DllGetClassObject")))
                         : nullptr;
    return real ? real(clsid, iid, object) : CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace

// Runs outside the loader lock, on the thread that asked for the class.
extern "C" __declspec(dllexport) HRESULT WINAPI
    DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_WbemLocator)) return CLASS_E_CLASSNOTAVAILABLE;
    e2e_wmi::HoldIfAsked();
    if (!e2e_wmi::ServesList()) {
        Record(L"class request: Wine's WMI answers");
        return WineClassObject(clsid, iid, object);
    }
    Record(L"class request: served from hotfixes.txt");
    Factory* factory = new (std::nothrow) Factory();
    if (factory == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() {
    return e2e_wmi::LiveObjects() == 0 && InterlockedCompareExchange(&g_serverLocks, 0, 0) == 0
               ? S_OK
               : S_FALSE;
}
