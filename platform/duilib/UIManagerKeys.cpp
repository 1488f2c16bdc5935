// CPaintManagerUI: keys from the backend. UI thread.
//
// Activation by key is the control's own Activate(), which raises what a click
// raises: the same notification through the same message maps, so a window
// cannot tell a key from a click. Space activates on its release, as Windows'
// buttons do; Enter on its press, once.
#include "duilib/UIBackend.h"
#include "duilib/UIControls.h"
#include "duilib/UIManagerState.h"

namespace DuiLib {

namespace {

// The nearest ancestor of the control that scrolls, or null.
CContainerUI* ScrollingAncestor(CControlUI* control) {
    for (CControlUI* p = control ? control->GetParent() : nullptr; p; p = p->GetParent()) {
        auto* box = dynamic_cast<CContainerUI*>(p);
        if (box && box->GetScrollRange() > 0) return box;
    }
    return nullptr;
}

}  // namespace

bool CPaintManagerUI::OnKeyDown(unsigned key, unsigned modifiers, bool repeat) {
    UIChangeBatch batch(*this);
    UpdateLayout();
    m_state->focus.SetKeyboardCues(true);
    CControlUI* focus = m_state->focus.GetFocus();
    // Ctrl+C and Ctrl+Insert copy what the focused control offers (its selected text).
    if ((modifiers & (UIMOD_ALT | UIMOD_CONTROL)) == UIMOD_CONTROL &&
        (key == UIKEY_C || key == UIKEY_INSERT) && focus) {
        const CDuiString text = focus->GetCopyText();
        if (!text.IsEmpty()) {
            if (GetBackend() && !repeat) GetBackend()->CopyToClipboard(text.str());
            return true;
        }
    }
    // Other Alt and Ctrl combinations are the system's (Alt+F4, Alt+Space).
    if (modifiers & (UIMOD_ALT | UIMOD_CONTROL)) return false;
    switch (key) {
        case UIKEY_TAB:
            m_state->focus.MoveByKeyboard((modifiers & UIMOD_SHIFT) == 0);
            return true;
        case UIKEY_RETURN:
            if (focus && !repeat) focus->Activate();  // last step: the handler may close the window
            return focus != nullptr;
        case UIKEY_SPACE:
            if (!repeat) m_state->focus.PressSpace(focus);
            return focus != nullptr;
        case UIKEY_ESCAPE: {
            if (m_state->cancelName.empty())
                return false;  // no cancel control: the key is not used
            CControlUI* cancel = FindControl(m_state->cancelName.c_str());
            if (!cancel || repeat || !cancel->IsVisibleInTree()) return cancel != nullptr;
            cancel->Activate();
            return true;
        }
        case UIKEY_PAGEUP:
        case UIKEY_PAGEDOWN:
        case UIKEY_HOME:
        case UIKEY_END:
            return ScrollFocusedList(key);
        default:
            return false;
    }
}

bool CPaintManagerUI::OnKeyUp(unsigned key, unsigned modifiers) {
    if (key != UIKEY_SPACE) return false;
    UIChangeBatch batch(*this);
    CControlUI* pressed = m_state->focus.TakeSpacePress();
    if (!pressed || pressed != m_state->focus.GetFocus()) return false;
    pressed->Activate();  // last step: the handler may close the window
    return true;
}

// The list holding the focus scrolls by a page or to its end, and the focus
// goes with the view: to the last (first) control that can take it and is
// wholly in view, or for Home / End to the list's first (last) one. The walk
// starts at the focus or the list's end, so a key costs what is in view.
bool CPaintManagerUI::ScrollFocusedList(unsigned key) {
    CControlUI* focus = m_state->focus.GetFocus();
    CContainerUI* list = ScrollingAncestor(focus);
    if (!list) return false;
    const bool down = key == UIKEY_PAGEDOWN || key == UIKEY_END;
    switch (key) {
        case UIKEY_PAGEUP:
        case UIKEY_PAGEDOWN:
            list->SetScrollPos(list->GetScrollPos() + (down ? 1 : -1) * list->GetScrollPage());
            break;
        default:
            list->SetScrollPos(down ? list->GetScrollRange() : 0);
            break;
    }
    CControlUI* chosen = nullptr;
    if (key == UIKEY_HOME || key == UIKEY_END) {
        chosen = m_state->focus.EdgeFocusableIn(list, down);
    } else {
        const UIRect view = list->GetViewRect();
        // From the focus towards the view, as far as the view's far edge.
        for (CControlUI* c = focus; c && c->IsInside(list);) {
            const UIRect rc = c->GetPos();
            if (down ? rc.top >= view.bottom : rc.bottom <= view.top) break;
            if (rc.top >= view.top && rc.bottom <= view.bottom) chosen = c;
            CControlUI* next = NextFocusable(c, down);
            if (next == focus) break;  // round the whole window
            c = next;
        }
    }
    if (chosen) {
        SetFocus(chosen);
        ScrollIntoView(chosen);
    }
    return true;
}

void CPaintManagerUI::SetCancelControl(LPCTSTR name) {
    m_state->cancelName = name ? name : L"";
}

CDuiString CPaintManagerUI::GetCancelControl() const {
    return CDuiString(m_state->cancelName);
}

}  // namespace DuiLib
