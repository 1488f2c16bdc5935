// CPaintManagerUI: its focus operations, forwarded to the window's
// UIFocusManager, and the reports of control changes with their batches. UI thread.
#include "duilib/UIBackend.h"
#include "duilib/UIManagerState.h"

namespace DuiLib {

CControlUI* CPaintManagerUI::GetFocus() const {
    return m_state->focus.GetFocus();
}

bool CPaintManagerUI::SetFocus(CControlUI* control) {
    return m_state->focus.SetFocus(control);
}

CControlUI* CPaintManagerUI::NextFocusable(CControlUI* from, bool forward) const {
    return m_state->focus.NextFocusable(from, forward);
}

void CPaintManagerUI::SetOpeningFocus(LPCTSTR name) {
    m_state->focus.SetOpeningFocus(name);
}

void CPaintManagerUI::OnRemovingControl(CControlUI* control) {
    m_state->focus.OnRemoving(control);
}

void CPaintManagerUI::ScrollIntoView(CControlUI* control) {
    m_state->focus.ScrollIntoView(control);
}

void CPaintManagerUI::OnWindowFocus(bool focused) {
    m_state->focus.OnWindowFocus(focused);
}

bool CPaintManagerUI::IsWindowFocused() const {
    return m_state->focus.IsWindowFocused();
}

bool CPaintManagerUI::IsInputEnabled() const {
    return !m_state->backend || m_state->backend->IsInputEnabled();
}

bool CPaintManagerUI::IsFocusIndicatorShown() const {
    return m_state->focus.IsIndicatorShown();
}

void CPaintManagerUI::ReportChange(CControlUI* control, UIChange change) {
    State& s = *m_state;
    CControlUI* focus = s.focus.GetFocus();
    const bool windowFocused = s.focus.IsWindowFocused();
    bool tell = s.backend != nullptr;
    if (change == UIChange::Focus) {
        tell = tell && windowFocused;  // a background window's focus moves silently
    } else if (s.batchDepth > 0) {
        for (CControlUI* box : s.reorderedInBatch) {
            if (control->IsInside(box)) tell = false;  // the container's report covers it
        }
        if (change == UIChange::Children) {
            if (tell) s.reorderedInBatch.push_back(control);
            tell = false;
        }
    }
    if (tell) s.backend->OnControlChanged(control, change);
    // What the focused element holds changed (a row's outcome): it is read anew.
    if (tell && focus && focus != control && windowFocused &&
        (change == UIChange::Name || change == UIChange::Shown) && control->IsInside(focus) &&
        Accessible::IsElement(control)) {
        s.backend->OnControlChanged(focus, UIChange::Focus);
    }
    if ((change == UIChange::Hidden || change == UIChange::State) && s.batchDepth == 0) {
        s.focus.Repair();
    }
}

void CPaintManagerUI::BeginChanges() {
    if (!m_state->self) m_state->self = std::make_shared<CPaintManagerUI*>(this);
    ++m_state->batchDepth;
}

void CPaintManagerUI::EndChanges() {
    if (m_state->batchDepth == 0 || --m_state->batchDepth > 0) return;
    SettleChanges();
}

void CPaintManagerUI::SettleChanges() {
    std::vector<CControlUI*> reordered;
    reordered.swap(m_state->reorderedInBatch);
    for (CControlUI* box : reordered) {
        if (m_state->backend) m_state->backend->OnControlChanged(box, UIChange::Children);
    }
    m_state->focus.Repair();
}

UIChangeBatch::UIChangeBatch(CPaintManagerUI& manager) {
    manager.BeginChanges();
    m_manager = manager.m_state->self;
}

UIChangeBatch::~UIChangeBatch() {
    if (std::shared_ptr<CPaintManagerUI*> manager = m_manager.lock()) (*manager)->EndChanges();
}

}  // namespace DuiLib
