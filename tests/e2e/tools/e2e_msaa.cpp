// e2e_msaa.exe: a screen reader's view of a window, from another process,
// through Microsoft Active Accessibility; run inside the scenario's Wine prefix.
// The window is the top-level window of class CLASS and title TITLE.
// Subcommands (results on stdout, UTF-8):
//
//   tree CLASS TITLE         the client area's tree, one element a line, two
//                            spaces of indent per level:
//                            role "name" [states] @left,top,right,bottom (screen),
//                            then = "value" for an element with a value
//   check CLASS TITLE        "consistent: N elements, H hit where they are", or one
//                            line per disagreement of the children with
//                            get_accParent, accNavigate (next) and accHitTest (just
//                            inside the top-left corner of each element in view
//                            that lies inside its parent: that element, or nothing
//                            where the point is clipped)
//   press CLASS TITLE NAME   accDoDefaultAction on the first element (in tree
//                            order) named NAME; prints its HRESULT
//   hold CLASS TITLE         keeps the client object and its first child, prints
//                            "held", waits until the window is gone (at most 60 s),
//                            then prints the HRESULTs of get_accChildCount on the
//                            first and get_accName on the second
//   focus CLASS TITLE NAME   accSelect(SELFLAG_TAKEFOCUS) on the first element
//                            named NAME; prints its HRESULT
//   same CLASS TITLE NAME    finds the element named NAME twice, walking the tree
//                            afresh each time; prints "same" when both walks gave
//                            the one object (COM identity), else "different"
//   events CLASS TITLE STOP  prints "listening", then each WinEvent (show, hide,
//                            reorder, focus, statechange, locationchange,
//                            namechange) of the client area as
//                            "<event> <name>", the name read through its child id
//                            (AccessibleObjectFromEvent), until the file STOP exists
//
// Every subcommand ends within 30 s, hold and events within 90 s (AccessibleObjectFromWindow
// sends a message that blocks while the window does not answer). Exit status 0 on success, 1
// when a step failed (the reason on stderr), 2 for bad usage, 3 on the timeout.
#include <windows.h>
// IID_IAccessible as data (the one in liboleacc.a is a code thunk).
#include <initguid.h>
// (after initguid.h)
#include <oleacc.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "winapi/TextConversion.h"

namespace {

constexpr DWORD kTimeoutMs = 30000;

void Print(const std::wstring& text) {
    std::fputs(Strconv::WideToUtf8(text).c_str(), stdout);
    std::fflush(stdout);
}

std::wstring Hex(HRESULT hr) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lx", static_cast<unsigned long>(hr));
    return text;
}

int Fail(const std::wstring& why) {
    std::fputs(Strconv::WideToUtf8(L"e2e_msaa: " + why + L"\n").c_str(), stderr);
    return 1;
}

// One element: an object and a child id (CHILDID_SELF for the object itself).
struct Element {
    IAccessible* object = nullptr;  // owned (one reference)
    long child = CHILDID_SELF;
};

VARIANT ChildVariant(long child) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

std::wstring Name(const Element& e) {
    BSTR name = nullptr;
    if (FAILED(e.object->get_accName(ChildVariant(e.child), &name)) || !name) return L"";
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
}

// The element's value, or empty when it has none.
std::wstring Value(const Element& e) {
    BSTR value = nullptr;
    if (e.object->get_accValue(ChildVariant(e.child), &value) != S_OK || !value) return L"";
    std::wstring text(value, SysStringLen(value));
    SysFreeString(value);
    return text;
}

long Role(const Element& e) {
    VARIANT role;
    VariantInit(&role);
    if (FAILED(e.object->get_accRole(ChildVariant(e.child), &role)) || role.vt != VT_I4) return 0;
    return role.lVal;
}

long State(const Element& e) {
    VARIANT state;
    VariantInit(&state);
    if (FAILED(e.object->get_accState(ChildVariant(e.child), &state)) || state.vt != VT_I4) {
        return 0;
    }
    return state.lVal;
}

RECT Location(const Element& e) {
    long x = 0, y = 0, w = 0, h = 0;
    e.object->accLocation(&x, &y, &w, &h, ChildVariant(e.child));
    return RECT{x, y, x + w, y + h};
}

struct Named {
    long value;
    const wchar_t* text;
};

// The text `names` gives `value`, or null.
template <size_t N>
const wchar_t* TextOf(long value, const Named (&names)[N]) {
    for (const Named& n : names) {
        if (n.value == value) return n.text;
    }
    return nullptr;
}

std::wstring RoleText(long role) {
    static const Named kRoles[] = {
        {ROLE_SYSTEM_CLIENT, L"client"},       {ROLE_SYSTEM_PUSHBUTTON, L"push button"},
        {ROLE_SYSTEM_LINK, L"link"},           {ROLE_SYSTEM_STATICTEXT, L"text"},
        {ROLE_SYSTEM_LIST, L"list"},           {ROLE_SYSTEM_LISTITEM, L"list item"},
        {ROLE_SYSTEM_ANIMATION, L"animation"}, {ROLE_SYSTEM_PROGRESSBAR, L"progress bar"}};
    const wchar_t* text = TextOf(role, kRoles);
    return text ? text : L"role " + std::to_wstring(role);
}

std::wstring StateText(long state) {
    static const struct {
        long bit;
        const wchar_t* text;
    } kStates[] = {
        {STATE_SYSTEM_UNAVAILABLE, L"unavailable"}, {STATE_SYSTEM_FOCUSABLE, L"focusable"},
        {STATE_SYSTEM_FOCUSED, L"focused"},         {STATE_SYSTEM_OFFSCREEN, L"offscreen"},
        {STATE_SYSTEM_INVISIBLE, L"invisible"},
    };
    std::wstring text;
    for (const auto& entry : kStates) {
        if (state & entry.bit) {
            text += (text.empty() ? L"" : L" ") + std::wstring(entry.text);
            state &= ~entry.bit;
        }
    }
    if (state) text += (text.empty() ? L"" : L" ") + Hex(state);
    return text;
}

std::wstring Line(const Element& e) {
    const RECT rc = Location(e);
    return RoleText(Role(e)) + L" \"" + Name(e) + L"\" [" + StateText(State(e)) + L"] @" +
           std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," +
           std::to_wstring(rc.right) + L"," + std::to_wstring(rc.bottom) +
           (Value(e).empty() ? L"" : L" = \"" + Value(e) + L"\"");
}

// A VARIANT naming a child of `parent` as an element: an object of its own, or a
// child id of the parent's object.
bool FromVariant(const Element& parent, VARIANT& v, Element& out) {
    if (v.vt == VT_DISPATCH && v.pdispVal) {
        IAccessible* object = nullptr;
        const HRESULT hr =
            v.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
        VariantClear(&v);
        if (FAILED(hr)) return false;
        out = Element{object, CHILDID_SELF};
        return true;
    }
    if (v.vt == VT_I4 && parent.child == CHILDID_SELF) {
        parent.object->AddRef();
        out = Element{parent.object, v.lVal};
        return true;
    }
    VariantClear(&v);
    return false;
}

std::vector<Element> Children(const Element& e) {
    std::vector<Element> children;
    long count = 0;
    if (e.child != CHILDID_SELF || FAILED(e.object->get_accChildCount(&count)) || count <= 0) {
        return children;
    }
    std::vector<VARIANT> found(static_cast<size_t>(count));
    long obtained = 0;
    if (FAILED(AccessibleChildren(e.object, 0, count, found.data(), &obtained))) return children;
    for (long i = 0; i < obtained; ++i) {
        Element child;
        if (FromVariant(e, found[i], child)) children.push_back(child);
    }
    return children;
}

void Release(std::vector<Element>& elements) {
    for (Element& e : elements) e.object->Release();
    elements.clear();
}

HRESULT ClientObject(const wchar_t* className, const wchar_t* title, Element& root) {
    HWND window = FindWindowW(className, title);
    if (!window) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    return AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                      reinterpret_cast<void**>(&root.object));
}

void PrintTree(const Element& e, int depth) {
    Print(std::wstring(static_cast<size_t>(depth) * 2, L' ') + Line(e) + L"\n");
    std::vector<Element> children = Children(e);
    for (const Element& child : children) PrintTree(child, depth + 1);
    Release(children);
}

// The same element: identity is not exposed, so role, name and place decide.
bool Same(const Element& a, const Element& b) {
    return Line(a) == Line(b);
}

struct Tally {
    int elements = 0;
    int hits = 0;  // elements hit where they are
};

void Check(const Element& e, std::vector<std::wstring>& problems, Tally& tally) {
    std::vector<Element> children = Children(e);
    for (size_t i = 0; i < children.size(); ++i) {
        const Element& child = children[i];
        const std::wstring where = Line(child);
        if (child.child == CHILDID_SELF) {
            IDispatch* parent = nullptr;
            IAccessible* parentObject = nullptr;
            if (FAILED(child.object->get_accParent(&parent)) || !parent ||
                FAILED(parent->QueryInterface(IID_IAccessible,
                                              reinterpret_cast<void**>(&parentObject))) ||
                !Same(Element{parentObject, CHILDID_SELF}, e)) {
                problems.push_back(L"parent of " + where);
            }
            if (parentObject) parentObject->Release();
            if (parent) parent->Release();
        }
        VARIANT next;
        VariantInit(&next);
        const HRESULT hr = child.object->accNavigate(NAVDIR_NEXT, ChildVariant(child.child), &next);
        Element found;
        const bool hasNext = hr == S_OK && FromVariant(e, next, found);
        if (hasNext != (i + 1 < children.size()) || (hasNext && !Same(found, children[i + 1]))) {
            problems.push_back(L"next of " + where);
        }
        if (hasNext) found.object->Release();
        // A point just inside the top-left corner of an element in view, and
        // inside its parent, hits it from the parent's object, or nothing where
        // the point is clipped (the list's view ends inside a row).
        const RECT rc = Location(child);
        const RECT outer = Location(e);
        if (!(State(child) & STATE_SYSTEM_OFFSCREEN) && rc.right - rc.left > 4 &&
            rc.bottom - rc.top > 4 && rc.left >= outer.left && rc.top >= outer.top &&
            rc.right <= outer.right && rc.bottom <= outer.bottom) {
            VARIANT hit;
            VariantInit(&hit);
            const HRESULT hitResult = e.object->accHitTest(rc.left + 2, rc.top + 2, &hit);
            Element target;
            if (hitResult == S_FALSE && hit.vt == VT_EMPTY) {
                // clipped
            } else if (FromVariant(e, hit, target) && Same(target, child)) {
                ++tally.hits;
            } else {
                problems.push_back(L"hit test of " + where);
            }
            if (target.object) target.object->Release();
        }
        ++tally.elements;
        Check(child, problems, tally);
    }
    Release(children);
}

int Tree(const wchar_t* className, const wchar_t* title) {
    Element root;
    const HRESULT hr = ClientObject(className, title, root);
    if (FAILED(hr)) return Fail(L"no accessible object for the window: " + Hex(hr));
    PrintTree(root, 0);
    root.object->Release();
    return 0;
}

int CheckTree(const wchar_t* className, const wchar_t* title) {
    Element root;
    const HRESULT hr = ClientObject(className, title, root);
    if (FAILED(hr)) return Fail(L"no accessible object for the window: " + Hex(hr));
    std::vector<std::wstring> problems;
    Tally tally;
    Check(root, problems, tally);
    root.object->Release();
    for (const std::wstring& problem : problems) Print(problem + L"\n");
    if (problems.empty()) {
        Print(L"consistent: " + std::to_wstring(tally.elements) + L" elements, " +
              std::to_wstring(tally.hits) + L" hit where they are\n");
    }
    return problems.empty() ? 0 : 1;
}

// Depth first, in tree order; the element found is handed over (one reference).
bool FindNamed(const Element& e, const std::wstring& name, Element& found) {
    std::vector<Element> children = Children(e);
    bool done = false;
    for (Element& child : children) {
        if (!done && Name(child) == name) {
            found = child;
            child.object = nullptr;
            done = true;
        } else if (!done) {
            done = FindNamed(child, name, found);
        }
    }
    for (Element& child : children) {
        if (child.object) child.object->Release();
    }
    return done;
}

// The element named `name` in the window: 0, or Fail's code with its reason.
int FindInWindow(const wchar_t* className, const wchar_t* title, const std::wstring& name,
                 Element& found) {
    Element root;
    const HRESULT hr = ClientObject(className, title, root);
    if (FAILED(hr)) return Fail(L"no accessible object for the window: " + Hex(hr));
    const bool ok = FindNamed(root, name, found);
    root.object->Release();
    return ok ? 0 : Fail(L"no element named \"" + name + L"\"");
}

int Press(const wchar_t* className, const wchar_t* title, const std::wstring& name,
          bool focusOnly = false) {
    Element target;
    if (const int failed = FindInWindow(className, title, name, target)) return failed;
    const HRESULT hr = focusOnly
                           ? target.object->accSelect(SELFLAG_TAKEFOCUS, ChildVariant(target.child))
                           : target.object->accDoDefaultAction(ChildVariant(target.child));
    target.object->Release();
    Print(Hex(hr) + L"\n");
    return hr == S_OK ? 0 : 1;
}

// A client that compares objects (as readers do to tell a changed element from
// a new one) needs one object per element.
int SameObject(const wchar_t* className, const wchar_t* title, const std::wstring& name) {
    IUnknown* identity[2] = {nullptr, nullptr};
    for (IUnknown*& id : identity) {
        Element found;
        if (const int failed = FindInWindow(className, title, name, found)) return failed;
        found.object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&id));
        found.object->Release();
    }
    Print(identity[0] && identity[0] == identity[1] ? L"same\n" : L"different\n");
    for (IUnknown* id : identity) {
        if (id) id->Release();
    }
    return 0;
}

int Hold(const wchar_t* className, const wchar_t* title) {
    HWND window = FindWindowW(className, title);
    Element root;
    HRESULT hr = ClientObject(className, title, root);
    if (FAILED(hr)) return Fail(L"no accessible object for the window: " + Hex(hr));
    std::vector<Element> children = Children(root);
    if (children.empty()) return Fail(L"the window's client area has no children");
    Print(L"held\n");
    for (int i = 0; i < 600 && IsWindow(window); ++i) Sleep(100);
    if (IsWindow(window)) return Fail(L"the window is still there");
    long count = 0;
    BSTR name = nullptr;
    const HRESULT countResult = root.object->get_accChildCount(&count);
    const HRESULT nameResult =
        children[0].object->get_accName(ChildVariant(children[0].child), &name);
    if (name) SysFreeString(name);
    Print(L"get_accChildCount " + Hex(countResult) + L"\nget_accName " + Hex(nameResult) + L"\n");
    Release(children);
    root.object->Release();
    return 0;
}

struct HeardEvent {
    DWORD event;
    LONG child;
};
HWND g_listenedWindow = nullptr;
std::vector<HeardEvent> g_heard;

// Only noted here: the window's thread may be waiting for this callback to return.
void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                         DWORD) {
    if (hwnd == g_listenedWindow && object == OBJID_CLIENT) g_heard.push_back({event, child});
}

std::wstring EventText(DWORD event) {
    static const Named kEvents[] = {{EVENT_OBJECT_FOCUS, L"focus"},
                                    {EVENT_OBJECT_NAMECHANGE, L"namechange"},
                                    {EVENT_OBJECT_SHOW, L"show"},
                                    {EVENT_OBJECT_HIDE, L"hide"},
                                    {EVENT_OBJECT_STATECHANGE, L"statechange"},
                                    {EVENT_OBJECT_REORDER, L"reorder"},
                                    {EVENT_OBJECT_LOCATIONCHANGE, L"locationchange"}};
    const wchar_t* text = TextOf(static_cast<long>(event), kEvents);
    return text ? text : L"event " + Hex(static_cast<HRESULT>(event));
}

// Each heard event with the name of its element, read through the child id as
// a screen reader reads it (AccessibleObjectFromEvent).
void PrintHeard() {
    std::vector<HeardEvent> heard;
    heard.swap(g_heard);
    for (const HeardEvent& h : heard) {
        IAccessible* object = nullptr;
        VARIANT child;
        VariantInit(&child);
        std::wstring name = L"<no object>";
        if (SUCCEEDED(AccessibleObjectFromEvent(g_listenedWindow, OBJID_CLIENT, h.child, &object,
                                                &child)) &&
            object) {
            name = Name(Element{object, child.vt == VT_I4 ? child.lVal : CHILDID_SELF});
            object->Release();
        }
        Print(EventText(h.event) + L" " + name + L"\n");
    }
}

int Events(const wchar_t* className, const wchar_t* title, const wchar_t* stopFile) {
    g_listenedWindow = FindWindowW(className, title);
    if (!g_listenedWindow) return Fail(L"no such window");
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_NAMECHANGE, nullptr,
                                         OnWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    if (!hook) return Fail(L"SetWinEventHook failed");
    Print(L"listening\n");
    while (GetFileAttributesW(stopFile) == INVALID_FILE_ATTRIBUTES) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        PrintHeard();
    }
    UnhookWinEvent(hook);
    return 0;
}

DWORD WINAPI Watchdog(void* milliseconds) {
    Sleep(static_cast<DWORD>(reinterpret_cast<uintptr_t>(milliseconds)));
    std::fputs("e2e_msaa: timed out\n", stderr);
    ExitProcess(3);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fputs(
            "usage: e2e_msaa tree|check|hold CLASS TITLE, press|focus|same CLASS TITLE NAME,\n"
            "       events CLASS TITLE STOPFILE\n",
            stderr);
        return 2;
    }
    const std::wstring command = argv[1];
    const DWORD timeout = command == L"hold" || command == L"events" ? kTimeoutMs * 3 : kTimeoutMs;
    HANDLE watchdog = CreateThread(
        nullptr, 0, Watchdog, reinterpret_cast<void*>(static_cast<uintptr_t>(timeout)), 0, nullptr);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 2;
    if (command == L"tree") {
        status = Tree(argv[2], argv[3]);
    } else if (command == L"check") {
        status = CheckTree(argv[2], argv[3]);
    } else if (command == L"press" && argc >= 5) {
        status = Press(argv[2], argv[3], argv[4]);
    } else if (command == L"focus" && argc >= 5) {
        status = Press(argv[2], argv[3], argv[4], true);
    } else if (command == L"same" && argc >= 5) {
        status = SameObject(argv[2], argv[3], argv[4]);
    } else if (command == L"hold") {
        status = Hold(argv[2], argv[3]);
    } else if (command == L"events" && argc >= 5) {
        status = Events(argv[2], argv[3], argv[4]);
    }
    CoUninitialize();
    if (watchdog) CloseHandle(watchdog);
    return status;
}
