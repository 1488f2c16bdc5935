// CPaintManagerUI: mouse input turned into control events (and so into
// notifications), and the timers of controls. UI thread.
//
// The hot control is the deepest visible control under the mouse; it gets
// MOUSEENTER / MOUSELEAVE as it changes. The control that gets a button-down
// receives the matching button-up (and the moves in between) wherever the mouse
// is; the hot control does not change meanwhile. A change of the hot control
// starts its tooltip's wait (UIToolTip.h).
#include <algorithm>

#include "duilib/UIBackend.h"
#include "duilib/UIManagerState.h"

namespace DuiLib {

namespace {

void Send(CControlUI* control, UIEventType type, int x, int y, WPARAM wParam = 0) {
    TEventUI event;
    event.Type = type;
    event.pSender = control;
    event.x = x;
    event.y = y;
    event.wParam = wParam;
    control->DoEvent(event);
}

CControlUI* ControlAt(CPaintManagerUI::State& s, int x, int y) {
    return s.root ? s.root->FindControlAt(x, y) : nullptr;
}

// Event handlers may destroy controls; ReapControl then clears s.hot, so each
// step re-reads it.
void UpdateHot(CPaintManagerUI& manager, CPaintManagerUI::State& s, CControlUI* target, int x,
               int y) {
    if (target == s.hot) return;
    CControlUI* old = s.hot;
    s.hot = target;
    if (old) Send(old, UIEVENT_MOUSELEAVE, x, y);
    if (target && s.hot == target) Send(target, UIEVENT_MOUSEENTER, x, y);
    ToolTip::OnHotChanged(manager, s.toolTip, s.hot);
}

}  // namespace

void CPaintManagerUI::OnMouseMove(int x, int y) {
    UpdateLayout();
    if (m_state->pressed) {
        Send(m_state->pressed, UIEVENT_MOUSEMOVE, x, y);
        return;
    }
    UpdateHot(*this, *m_state, ControlAt(*m_state, x, y), x, y);
    if (m_state->hot) Send(m_state->hot, UIEVENT_MOUSEMOVE, x, y);
}

void CPaintManagerUI::OnMouseLeaveWindow() {
    if (m_state->pressed) return;
    UpdateHot(*this, *m_state, nullptr, -1, -1);
}

void CPaintManagerUI::OnButtonDown(int x, int y) {
    UIChangeBatch batch(*this);
    UpdateLayout();
    // Windows' convention: no focus indicator after a mouse press until a key is used.
    m_state->focus.SetKeyboardCues(false);
    m_state->pressed = nullptr;
    UpdateHot(*this, *m_state, ControlAt(*m_state, x, y), x, y);
    ToolTip::Hide(*this, m_state->toolTip);
    m_state->pressed = m_state->hot;
    // A press on a button or a link gives it the focus, as the system's buttons take it.
    CControlUI* pressed = m_state->pressed;
    if (pressed && pressed->IsFocusable() && pressed->IsInteractiveAt(x, y)) SetFocus(pressed);
    if (m_state->pressed) Send(m_state->pressed, UIEVENT_BUTTONDOWN, x, y);
}

void CPaintManagerUI::OnButtonUp(int x, int y) {
    UIChangeBatch batch(*this);
    CControlUI* pressed = m_state->pressed;
    m_state->pressed = nullptr;
    if (pressed) Send(pressed, UIEVENT_BUTTONUP, x, y);
    OnMouseMove(x, y);
}

void CPaintManagerUI::OnMouseWheel(int x, int y, int delta) {
    UpdateLayout();
    CControlUI* target = ControlAt(*m_state, x, y);
    if (!target) return;
    Send(target, UIEVENT_SCROLLWHEEL, x, y, static_cast<WPARAM>(static_cast<LPARAM>(delta)));
    // The content moved under the mouse.
    if (!m_state->pressed) UpdateHot(*this, *m_state, ControlAt(*m_state, x, y), x, y);
}

bool CPaintManagerUI::HitTestCaption(int x, int y) const {
    if (y < 0 || y >= ScaleValue(m_state->captionHeight)) return false;
    for (CControlUI* c = ControlAt(*m_state, x, y); c; c = c->GetParent()) {
        if (c->IsInteractiveAt(x, y)) return false;
    }
    return true;
}

CControlUI* CPaintManagerUI::GetHotControl() const {
    return m_state->hot;
}

bool CPaintManagerUI::WantsMouseLeave() const {
    return m_state->hot && m_state->hot->CaresWhenPointerLeaves();
}

void CPaintManagerUI::OnTimer(int timerId) {
    for (const State::Timer& t : m_state->timers) {
        if (t.backendId != timerId) continue;
        if (t.controlTimerId == ToolTip::kTimerId) {
            ToolTip::OnHoverTime(*this, m_state->toolTip, t.control);
            return;
        }
        Send(t.control, UIEVENT_TIMER, 0, 0, static_cast<WPARAM>(t.controlTimerId));
        return;
    }
}

bool CPaintManagerUI::SetTimer(CControlUI* control, int timerId, unsigned elapseMs) {
    if (!control) return false;
    State::Timer* timer = nullptr;
    for (State::Timer& t : m_state->timers) {
        if (t.control == control && t.controlTimerId == timerId) timer = &t;
    }
    if (!timer) {
        m_state->timers.push_back(State::Timer{control, timerId, m_state->nextTimerId++, 0});
        timer = &m_state->timers.back();
    }
    timer->elapseMs = elapseMs;
    // Without a backend the timer is kept and started when one is attached.
    return m_state->backend ? m_state->backend->SetTimer(timer->backendId, elapseMs) : true;
}

void CPaintManagerUI::KillTimer(CControlUI* control, int timerId) {
    auto& timers = m_state->timers;
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        if (it->control == control && it->controlTimerId == timerId) {
            if (m_state->backend) m_state->backend->KillTimer(it->backendId);
            timers.erase(it);
            return;
        }
    }
}

void CPaintManagerUI::KillTimers(CControlUI* control) {
    auto& timers = m_state->timers;
    for (auto it = timers.begin(); it != timers.end();) {
        if (it->control == control) {
            if (m_state->backend) m_state->backend->KillTimer(it->backendId);
            it = timers.erase(it);
        } else {
            ++it;
        }
    }
}

std::vector<int> CPaintManagerUI::GetTimerIds() const {
    std::vector<int> ids;
    for (const State::Timer& t : m_state->timers) ids.push_back(t.backendId);
    return ids;
}

void CPaintManagerUI::ReapControl(CControlUI* control) {
    ToolTipState& tip = m_state->toolTip;
    if (tip.waiting == control || tip.shown == control) ToolTip::Hide(*this, tip);
    if (m_state->hot == control) m_state->hot = nullptr;
    if (m_state->pressed == control) m_state->pressed = nullptr;
    m_state->focus.Forget(control);
    auto& reordered = m_state->reorderedInBatch;
    reordered.erase(std::remove(reordered.begin(), reordered.end(), control), reordered.end());
    KillTimers(control);
    if (const int id = m_state->accessibleIds.Forget(control)) {
        if (m_state->backend) m_state->backend->OnAccessibleElementGone(id);
    }
    m_state->layout.Forget(control);
}

}  // namespace DuiLib
