// WMIHelper on Windows: a WMI client. Each SelectStrA call has COM on the
// calling thread while it runs (multithreaded, WinApi::ComApartment), connects
// an IWbemLocator to the namespace, runs the WQL query forward-only and reads
// "HotFixID", "Description" and "InstalledOn" as text. Every wait is bounded,
// so a WMI service that never answers ends as a failed query. Records reach
// the caller's list only when the whole query succeeded.
#include <windows.h>
// (first: the other Windows headers build on it)
#include <wbemidl.h>

#include "support/KtLogger.h"
#include "support/WMIHelper.h"
#include "winapi/ComApartment.h"
#include "winapi/ComObjects_win.h"

namespace {

using WinApi::Bstr;
using WinApi::ComRef;

constexpr long kNextTimeoutMs = 60 * 1000;  // for each instance the service delivers
constexpr const char* kFunction = "WMIHelper::SelectStrA";

bool Failed(HRESULT hr, const wchar_t* step) {
    if (SUCCEEDED(hr)) return false;
    KT_LOG(LOG_ERROR, step << L" fail! hr:0x" << std::hex << static_cast<unsigned long>(hr),
           kFunction);
    return true;
}

// A property as text; null, missing or unconvertible gives an empty string.
std::wstring ReadText(IWbemClassObject* object, const wchar_t* name) {
    VARIANT value;
    VariantInit(&value);
    std::wstring text;
    if (SUCCEEDED(object->Get(name, 0, &value, nullptr, nullptr))) {
        if (value.vt != VT_BSTR && value.vt != VT_NULL && value.vt != VT_EMPTY)
            VariantChangeType(&value, &value, 0, VT_BSTR);
        if (value.vt == VT_BSTR && value.bstrVal != nullptr)
            text.assign(value.bstrVal, SysStringLen(value.bstrVal));
    }
    VariantClear(&value);
    return text;
}

void SetBlanket(IUnknown* proxy) {
    CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

bool ReadAll(IEnumWbemClassObject* enumerator, std::vector<HotfixInfo>& records) {
    for (;;) {
        ComRef<IWbemClassObject> object;
        ULONG returned = 0;
        const HRESULT hr = enumerator->Next(kNextTimeoutMs, 1, object.out(), &returned);
        if (hr == WBEM_S_TIMEDOUT) {
            KT_LOG(LOG_ERROR, L"WMI did not answer within ms:" << kNextTimeoutMs, kFunction);
            return false;
        }
        if (Failed(hr, L"IEnumWbemClassObject::Next")) return false;
        if (returned == 0 || object.get() == nullptr) return true;  // WBEM_S_FALSE: the end
        records.push_back({ReadText(object.get(), L"HotFixID"),
                           ReadText(object.get(), L"Description"),
                           ReadText(object.get(), L"InstalledOn")});
    }
}

// Everything between COM initialisation and its undoing; every interface is
// released on return.
bool RunQuery(const std::wstring& wmiNamespace, const std::wstring& query,
              std::vector<HotfixInfo>& records) {
    ComRef<IWbemLocator> locator;
    HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWbemLocator, locator.outVoid());
    if (Failed(hr, L"CoCreateInstance(WbemLocator)")) return false;

    ComRef<IWbemServices> services;
    Bstr resource(wmiNamespace);
    hr = locator->ConnectServer(resource.get(), nullptr, nullptr, nullptr,
                                WBEM_FLAG_CONNECT_USE_MAX_WAIT, nullptr, nullptr, services.out());
    if (Failed(hr, L"IWbemLocator::ConnectServer")) return false;
    SetBlanket(services.get());

    ComRef<IEnumWbemClassObject> enumerator;
    Bstr language(L"WQL");
    Bstr text(query);
    hr = services->ExecQuery(language.get(), text.get(),
                             WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                             enumerator.out());
    if (Failed(hr, L"IWbemServices::ExecQuery")) return false;
    SetBlanket(enumerator.get());
    return ReadAll(enumerator.get(), records);
}

}  // namespace

WMIHelper::WMIHelper(std::wstring wmiNamespace) : m_namespace(std::move(wmiNamespace)) {}

WMIHelper::~WMIHelper() = default;

bool WMIHelper::SelectStrA(std::wstring query, std::vector<HotfixInfo>& results) {
    const WinApi::ComApartment com(WinApi::ComApartment::kMultithreaded);
    if (!com.IsReady()) {
        Failed(com.Result(), L"CoInitializeEx");
        return false;
    }
    std::vector<HotfixInfo> records;
    const bool succeeded = RunQuery(m_namespace, query, records);
    if (succeeded) results.insert(results.end(), records.begin(), records.end());
    return succeeded;
}
