// CPaintManagerUI: the keyboard focus and the reports of control changes. UI thread.
//
// The focus is one control of the window's tree that is focusable, visible and
// enabled in the tree. It is cleared when that stops being true, and forgotten
// when the control is destroyed (ReapControl).
#include "duilib/UIBackend.h"
#include "duilib/UIManagerState.h"

namespace DuiLib {

namespace {

bool CanTakeFocus(const CControlUI* control) {
    return control->IsFocusable() && control->IsVisibleInTree() && control->IsEnabledInTree();
}

void SendFocusEvent(CControlUI* control, UIEventType type) {
    TEventUI event;
    event.Type = type;
    event.pSender = control;
    control->DoEvent(event);
}

}  // namespace

CControlUI* CPaintManagerUI::GetFocus() const {
    return m_state->focus;
}

bool CPaintManagerUI::SetFocus(CControlUI* control) {
    if (control && (control->GetManager() != this || !CanTakeFocus(control))) return false;
    if (control == m_state->focus) return true;
    CControlUI* old = m_state->focus;
    m_state->focus = control;
    // Event handlers may destroy controls; ReapControl then clears the focus.
    if (old) {
        SendFocusEvent(old, UIEVENT_KILLFOCUS);
        old->Invalidate();
    }
    if (control && m_state->focus == control) {
        SendFocusEvent(control, UIEVENT_SETFOCUS);
        control->Invalidate();
        ReportChange(control, UIChange::Focus);
    }
    return m_state->focus == control;
}

void CPaintManagerUI::ReportChange(CControlUI* control, UIChange change) {
    if (m_state->backend) m_state->backend->OnControlChanged(control, change);
    if ((change == UIChange::Hidden || change == UIChange::State) && m_state->focus &&
        !CanTakeFocus(m_state->focus)) {
        SetFocus(nullptr);
    }
}

}  // namespace DuiLib
