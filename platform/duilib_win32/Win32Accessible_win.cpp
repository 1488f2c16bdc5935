// Win32Accessible: WM_GETOBJECT, the WinEvents of the core's change reports and
// the window's link to its objects (Win32AccessibleObject_win.cpp).
#include <windows.h>
// (first: the COM header builds on it)
#include <objbase.h>
#include <oleacc.h>

#include <vector>

#include "duilib/UIAccessible.h"
#include "duilib/UIManager.h"
#include "duilib_win32/Win32Accessible.h"
#include "support/KtLogger.h"

namespace DuiLib {

namespace {

// The objects live in the UI thread's single-threaded apartment, entered once
// and kept for the life of the process. A thread already in the multithreaded
// apartment would take other processes' calls on pool threads, away from the
// controls: then nothing is served.
bool InApartment() {
    static const bool entered = [] {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(hr)) {
            KT_LOG(LOG_ERROR,
                   "no single-threaded apartment for assistive technology, hr 0x"
                       << std::hex << static_cast<unsigned long>(hr),
                   "Win32Accessible::OnGetObject");
        }
        return SUCCEEDED(hr);
    }();
    return entered;
}

DWORD WinEventOf(UIAccessibleEventType type) {
    switch (type) {
        case UIAccessibleEventType::Focus:
            return EVENT_OBJECT_FOCUS;
        case UIAccessibleEventType::NameChange:
            return EVENT_OBJECT_NAMECHANGE;
        case UIAccessibleEventType::Show:
            return EVENT_OBJECT_SHOW;
        case UIAccessibleEventType::Hide:
            return EVENT_OBJECT_HIDE;
        case UIAccessibleEventType::StateChange:
            return EVENT_OBJECT_STATECHANGE;
        case UIAccessibleEventType::ValueChange:
            return EVENT_OBJECT_VALUECHANGE;
        case UIAccessibleEventType::Reorder:
            return EVENT_OBJECT_REORDER;
        case UIAccessibleEventType::LocationChange:
            return EVENT_OBJECT_LOCATIONCHANGE;
    }
    return EVENT_OBJECT_STATECHANGE;
}

}  // namespace

bool Win32Accessible::OnGetObject(HWND hwnd, CPaintManagerUI* manager, WPARAM wParam, LPARAM lParam,
                                  LRESULT& result) {
    // lParam arrives zero-extended on 64-bit.
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return false;
    if (!manager || !manager->GetRoot() || !InApartment()) return false;
    if (!m_link) {
        m_link = std::make_shared<Link>();
        m_link->hwnd = hwnd;
    }
    m_link->manager = manager;
    result = LresultFromClientObject(m_link, wParam);
    if (FAILED(static_cast<HRESULT>(result))) {
        KT_LOG(LOG_ERROR,
               "LresultFromObject fail, hr 0x" << std::hex << static_cast<unsigned long>(result),
               "Win32Accessible::OnGetObject");
        return false;
    }
    return true;
}

void Win32Accessible::OnControlChanged(HWND hwnd, CControlUI* control, UIChange change) {
    CPaintManagerUI* manager = control->GetManager();
    if (!hwnd || !manager) return;
    for (const UIAccessibleEvent& event : Accessible::EventsFor(control, change)) {
        NotifyWinEvent(WinEventOf(event.type), hwnd, OBJID_CLIENT,
                       Accessible::IdOf(*manager, event.element));
    }
}

void Win32Accessible::Disconnect() {
    if (!m_link) return;
    m_link->manager = nullptr;
    // Other processes' proxies let go of the objects now; an object may leave
    // the list (its last Release) while this runs.
    std::vector<IUnknown*> objects;
    for (const auto& entry : m_link->objects) {
        entry.second->AddRef();
        objects.push_back(entry.second);
    }
    for (IUnknown* object : objects) {
        CoDisconnectObject(object, 0);
        object->Release();
    }
    m_link.reset();
}

void Win32Accessible::DisconnectElement(int id) {
    if (!m_link) return;
    auto found = m_link->objects.find(id);
    if (found == m_link->objects.end()) return;
    // The proxies' references go, and with them perhaps the object's last.
    IUnknown* object = found->second;
    object->AddRef();
    CoDisconnectObject(object, 0);
    object->Release();
}

}  // namespace DuiLib
