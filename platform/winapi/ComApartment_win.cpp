#include <windows.h>
// (first: the other Windows headers build on it)
#include <objbase.h>

#include "winapi/ComApartment.h"

namespace WinApi {

ComApartment::ComApartment(Threading threading)
    : m_result(CoInitializeEx(nullptr, threading == kMultithreaded
                                           ? COINIT_MULTITHREADED
                                           : COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}

ComApartment::~ComApartment() {
    if (SUCCEEDED(m_result)) CoUninitialize();  // S_OK and S_FALSE both count once
}

bool ComApartment::IsReady() const {
    return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE;
}

}  // namespace WinApi
