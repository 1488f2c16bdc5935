// Owners of COM objects for the Windows files (include after <windows.h>):
// a ComRef releases its interface and a Bstr frees its string when they leave
// scope, which must be before the thread's COM goes down (WinApi::ComApartment).
#pragma once

#include <oleauto.h>

#include <string>

namespace WinApi {

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
    // For the calls that hand out an interface as void** (QueryInterface, CoCreateInstance).
    void** outVoid() { return reinterpret_cast<void**>(&m_p); }

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

}  // namespace WinApi
