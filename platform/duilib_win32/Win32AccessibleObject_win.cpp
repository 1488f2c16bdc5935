// The IAccessible object of one element (see Win32Accessible.h): IAccessible
// (through IDispatch, without type information) and IEnumVARIANT over its
// children. Every call finds its element again through the window's link and
// the element's id, so nothing here points at a control between calls.
#include <windows.h>
// IID_IAccessible as data in this file: the one in liboleacc.a is a code thunk,
// and marshalling the object then fails with E_NOINTERFACE.
#include <initguid.h>
// (after initguid.h)
#include <oleacc.h>

#include <string>
#include <vector>

#include "duilib/UIAccessible.h"
#include "duilib/UIMainQueue.h"
#include "duilib/UIManager.h"
#include "duilib_win32/Win32Accessible.h"
#include "support/KtLogger.h"

namespace DuiLib {

namespace {

using LinkPtr = std::shared_ptr<Win32Accessible::Link>;

long RoleOf(UIRole role) {
    static const struct {
        UIRole core;
        long msaa;
    } kRoles[] = {
        {UIRole::Window, ROLE_SYSTEM_CLIENT},       {UIRole::PushButton, ROLE_SYSTEM_PUSHBUTTON},
        {UIRole::Link, ROLE_SYSTEM_LINK},           {UIRole::StaticText, ROLE_SYSTEM_STATICTEXT},
        {UIRole::List, ROLE_SYSTEM_LIST},           {UIRole::ListItem, ROLE_SYSTEM_LISTITEM},
        {UIRole::Animation, ROLE_SYSTEM_ANIMATION}, {UIRole::ProgressBar, ROLE_SYSTEM_PROGRESSBAR},
    };
    for (const auto& entry : kRoles) {
        if (entry.core == role) return entry.msaa;
    }
    return ROLE_SYSTEM_GROUPING;
}

long StateOf(unsigned state) {
    static const struct {
        unsigned core;
        long msaa;
    } kStates[] = {
        {kAccUnavailable, STATE_SYSTEM_UNAVAILABLE}, {kAccFocusable, STATE_SYSTEM_FOCUSABLE},
        {kAccFocused, STATE_SYSTEM_FOCUSED},         {kAccOffscreen, STATE_SYSTEM_OFFSCREEN},
        {kAccInvisible, STATE_SYSTEM_INVISIBLE},
    };
    long msaa = 0;
    for (const auto& entry : kStates) {
        if (state & entry.core) msaa |= entry.msaa;
    }
    return msaa;
}

// S_FALSE and no string when the text is empty, as for an element without a name.
HRESULT ReturnText(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = text.empty() ? nullptr : SysAllocString(text.c_str());
    if (text.empty()) return S_FALSE;
    return *out ? S_OK : E_OUTOFMEMORY;
}

bool IsBelow(const CControlUI* element, const CControlUI* ancestor) {
    for (const CControlUI* c = Accessible::ParentOf(element); c; c = Accessible::ParentOf(c)) {
        if (c == ancestor) return true;
    }
    return false;
}

IAccessible* CreateAccessibleObject(const LinkPtr& link, int id);

LONG g_liveObjects = 0;

class AccessibleObject final : public IAccessible, public IEnumVARIANT {
public:
    AccessibleObject(LinkPtr link, int id, Accessible::ChildCursor cursor = {}, bool shared = false)
        : m_link(std::move(link)), m_id(id), m_cursor(cursor), m_shared(shared) {
        InterlockedIncrement(&g_liveObjects);
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *out = static_cast<IAccessible*>(this);
        } else if (iid == IID_IEnumVARIANT) {
            *out = static_cast<IEnumVARIANT*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return refs;
    }

    // IDispatch: no type information; clients call the IAccessible methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: the tree.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        CControlUI* self = nullptr;
        HRESULT hr = Find(Self(), self);
        if (FAILED(hr)) return hr;
        if (CControlUI* parent = Accessible::ParentOf(self)) {
            *out = Object(parent);
            return S_OK;
        }
        // The client area's parent is the window itself, as the system describes it.
        return CreateStdAccessibleObject(m_link->hwnd, OBJID_WINDOW, IID_IDispatch,
                                         reinterpret_cast<void**>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        CControlUI* self = nullptr;
        HRESULT hr = Find(Self(), self);
        if (SUCCEEDED(hr)) *count = static_cast<long>(Accessible::ChildrenOf(self).size());
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        CControlUI* control = nullptr;
        HRESULT hr = Find(child, control);
        if (SUCCEEDED(hr)) *out = Object(control);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        VariantInit(end);
        CControlUI* from = nullptr;
        HRESULT hr = Find(start, from);
        if (FAILED(hr)) return hr;
        Accessible::Direction way;
        switch (direction) {
            case NAVDIR_NEXT:
                way = Accessible::Direction::Next;
                break;
            case NAVDIR_PREVIOUS:
                way = Accessible::Direction::Previous;
                break;
            case NAVDIR_FIRSTCHILD:
                way = Accessible::Direction::FirstChild;
                break;
            case NAVDIR_LASTCHILD:
                way = Accessible::Direction::LastChild;
                break;
            case NAVDIR_UP:
            case NAVDIR_DOWN:
            case NAVDIR_LEFT:
            case NAVDIR_RIGHT:
                return S_FALSE;  // no spatial navigation
            default:
                return E_INVALIDARG;
        }
        CControlUI* to = Accessible::Navigate(from, way);
        if (!to) return S_FALSE;
        end->vt = VT_DISPATCH;
        end->pdispVal = Object(to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        if (!out) return E_POINTER;
        VariantInit(out);
        CControlUI* self = nullptr;
        HRESULT hr = Find(Self(), self);
        if (FAILED(hr)) return hr;
        POINT pt = {x, y};
        ScreenToClient(m_link->hwnd, &pt);
        CControlUI* hit = Accessible::HitTest(*m_link->manager, pt.x, pt.y);
        if (hit == self) {
            out->vt = VT_I4;
            out->lVal = CHILDID_SELF;
            return S_OK;
        }
        // The child of this element on the way down to the element hit.
        while (hit && Accessible::ParentOf(hit) != self) hit = Accessible::ParentOf(hit);
        if (!hit) return S_FALSE;
        out->vt = VT_DISPATCH;
        out->pdispVal = Object(hit);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        if (!out) return E_POINTER;
        VariantInit(out);
        CControlUI* self = nullptr;
        HRESULT hr = Find(Self(), self);
        if (FAILED(hr)) return hr;
        // Nothing while another window has the keyboard focus.
        const bool windowFocused = GetFocus() == m_link->hwnd;
        CControlUI* focus = windowFocused ? Accessible::FocusOf(*m_link->manager) : nullptr;
        if (focus == self || (!focus && m_id == 0 && windowFocused)) {
            out->vt = VT_I4;
            out->lVal = CHILDID_SELF;
        } else if (focus && IsBelow(focus, self)) {
            out->vt = VT_DISPATCH;
            out->pdispVal = Object(focus);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        if (out) VariantInit(out);
        return DISP_E_MEMBERNOTFOUND;
    }

    // IAccessible: what an element is.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        return Text(child, out, &Accessible::NameOf);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return Text(child, out, &Accessible::DescriptionOf);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return Text(child, out, &Accessible::DefaultActionOf);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        if (!out) return E_POINTER;
        VariantInit(out);
        CControlUI* control = nullptr;
        HRESULT hr = Find(child, control);
        if (FAILED(hr)) return hr;
        out->vt = VT_I4;
        out->lVal = RoleOf(Accessible::RoleOf(control));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        if (!out) return E_POINTER;
        VariantInit(out);
        CControlUI* control = nullptr;
        HRESULT hr = Find(child, control);
        if (FAILED(hr)) return hr;
        long state = StateOf(Accessible::StateOf(control));
        if (Accessible::RoleOf(control) == UIRole::Window) {
            // The client area holds the focus while the window does and no control has it.
            state |= STATE_SYSTEM_FOCUSABLE;
            if (GetFocus() == m_link->hwnd && !Accessible::FocusOf(*m_link->manager)) {
                state |= STATE_SYSTEM_FOCUSED;
            }
        }
        out->vt = VT_I4;
        out->lVal = state;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        CControlUI* control = nullptr;
        HRESULT hr = Find(child, control);
        if (FAILED(hr)) return hr;
        const UIRect rc = Accessible::LocationOf(control);
        POINT origin = {rc.left, rc.top};
        ClientToScreen(m_link->hwnd, &origin);
        *left = origin.x;
        *top = origin.y;
        *width = rc.Width();
        *height = rc.Height();
        return S_OK;
    }
    // Only a progress bar has a value; the others answer as they did without one.
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        CControlUI* control = nullptr;
        if (SUCCEEDED(Find(child, control)) && Accessible::RoleOf(control) == UIRole::ProgressBar) {
            return Text(child, out, &Accessible::ValueOf);
        }
        return None(out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override { return None(out); }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) override {
        return None(out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (topic) *topic = 0;
        return None(file);
    }

    // IAccessible: acting on an element.
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        CControlUI* control = nullptr;
        HRESULT hr = Find(child, control);
        if (FAILED(hr)) return hr;
        if (flags != SELFLAG_TAKEFOCUS) return DISP_E_MEMBERNOTFOUND;
        return m_link->manager->SetFocus(control) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        CControlUI* control = nullptr;
        HRESULT hr = Find(child, control);
        if (FAILED(hr)) return hr;
        if (!Accessible::CanDoDefaultAction(control)) {
            // Nothing to do, or the control (or its window, behind a modal dialog) takes no input.
            KT_LOG(LOG_ERROR, L"default action refused: " << Accessible::NameOf(control),
                   "AccessibleObject::accDoDefaultAction");
            return DISP_E_MEMBERNOTFOUND;
        }
        // Later, from the loop: the action may open a modal dialog, and the caller
        // (another process, waiting for this call) must not wait for it to close.
        // It runs only if the control may still act then (DoDefaultAction checks).
        LinkPtr link = m_link;
        const int id = Accessible::IdOf(*m_link->manager, control);
        const bool queued = UIMainQueue::getInstance()->dispatch([link, id] {
            if (!link->manager) return;
            if (CControlUI* target = Accessible::ControlOfId(*link->manager, id)) {
                Accessible::DoDefaultAction(target);
            }
        });
        return queued ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // IEnumVARIANT: the children, each as VT_DISPATCH. A null count is taken for
    // any number asked (IEnumVARIANT::Next allows it); the slots not filled stay VT_EMPTY.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (!out) return E_INVALIDARG;
        for (ULONG i = 0; i < count; ++i) VariantInit(&out[i]);
        CControlUI* self = nullptr;
        HRESULT hr = Find(Self(), self);
        if (FAILED(hr)) return hr;
        const std::vector<CControlUI*> children = Accessible::NextChildren(self, m_cursor, count);
        for (size_t i = 0; i < children.size(); ++i) {
            out[i].vt = VT_DISPATCH;
            out[i].pdispVal = Object(children[i]);
        }
        if (fetched) *fetched = static_cast<ULONG>(children.size());
        return children.size() == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        CControlUI* self = nullptr;
        HRESULT hr = Find(Self(), self);
        if (FAILED(hr)) return hr;
        return Accessible::NextChildren(self, m_cursor, count).size() == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        m_cursor = Accessible::ChildCursor();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
        if (!out) return E_POINTER;
        *out = new AccessibleObject(m_link, m_id, m_cursor);
        return S_OK;
    }

private:
    ~AccessibleObject() {
        if (m_shared) m_link->objects.erase(m_id);
        InterlockedDecrement(&g_liveObjects);
    }

    static VARIANT Self() {
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return self;
    }

    // The element a call is about: this object's own (CHILDID_SELF) or, as the
    // child ids of WinEvents name them, any element of the window by its id.
    HRESULT Find(const VARIANT& child, CControlUI*& control) {
        control = nullptr;
        CPaintManagerUI* manager = m_link->manager;
        if (!manager) return CO_E_OBJNOTCONNECTED;
        if (child.vt != VT_I4 || child.lVal < 0) return E_INVALIDARG;
        const int id = child.lVal == CHILDID_SELF ? m_id : static_cast<int>(child.lVal);
        control = Accessible::ControlOfId(*manager, id);
        if (!control) return id == m_id ? CO_E_OBJNOTCONNECTED : E_INVALIDARG;
        // No layout here: what depends on places (state, location, hit test)
        // brings the layout up to date itself, and only what changed.
        return S_OK;
    }

    IDispatch* Object(CControlUI* control) {
        return CreateAccessibleObject(m_link, Accessible::IdOf(*m_link->manager, control));
    }

    HRESULT Text(const VARIANT& child, BSTR* out, std::wstring (*text)(const CControlUI*)) {
        if (!out) return E_POINTER;
        *out = nullptr;
        CControlUI* control = nullptr;
        HRESULT hr = Find(child, control);
        return FAILED(hr) ? hr : ReturnText(text(control), out);
    }

    static HRESULT None(BSTR* out) {
        if (out) *out = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }

    LONG m_refs = 1;
    LinkPtr m_link;
    int m_id;
    Accessible::ChildCursor m_cursor;  // IEnumVARIANT's position
    bool m_shared;                     // the element's one object, listed in the link (not a Clone)
};

// The element's object while anyone holds it, so that a client comparing
// objects sees the same element; a new one once every holder let it go.
IAccessible* CreateAccessibleObject(const LinkPtr& link, int id) {
    auto found = link->objects.find(id);
    if (found != link->objects.end()) {
        found->second->AddRef();
        return found->second;
    }
    auto* object = new AccessibleObject(link, id, {}, true);
    link->objects.emplace(id, object);
    return object;
}

}  // namespace

long Win32Accessible::LiveObjects() {
    return g_liveObjects;
}

LRESULT LresultFromClientObject(const LinkPtr& link, WPARAM wParam) {
    IAccessible* root = CreateAccessibleObject(link, 0);
    const LRESULT result = LresultFromObject(IID_IAccessible, wParam, root);
    root->Release();
    return result;
}

}  // namespace DuiLib
