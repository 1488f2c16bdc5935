// UIFocusManager: the keyboard focus of one window, its order, its cues and
// its indicator (see UIFocusManager.h). UI thread.
#include "duilib/UIFocusManager.h"

#include <algorithm>

#include "duilib/UIBackend.h"
#include "duilib/UIControls.h"
#include "duilib/UIManager.h"
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

bool UIFocusManager::SetFocus(CControlUI* control) {
    if (control && (control->GetManager() != &m_manager || !CanTakeFocus(control))) return false;
    if (control == m_focus) return true;
    CControlUI* old = m_focus;
    m_focus = control;
    m_spaceDown = nullptr;
    // Event handlers may destroy controls; Forget then clears the focus.
    if (old) {
        SendFocusEvent(old, UIEVENT_KILLFOCUS);
        old->Invalidate();
    }
    if (control && m_focus == control) {
        SendFocusEvent(control, UIEVENT_SETFOCUS);
        control->Invalidate();
        m_manager.ReportChange(control, UIChange::Focus);
    }
    return m_focus == control;
}

CControlUI* UIFocusManager::NextFocusable(CControlUI* from, bool forward) const {
    CControlUI* root = m_manager.GetRoot();
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

CControlUI* UIFocusManager::EdgeFocusableIn(CControlUI* box, bool last) const {
    CControlUI* c = last ? LastInTree(box) : box;
    if (!last || !IsReachableStop(c)) c = NextFocusable(c, !last);
    return c && c != box && c->IsInside(box) ? c : nullptr;
}

void UIFocusManager::MoveByKeyboard(bool forward) {
    CControlUI* next = NextFocusable(m_focus, forward);
    if (!next) return;
    SetFocus(next);
    ScrollIntoView(next);
}

void UIFocusManager::ScrollIntoView(CControlUI* control) {
    if (!control || control->GetManager() != &m_manager) return;
    m_manager.UpdateLayout();
    // Room for the indicator round the control (PaintIndicator).
    const int room = 3 * std::max(1, m_manager.ScaleValue(1));
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

void UIFocusManager::Repair() {
    CControlUI* focus = m_focus;
    if (!focus || CanTakeFocus(focus)) return;
    for (CControlUI* p = focus->GetParent(); p; p = p->GetParent()) {
        if (CanTakeFocus(p)) {
            SetFocus(p);
            return;
        }
    }
    SetFocus(NextFocusable(focus, true));
}

void UIFocusManager::OnRemoving(CControlUI* control) {
    if (!m_focus || !m_focus->IsInside(control)) return;
    // The next control after the whole subtree; one inside it only by wrapping round.
    CControlUI* next = NextFocusable(LastInTree(control), true);
    SetFocus(next && !next->IsInside(control) ? next : nullptr);
}

void UIFocusManager::Forget(const CControlUI* control) {
    if (m_spaceDown == control) m_spaceDown = nullptr;
    if (m_focus == control) m_focus = nullptr;
}

void UIFocusManager::FocusOnOpening() {
    if (m_openingName.empty() || m_focus) return;
    if (!SetFocus(m_manager.FindControl(m_openingName.c_str()))) {
        KT_LOG(LOG_ERROR, L"no control to focus on opening:" << m_openingName,
               "CPaintManagerUI::FocusOnOpening");
    }
}

void UIFocusManager::SetKeyboardCues(bool shown) {
    if (m_cues == shown) return;
    m_cues = shown;
    if (m_focus) m_manager.Invalidate();
}

void UIFocusManager::OnWindowFocus(bool focused) {
    if (focused == m_windowFocused) return;
    m_windowFocused = focused;
    if (!focused) m_spaceDown = nullptr;
    if (!m_focus) return;
    m_manager.Invalidate();
    // Back from another window (Alt+Tab, a closed dialog): the reader lands on the control.
    if (focused) m_manager.ReportChange(m_focus, UIChange::Focus);
}

CControlUI* UIFocusManager::TakeSpacePress() {
    CControlUI* pressed = m_spaceDown;
    m_spaceDown = nullptr;
    return pressed;
}

bool UIFocusManager::IsIndicatorShown() const {
    const bool cues = m_cues || Backend::KeyboardCuesAlwaysShown();
    return m_focus && cues && m_windowFocused && m_focus->IsVisibleInTree() &&
           !IsRectEmpty(m_focus->GetVisibleRect());
}

// Dark outside and light inside, so that one of them stands out on any
// background; in high contrast, the system's highlight on the window colour.
void UIFocusManager::PaintIndicator(CRenderList& list) const {
    if (!IsIndicatorShown()) return;
    const UISize client = m_manager.GetClientSize();
    UIRect clip{0, 0, client.cx, client.cy};
    for (CControlUI* p = m_focus->GetParent(); p; p = p->GetParent()) {
        auto* box = dynamic_cast<CContainerUI*>(p);
        if (box && box->GetScrollRange() > 0) clip = IntersectRect(clip, box->GetVisibleRect());
    }
    if (IsRectEmpty(clip)) return;
    const int w = std::max(1, m_manager.ScaleValue(1));
    const uint32_t outer = UIColors::Resolve(UIColors::kFocusRing, UIColorRole::Highlight);
    const uint32_t inner =
        UIColors::IsHighContrast() ? UIColors::Current().window | 0xFF000000u : 0xFFFFFFFF;
    const UIRect rc = m_focus->GetFocusRect();
    const int round = m_focus->GetBorderRound();
    if (round > 0) {
        list.RoundRect(rc.Inflate(3 * w), m_manager.ScaleValue(round) + 3 * w, 0, outer, 2 * w,
                       clip);
        list.RoundRect(rc.Inflate(w), m_manager.ScaleValue(round) + w, 0, inner, w, clip);
    } else {
        list.FrameRect(rc.Inflate(3 * w), outer, 2 * w, clip);
        list.FrameRect(rc.Inflate(w), inner, w, clip);
    }
}

}  // namespace DuiLib
