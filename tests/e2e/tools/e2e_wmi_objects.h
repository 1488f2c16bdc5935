// The COM objects of the WMI stand-in: the locator, the services of
// ROOT\CIMV2, the query's enumerator and its instances, each with the
// reference counting and QueryInterface of a free-threaded COM object.
#pragma once

#include <windows.h>
// (first: the other Windows headers build on it)
#include <wbemidl.h>

namespace e2e_wmi {

// Objects of this DLL that are alive (DllCanUnloadNow); the call record notes
// when the last one goes, so a scenario can see that the program released all.
void ObjectCreated();
void ObjectDestroyed();
LONG LiveObjects();

// IUnknown for one interface; callable from any thread. Derived is final and
// is deleted with its last reference.
template <typename Derived, typename Interface>
class ComObject : public Interface {
public:
    ComObject() { ObjectCreated(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
            *out = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) delete static_cast<Derived*>(this);
        return static_cast<ULONG>(refs);
    }

protected:
    ~ComObject() { ObjectDestroyed(); }

private:
    LONG m_refs = 1;
};

// A new locator, as the class factory hands it out.
HRESULT CreateLocator(REFIID iid, void** out);

}  // namespace e2e_wmi
