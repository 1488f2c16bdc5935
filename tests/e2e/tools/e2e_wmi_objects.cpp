#include "e2e_wmi_objects.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "e2e_wmi_files.h"

// A method the program never calls: WMI's own answer for what it does not serve.
#define ORVELLE_WMI_REFUSED(method, parameters)            \
    HRESULT STDMETHODCALLTYPE method parameters override { \
        return WBEM_E_NOT_SUPPORTED;                       \
    }

namespace e2e_wmi {

namespace {

LONG g_liveObjects = 0;
const LONG kInfinite = static_cast<LONG>(WBEM_INFINITE);
const wchar_t* const kHotfixClass = L"Win32_QuickFixEngineering";

using HotfixList = std::shared_ptr<const std::vector<Hotfix>>;

std::wstring Text(const wchar_t* text) {
    return text ? text : L"(null)";
}

// One instance of Win32_QuickFixEngineering with the three served properties.
class Instance final : public ComObject<Instance, IWbemClassObject> {
public:
    explicit Instance(const Hotfix& hotfix) : m_hotfix(hotfix) {}

    HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG flags, VARIANT* value, CIMTYPE* type,
                                  LONG* flavor) override {
        if (name == nullptr || flags != 0) return WBEM_E_INVALID_PARAMETER;
        const Value* found = nullptr;
        for (size_t i = 0; i < m_hotfix.size(); ++i) {
            if (_wcsicmp(name, kPropertyNames[i]) == 0) found = &m_hotfix[i];
        }
        if (found == nullptr || found->kind == Value::Kind::kMissing) return WBEM_E_NOT_FOUND;
        if (value != nullptr) {
            VariantInit(value);
            if (found->kind == Value::Kind::kNull) {
                V_VT(value) = VT_NULL;
            } else {
                V_BSTR(value) =
                    SysAllocStringLen(found->text.data(), static_cast<UINT>(found->text.size()));
                if (V_BSTR(value) == nullptr) return WBEM_E_OUT_OF_MEMORY;
                V_VT(value) = VT_BSTR;
            }
        }
        if (type != nullptr) *type = CIM_STRING;
        if (flavor != nullptr) *flavor = WBEM_FLAVOR_ORIGIN_LOCAL;
        return WBEM_S_NO_ERROR;
    }

    // The program reads properties by name only.
    ORVELLE_WMI_REFUSED(GetQualifierSet, (IWbemQualifierSet**))
    ORVELLE_WMI_REFUSED(Put, (LPCWSTR, LONG, VARIANT*, CIMTYPE))
    ORVELLE_WMI_REFUSED(Delete, (LPCWSTR))
    ORVELLE_WMI_REFUSED(GetNames, (LPCWSTR, LONG, VARIANT*, SAFEARRAY**))
    ORVELLE_WMI_REFUSED(BeginEnumeration, (LONG))
    ORVELLE_WMI_REFUSED(Next, (LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*))
    ORVELLE_WMI_REFUSED(EndEnumeration, ())
    ORVELLE_WMI_REFUSED(GetPropertyQualifierSet, (LPCWSTR, IWbemQualifierSet**))
    ORVELLE_WMI_REFUSED(Clone, (IWbemClassObject**))
    ORVELLE_WMI_REFUSED(GetObjectText, (LONG, BSTR*))
    ORVELLE_WMI_REFUSED(SpawnDerivedClass, (LONG, IWbemClassObject**))
    ORVELLE_WMI_REFUSED(SpawnInstance, (LONG, IWbemClassObject**))
    ORVELLE_WMI_REFUSED(CompareTo, (LONG, IWbemClassObject*))
    ORVELLE_WMI_REFUSED(GetPropertyOrigin, (LPCWSTR, BSTR*))
    ORVELLE_WMI_REFUSED(InheritsFrom, (LPCWSTR))
    ORVELLE_WMI_REFUSED(GetMethod, (LPCWSTR, LONG, IWbemClassObject**, IWbemClassObject**))
    ORVELLE_WMI_REFUSED(PutMethod, (LPCWSTR, LONG, IWbemClassObject*, IWbemClassObject*))
    ORVELLE_WMI_REFUSED(DeleteMethod, (LPCWSTR))
    ORVELLE_WMI_REFUSED(BeginMethodEnumeration, (LONG))
    ORVELLE_WMI_REFUSED(NextMethod, (LONG, BSTR*, IWbemClassObject**, IWbemClassObject**))
    ORVELLE_WMI_REFUSED(EndMethodEnumeration, ())
    ORVELLE_WMI_REFUSED(GetMethodQualifierSet, (LPCWSTR, IWbemQualifierSet**))
    ORVELLE_WMI_REFUSED(GetMethodOrigin, (LPCWSTR, BSTR*))

private:
    const Hotfix m_hotfix;
};

// The query's result: the records become available at m_readyAt (GetTickCount64),
// later than the query when the scenario slows WMI down.
class Enumerator final : public ComObject<Enumerator, IEnumWbemClassObject> {
public:
    Enumerator(HotfixList hotfixes, ULONGLONG readyAt, bool forwardOnly, size_t position = 0)
        : m_hotfixes(std::move(hotfixes)),
          m_readyAt(readyAt),
          m_forwardOnly(forwardOnly),
          m_position(position) {}

    HRESULT STDMETHODCALLTYPE Next(LONG timeout, ULONG count, IWbemClassObject** objects,
                                   ULONG* returned) override {
        if (objects == nullptr || returned == nullptr) return WBEM_E_INVALID_PARAMETER;
        *returned = 0;
        const HRESULT hr = Deliver(timeout, count, objects, *returned);
        Record(L"Next timeout=" + std::to_wstring(timeout) + L" count=" + std::to_wstring(count) +
               L" -> " + Hex(hr) + L" returned=" + std::to_wstring(*returned));
        return hr;
    }

    HRESULT STDMETHODCALLTYPE Skip(LONG timeout, ULONG count) override {
        if (timeout < 0 && timeout != kInfinite) return WBEM_E_INVALID_PARAMETER;
        if (!WaitUntilReady(timeout)) return WBEM_S_TIMEDOUT;
        AcquireSRWLockExclusive(&m_lock);
        const size_t left = m_hotfixes->size() - m_position;
        m_position += count < left ? count : left;
        ReleaseSRWLockExclusive(&m_lock);
        return count <= left ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE Reset() override {
        if (m_forwardOnly) return WBEM_E_INVALID_OPERATION;
        AcquireSRWLockExclusive(&m_lock);
        m_position = 0;
        ReleaseSRWLockExclusive(&m_lock);
        return WBEM_S_NO_ERROR;
    }

    HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject** copy) override {
        if (copy == nullptr) return WBEM_E_INVALID_PARAMETER;
        *copy = nullptr;
        if (m_forwardOnly) return WBEM_E_INVALID_OPERATION;
        AcquireSRWLockShared(&m_lock);
        *copy = new (std::nothrow) Enumerator(m_hotfixes, m_readyAt, false, m_position);
        ReleaseSRWLockShared(&m_lock);
        return *copy ? WBEM_S_NO_ERROR : WBEM_E_OUT_OF_MEMORY;
    }

    HRESULT STDMETHODCALLTYPE NextAsync(ULONG, IWbemObjectSink*) override {
        return WBEM_E_NOT_SUPPORTED;
    }

private:
    // Waits for the records up to the caller's timeout; false when they are not there yet.
    bool WaitUntilReady(LONG timeout) const {
        const ULONGLONG now = GetTickCount64();
        if (now >= m_readyAt) return true;
        const ULONGLONG wait = m_readyAt - now;
        if (timeout != kInfinite && static_cast<ULONGLONG>(timeout) < wait) {
            Sleep(static_cast<DWORD>(timeout));
            return false;
        }
        Sleep(static_cast<DWORD>(wait));
        return true;
    }

    // S_OK with all COUNT objects; WBEM_S_FALSE with fewer at the end of the
    // list; WBEM_S_TIMEDOUT with none when the records come later than TIMEOUT;
    // a failure asked for at Next once as many records were handed out.
    HRESULT Deliver(LONG timeout, ULONG count, IWbemClassObject** objects, ULONG& returned) {
        if (timeout < 0 && timeout != kInfinite) return WBEM_E_INVALID_PARAMETER;
        const Failure failure = FailureAt(L"Next");
        if (!WaitUntilReady(timeout)) return WBEM_S_TIMEDOUT;
        HRESULT hr = WBEM_S_NO_ERROR;
        AcquireSRWLockExclusive(&m_lock);
        while (returned < count) {
            if (failure.hr != S_OK && m_position >= failure.after) {
                hr = failure.hr;
                break;
            }
            if (m_position >= m_hotfixes->size()) {
                hr = WBEM_S_FALSE;
                break;
            }
            objects[returned] = new (std::nothrow) Instance((*m_hotfixes)[m_position]);
            if (objects[returned] == nullptr) {
                hr = WBEM_E_OUT_OF_MEMORY;
                break;
            }
            ++returned;
            ++m_position;
        }
        ReleaseSRWLockExclusive(&m_lock);
        if (FAILED(hr)) {
            for (ULONG i = 0; i < returned; ++i) {
                objects[i]->Release();
                objects[i] = nullptr;
            }
            returned = 0;
        }
        return hr;
    }

    const HotfixList m_hotfixes;
    const ULONGLONG m_readyAt;
    const bool m_forwardOnly;
    SRWLOCK m_lock = SRWLOCK_INIT;
    size_t m_position;  // guarded by m_lock
};

// "SELECT * FROM Win32_QuickFixEngineering", in any case and spacing.
HRESULT CheckQuery(const std::wstring& query) {
    std::wstring words, word;
    for (wchar_t c : query + L" ") {
        if (!iswspace(c)) {
            word += c;
        } else if (!word.empty()) {
            words += (words.empty() ? L"" : L" ") + word;
            word.clear();
        }
    }
    const std::wstring select = L"SELECT * FROM ";
    if (words.size() <= select.size() || _wcsnicmp(words.c_str(), select.c_str(), select.size())) {
        return WBEM_E_INVALID_QUERY;
    }
    return _wcsicmp(words.c_str() + select.size(), kHotfixClass) == 0 ? WBEM_S_NO_ERROR
                                                                      : WBEM_E_INVALID_CLASS;
}

class Services final : public ComObject<Services, IWbemServices> {
public:
    HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR language, const BSTR query, LONG flags,
                                        IWbemContext*, IEnumWbemClassObject** result) override {
        std::wstring note;
        const HRESULT hr = Query(language, query, flags, result, note);
        Record(L"ExecQuery " + Text(language) + L" \"" + Text(query) + L"\" flags=" + Hex(flags) +
               L" -> " + Hex(hr) + note);
        return hr;
    }

    ORVELLE_WMI_REFUSED(OpenNamespace,
                        (const BSTR, LONG, IWbemContext*, IWbemServices**, IWbemCallResult**))
    ORVELLE_WMI_REFUSED(CancelAsyncCall, (IWbemObjectSink*))
    ORVELLE_WMI_REFUSED(QueryObjectSink, (LONG, IWbemObjectSink**))
    ORVELLE_WMI_REFUSED(GetObject,
                        (const BSTR, LONG, IWbemContext*, IWbemClassObject**, IWbemCallResult**))
    ORVELLE_WMI_REFUSED(GetObjectAsync, (const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    ORVELLE_WMI_REFUSED(PutClass, (IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**))
    ORVELLE_WMI_REFUSED(PutClassAsync, (IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*))
    ORVELLE_WMI_REFUSED(DeleteClass, (const BSTR, LONG, IWbemContext*, IWbemCallResult**))
    ORVELLE_WMI_REFUSED(DeleteClassAsync, (const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    ORVELLE_WMI_REFUSED(CreateClassEnum, (const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**))
    ORVELLE_WMI_REFUSED(CreateClassEnumAsync, (const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    ORVELLE_WMI_REFUSED(PutInstance, (IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**))
    ORVELLE_WMI_REFUSED(PutInstanceAsync,
                        (IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*))
    ORVELLE_WMI_REFUSED(DeleteInstance, (const BSTR, LONG, IWbemContext*, IWbemCallResult**))
    ORVELLE_WMI_REFUSED(DeleteInstanceAsync, (const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    ORVELLE_WMI_REFUSED(CreateInstanceEnum,
                        (const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**))
    ORVELLE_WMI_REFUSED(CreateInstanceEnumAsync,
                        (const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    ORVELLE_WMI_REFUSED(ExecQueryAsync,
                        (const BSTR, const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    ORVELLE_WMI_REFUSED(ExecNotificationQuery,
                        (const BSTR, const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**))
    ORVELLE_WMI_REFUSED(ExecNotificationQueryAsync,
                        (const BSTR, const BSTR, LONG, IWbemContext*, IWbemObjectSink*))
    ORVELLE_WMI_REFUSED(ExecMethod, (const BSTR, const BSTR, LONG, IWbemContext*, IWbemClassObject*,
                                     IWbemClassObject**, IWbemCallResult**))
    ORVELLE_WMI_REFUSED(ExecMethodAsync, (const BSTR, const BSTR, LONG, IWbemContext*,
                                          IWbemClassObject*, IWbemObjectSink*))

private:
    // Without WBEM_FLAG_RETURN_IMMEDIATELY the query returns once its records are there.
    static HRESULT Query(const BSTR language, const BSTR query, LONG flags,
                         IEnumWbemClassObject** result, std::wstring& note) {
        if (result == nullptr || language == nullptr || query == nullptr) {
            return WBEM_E_INVALID_PARAMETER;
        }
        *result = nullptr;
        const Failure failure = FailureAt(L"ExecQuery");
        if (failure.hr != S_OK) return failure.hr;
        if (_wcsicmp(language, L"WQL") != 0) return WBEM_E_INVALID_QUERY_TYPE;
        const HRESULT checked = CheckQuery(query);
        if (checked != WBEM_S_NO_ERROR) return checked;
        auto hotfixes = std::make_shared<std::vector<Hotfix>>();
        if (!ReadHotfixes(*hotfixes, note)) {
            note = L" (" + note + L")";
            return WBEM_E_FAILED;
        }
        note = L" hotfixes=" + std::to_wstring(hotfixes->size());
        ULONGLONG readyAt = GetTickCount64() + SlowMs();
        if (!(flags & WBEM_FLAG_RETURN_IMMEDIATELY)) {
            const ULONGLONG now = GetTickCount64();
            if (readyAt > now) Sleep(static_cast<DWORD>(readyAt - now));
            readyAt = 0;
        }
        *result = new (std::nothrow)
            Enumerator(std::move(hotfixes), readyAt, (flags & WBEM_FLAG_FORWARD_ONLY) != 0);
        return *result ? WBEM_S_NO_ERROR : WBEM_E_OUT_OF_MEMORY;
    }
};

// "ROOT\CIMV2", alone or after the local machine ("\\.\"), either slash, any case.
bool IsHotfixNamespace(const wchar_t* resource) {
    std::wstring name = Text(resource);
    for (wchar_t& c : name) {
        if (c == L'/') c = L'\\';
    }
    if (name.rfind(L"\\\\.\\", 0) == 0) name.erase(0, 4);
    return _wcsicmp(name.c_str(), L"ROOT\\CIMV2") == 0;
}

class Locator final : public ComObject<Locator, IWbemLocator> {
public:
    HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR resource, const BSTR, const BSTR, const BSTR,
                                            LONG flags, const BSTR, IWbemContext*,
                                            IWbemServices** services) override {
        const HRESULT hr = Connect(resource, services);
        Record(L"ConnectServer " + Text(resource) + L" flags=" + Hex(flags) + L" -> " + Hex(hr));
        return hr;
    }

private:
    static HRESULT Connect(const BSTR resource, IWbemServices** services) {
        if (services == nullptr) return WBEM_E_INVALID_PARAMETER;
        *services = nullptr;
        const Failure failure = FailureAt(L"ConnectServer");
        if (failure.hr != S_OK) return failure.hr;
        if (!IsHotfixNamespace(resource)) return WBEM_E_INVALID_NAMESPACE;
        *services = new (std::nothrow) Services();
        return *services ? WBEM_S_NO_ERROR : WBEM_E_OUT_OF_MEMORY;
    }
};

}  // namespace

void ObjectCreated() {
    InterlockedIncrement(&g_liveObjects);
}

void ObjectDestroyed() {
    if (InterlockedDecrement(&g_liveObjects) == 0) Record(L"all objects released");
}

LONG LiveObjects() {
    return InterlockedCompareExchange(&g_liveObjects, 0, 0);
}

HRESULT CreateLocator(REFIID iid, void** out) {
    Locator* locator = new (std::nothrow) Locator();
    if (locator == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = locator->QueryInterface(iid, out);
    locator->Release();
    return hr;
}

}  // namespace e2e_wmi
