// CPaintManagerUI: the keyboard focus, its order and its indicator, and the
// reports of control changes. UI thread.
//
// The focus is one control of the window's tree that is focusable, visible and
// enabled in the tree. Tab's order is the tree's (depth first, a container
// before its children, children in their order, floating ones where they sit)
// over the tab stops. A focus that stops being able to take it (hidden,
// disabled) moves once the changes settle: to the nearest enclosing control
// that can hold it (the row whose button it was), else to the next tab stop.
#include <algorithm>

#include "duilib/UIBackend.h"
#include "duilib/UIControls.h"
#include "duilib/UIManagerState.h"
#include "support/KtLogger.h"

namespace DuiLib {

namespace {

bool CanTakeFocus(const CControlUI* control) {
    return control->IsFocusable() && control->IsVisibleInTree() && control->IsEnabledInTree();
}

bool IsReachableStop(const CControlUI* control) {
    return control->IsTabStop() && CanTakeFocus(control);
}

void SendFocusEvent(CControlUI* control, UIEventType type) {
    TEventUI event;
    event.Type = type;
    event.pSender = control;
    control->DoEvent(event);
}

// A container whose children the walk goes through: nothing in a hidden or
// disabled one can take the focus.
IContainerUI* Enterable(CControlUI* control) {
    if (!control->IsVisible() || !control->IsEnabled()) return nullptr;
    auto* box = dynamic_cast<IContainerUI*>(control);
    return box && box->GetCount() > 0 ? box : nullptr;
}

// The child's index in its parent, -1 when it is not (any more) among its items.
int IndexInParent(CControlUI* child) {
    auto* box = dynamic_cast<IContainerUI*>(child->GetParent());
    return box ? box->IndexOf(child) : -1;
}

CControlUI* LastInTree(CControlUI* control) {
    while (IContainerUI* box = Enterable(control)) control = box->GetItemAt(box->GetCount() - 1);
    return control;
}

// The control after (before) `control` in tree order; null past the end.
CControlUI* NextInTree(CControlUI* control) {
    if (IContainerUI* box = Enterable(control)) return box->GetItemAt(0);
    for (CControlUI* c = control; c->GetParent(); c = c->GetParent()) {
        const int at = IndexInParent(c);
        auto* box = dynamic_cast<IContainerUI*>(c->GetParent());
        if (at >= 0 && at + 1 < box->GetCount()) return box->GetItemAt(at + 1);
    }
    return nullptr;
}

CControlUI* PreviousInTree(CControlUI* control) {
    CControlUI* parent = control->GetParent();
    if (!parent) return nullptr;
    const int at = IndexInParent(control);
    if (at > 0) return LastInTree(dynamic_cast<IContainerUI*>(parent)->GetItemAt(at - 1));
    return parent;
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
    m_state->spaceDown = nullptr;
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

CControlUI* CPaintManagerUI::NextFocusable(CControlUI* from, bool forward) const {
    CControlUI* root = m_state->root;
    if (!root) return nullptr;
    auto step = [forward](CControlUI* c) { return forward ? NextInTree(c) : PreviousInTree(c); };
    auto start = [root, forward] { return forward ? root : LastInTree(root); };
    CControlUI* c = from ? step(from) : start();
    // Round once: the walk skips hidden subtrees, so `from` may never come again.
    for (int ends = 0;;) {
        if (!c) {
            if (++ends > 1) return nullptr;
            c = start();
        }
        if (c == from) return IsReachableStop(c) ? c : nullptr;
        if (IsReachableStop(c)) return c;
        c = step(c);
    }
}

void CPaintManagerUI::ReportChange(CControlUI* control, UIChange change) {
    State& s = *m_state;
    CControlUI* focus = s.focus;
    bool tell = s.backend != nullptr;
    if (change == UIChange::Focus) {
        tell = tell && s.windowFocused;  // a background window's focus moves silently
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
    if (tell && focus && focus != control && s.windowFocused &&
        (change == UIChange::Name || change == UIChange::Shown) && control->IsInside(focus) &&
        Accessible::IsElement(control)) {
        s.backend->OnControlChanged(focus, UIChange::Focus);
    }
    if ((change == UIChange::Hidden || change == UIChange::State) && s.batchDepth == 0) {
        RepairFocus();
    }
}

void CPaintManagerUI::RepairFocus() {
    CControlUI* focus = m_state->focus;
    if (!focus || CanTakeFocus(focus)) return;
    for (CControlUI* p = focus->GetParent(); p; p = p->GetParent()) {
        if (CanTakeFocus(p)) {
            SetFocus(p);
            return;
        }
    }
    SetFocus(NextFocusable(focus));
}

void CPaintManagerUI::SetOpeningFocus(LPCTSTR name) {
    m_state->openingFocusName = name ? name : L"";
}

// Before the window is shown: its activation then reports the focus to the reader.
void CPaintManagerUI::FocusOnOpening() {
    const std::wstring& name = m_state->openingFocusName;
    if (name.empty() || m_state->focus) return;
    if (!SetFocus(FindControl(name.c_str()))) {
        KT_LOG(LOG_ERROR, L"no control to focus on opening:" << name,
               "CPaintManagerUI::FocusOnOpening");
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
    RepairFocus();
}

UIChangeBatch::UIChangeBatch(CPaintManagerUI& manager) {
    manager.BeginChanges();
    m_manager = manager.m_state->self;
}

UIChangeBatch::~UIChangeBatch() {
    if (std::shared_ptr<CPaintManagerUI*> manager = m_manager.lock()) (*manager)->EndChanges();
}

CControlUI* CPaintManagerUI::EdgeFocusableIn(CControlUI* box, bool last) const {
    CControlUI* c = last ? LastInTree(box) : box;
    if (!last || !IsReachableStop(c)) c = NextFocusable(c, !last);
    return c && c != box && c->IsInside(box) ? c : nullptr;
}

void CPaintManagerUI::OnRemovingControl(CControlUI* control) {
    if (!m_state->focus || !m_state->focus->IsInside(control)) return;
    // The next control after the whole subtree; one inside it only by wrapping round.
    CControlUI* next = NextFocusable(LastInTree(control));
    SetFocus(next && !next->IsInside(control) ? next : nullptr);
}

void CPaintManagerUI::MoveFocusByKeyboard(bool forward) {
    CControlUI* next = NextFocusable(m_state->focus, forward);
    if (!next) return;
    SetFocus(next);
    ScrollIntoView(next);
}

void CPaintManagerUI::ScrollIntoView(CControlUI* control) {
    if (!control || control->GetManager() != this) return;
    UpdateLayout();
    // Room for the indicator round the control (PaintFocusIndicator).
    const int room = 3 * std::max(1, ScaleValue(1));
    for (CControlUI* p = control->GetParent(); p; p = p->GetParent()) {
        auto* box = dynamic_cast<CContainerUI*>(p);
        if (!box || box->GetScrollRange() <= 0) continue;
        const UIRect view = box->GetViewRect();
        // The largest enclosing part that fits (a list's whole row), else the control.
        UIRect rc = control->GetFocusRect().Inflate(room);
        for (CControlUI* part = control->GetParent(); part != box; part = part->GetParent()) {
            const UIRect pos = part->GetPos();
            const int top = std::min(rc.top, pos.top), bottom = std::max(rc.bottom, pos.bottom);
            if (bottom - top > view.Height()) break;
            rc.top = top;
            rc.bottom = bottom;
        }
        int by = 0;
        if (rc.top < view.top) {
            by = rc.top - view.top;
        } else if (rc.bottom > view.bottom) {
            by = std::min(rc.bottom - view.bottom, rc.top - view.top);  // the top stays in view
        }
        if (by != 0) box->SetScrollPos(box->GetScrollPos() + by);
    }
}

void CPaintManagerUI::OnWindowFocus(bool focused) {
    if (focused == m_state->windowFocused) return;
    m_state->windowFocused = focused;
    if (!focused) m_state->spaceDown = nullptr;
    if (!m_state->focus) return;
    Invalidate();
    // Back from another window (Alt+Tab, a closed dialog): the reader lands on the control.
    if (focused) ReportChange(m_state->focus, UIChange::Focus);
}

bool CPaintManagerUI::IsWindowFocused() const {
    return m_state->windowFocused;
}

bool CPaintManagerUI::IsInputEnabled() const {
    return !m_state->backend || m_state->backend->IsInputEnabled();
}

bool CPaintManagerUI::IsFocusIndicatorShown() const {
    CControlUI* focus = m_state->focus;
    const bool cues = m_state->focusCues || Backend::KeyboardCuesAlwaysShown();
    return focus && cues && m_state->windowFocused && focus->IsVisibleInTree() &&
           !IsRectEmpty(focus->GetVisibleRect());
}

// Two rings round the focus rectangle, dark outside and light inside, so that
// one of them stands out on any background; in high contrast, the system's
// highlight on the window colour. Clipped by the lists the control is in.
void CPaintManagerUI::PaintFocusIndicator(CRenderList& list) const {
    if (!IsFocusIndicatorShown()) return;
    CControlUI* focus = m_state->focus;
    UIRect clip{0, 0, m_state->client.cx, m_state->client.cy};
    for (CControlUI* p = focus->GetParent(); p; p = p->GetParent()) {
        auto* box = dynamic_cast<CContainerUI*>(p);
        if (box && box->GetScrollRange() > 0) clip = IntersectRect(clip, box->GetVisibleRect());
    }
    if (IsRectEmpty(clip)) return;
    const int w = std::max(1, ScaleValue(1));
    const uint32_t outer = UIColors::Resolve(UIColors::kFocusRing, UIColorRole::Highlight);
    const uint32_t inner =
        UIColors::IsHighContrast() ? UIColors::Current().window | 0xFF000000u : 0xFFFFFFFF;
    const UIRect rc = focus->GetFocusRect();
    const int round = focus->GetBorderRound();
    if (round > 0) {
        list.RoundRect(rc.Inflate(3 * w), ScaleValue(round) + 3 * w, 0, outer, 2 * w, clip);
        list.RoundRect(rc.Inflate(w), ScaleValue(round) + w, 0, inner, w, clip);
    } else {
        list.FrameRect(rc.Inflate(3 * w), outer, 2 * w, clip);
        list.FrameRect(rc.Inflate(w), inner, w, clip);
    }
}

}  // namespace DuiLib
