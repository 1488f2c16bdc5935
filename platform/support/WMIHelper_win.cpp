// WMIHelper on Windows: a WMI client. Each SelectStrA call initialises COM
// on the calling thread (and undoes it when this call did it; a thread that
// already runs COM in another mode is used as it is), connects an
// IWbemLocator to the namespace, runs the WQL query forward-only and reads
// "HotFixID", "Description" and "InstalledOn" as text. Every wait is bounded,
// so a WMI service that never answers ends as a failed query. Records reach
// the caller's list only when the whole query succeeded.
#include <windows.h>
// (first: the other Windows headers build on it)
#include <wbemidl.h>

#include "support/KtLogger.h"
#include "support/WMIHelper.h"

namespace {

constexpr long kNextTimeoutMs = 60 * 1000;  // for each instance the service delivers
constexpr const char* kFunction = "WMIHelper::SelectStrA";

// Releases a COM interface when it leaves scope (before CoUninitialize).
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (m_p != nullptr) m_p->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* operator->() const { return m_p; }
    T* get() const { return m_p; }
    T** out() { return &m_p; }

private:
    T* m_p = nullptr;
};

class Bstr {
public:
    explicit Bstr(const std::wstring& text)
        : m_text(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(m_text); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return m_text; }

private:
    BSTR m_text;
};

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
                                  IID_IWbemLocator, reinterpret_cast<void**>(locator.out()));
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
    const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(init) && init != RPC_E_CHANGED_MODE) {
        Failed(init, L"CoInitializeEx");
        return false;
    }
    std::vector<HotfixInfo> records;
    const bool succeeded = RunQuery(m_namespace, query, records);
    if (SUCCEEDED(init)) CoUninitialize();  // S_OK and S_FALSE both count once
    if (succeeded) results.insert(results.end(), records.begin(), records.end());
    return succeeded;
}
