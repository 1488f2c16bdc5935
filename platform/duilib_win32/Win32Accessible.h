// A window's accessible tree (duilib/UIAccessible.h) served to assistive
// technology through Microsoft Active Accessibility: WM_GETOBJECT for the client
// area answers with an IAccessible made from the live control tree, and the
// core's change reports become WinEvents. Included by the duilib_win32/*_win.cpp files.
//
// Every element is an object of its own (children are VT_DISPATCH), one per
// element while a client holds it, which knows its element by the control's
// stable id only; ids double as the child ids of
// the WinEvents, and get_accChild on any object of the window accepts them. The
// objects reach the tree through a link the window cuts when it is destroyed, so
// an object another process keeps answers CO_E_OBJNOTCONNECTED afterwards; one
// whose control was destroyed (rows rebuilt) is cut off the same way then.
//
// UI thread only. The UI thread joins a single-threaded apartment at the first
// WM_GETOBJECT and stays in it, so calls from other processes arrive on it
// through the message loop.
#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>

#include "duilib/UIControl.h"

struct IAccessible;

namespace DuiLib {

class CPaintManagerUI;

class Win32Accessible {
public:
    Win32Accessible() = default;
    ~Win32Accessible() { Disconnect(); }
    Win32Accessible(const Win32Accessible&) = delete;
    Win32Accessible& operator=(const Win32Accessible&) = delete;

    // WM_GETOBJECT: true with the answer for OBJID_CLIENT; false leaves the
    // message to DefWindowProc (other objects, or nothing to serve).
    bool OnGetObject(HWND hwnd, CPaintManagerUI* manager, WPARAM wParam, LPARAM lParam,
                     LRESULT& result);
    // A change the core reported: the matching EVENT_OBJECT_* WinEvents, with the
    // elements' ids as child ids.
    static void OnControlChanged(HWND hwnd, CControlUI* control, UIChange change);
    // The tree goes away: every object handed out answers CO_E_OBJNOTCONNECTED,
    // and other processes' proxies are cut off (RPC_E_DISCONNECTED).
    void Disconnect();
    // The element's control goes: its object, if one was handed out, answers
    // CO_E_OBJNOTCONNECTED, and other processes' proxies of it are cut off.
    void DisconnectElement(int id);
    // The element objects alive in this process (tests).
    static long LiveObjects();

    // What the objects of one window share (Win32AccessibleObject_win.cpp).
    struct Link {
        CPaintManagerUI* manager = nullptr;  // null once disconnected
        HWND hwnd = nullptr;
        // The live object of each element id (not owned: each leaves on its last Release).
        std::unordered_map<int, IAccessible*> objects;
    };

private:
    std::shared_ptr<Link> m_link;
};

// WM_GETOBJECT's answer for the client area's object: LresultFromObject's result.
LRESULT LresultFromClientObject(const std::shared_ptr<Win32Accessible::Link>& link, WPARAM wParam);

}  // namespace DuiLib
