// CContainerUI's vertical scrolling: the offset, the wheel, the bar (track and
// thumb: hit-testing, paging, dragging, painting).
#include <algorithm>

#include "duilib/UIBackend.h"
#include "duilib/UIControls.h"
#include "duilib/UIManager.h"

namespace DuiLib {

namespace {

// A wheel "line", unscaled pixels: three lines a notch (the system's default)
// scroll 48 px.
constexpr int kWheelLine = 16;
// The strip along the right edge that takes the bar's presses, unscaled.
constexpr int kTrackWidth = 12;
constexpr int kMinThumb = 16;

}  // namespace

void CContainerUI::SetScrollPos(int pos) {
    const int clamped = std::max(0, std::min(pos, m_scrollRange));
    if (clamped == m_scrollPos) return;
    const int moved = m_scrollPos - clamped;
    m_scrollPos = clamped;
    if (!m_manager) {
        SetPos(m_pos);  // no manager (tools, tests): lay out again
    } else if (!m_manager->NeedsLayout() && m_layoutPass == m_manager->GetLayoutPass()) {
        const UIRect frame = m_frame;
        m_frame = m_pos;
        MoveChildren(m_pos.left - frame.left, m_pos.top - frame.top, moved);
    } else {
        NeedUpdate();  // the coming layout places the children at the new offset
    }
    Invalidate();
    if (m_manager) m_manager->ReportChange(this, UIChange::Location);
}

int CContainerUI::GetScrollPage() const {
    return std::max(1, InnerRect().Height());
}

UIRect CContainerUI::GetViewRect() const {
    const UIRect pos = GetPos();
    return InnerRect().Offset(pos.left - m_pos.left, pos.top - m_pos.top);
}

UIRect CContainerUI::GetScrollTrackRect() const {
    if (m_scrollRange <= 0) return UIRect{};
    const UIRect inner = InnerRect();
    return UIRect{m_pos.right - Scale(kTrackWidth), inner.top, m_pos.right, inner.bottom};
}

UIRect CContainerUI::GetScrollThumbRect() const {
    if (m_scrollRange <= 0) return UIRect{};
    const UIRect inner = InnerRect();
    const long long view = inner.Height();
    const long long content = view + m_scrollRange;
    if (view <= 0 || content <= 0) return UIRect{};
    const int thumb = static_cast<int>(
        std::min(view, std::max<long long>(Scale(kMinThumb), view * view / content)));
    const int top = inner.top + static_cast<int>((view - thumb) * m_scrollPos / m_scrollRange);
    // Wider while the mouse is over the track or holds the thumb.
    const int width = (m_barHot || m_dragging) ? std::max(4, Scale(8)) : std::max(2, Scale(4));
    return UIRect{m_pos.right - width - Scale(2), top, m_pos.right - Scale(2), top + thumb};
}

void CContainerUI::ScrollByWheel(int delta) {
    const unsigned lines = Backend::WheelScrollLines();
    if (lines == 0 || delta == 0 || m_scrollRange <= 0) return;
    const long long step = lines == Backend::kWheelPageScroll
                               ? GetScrollPage()
                               : static_cast<long long>(lines) * Scale(kWheelLine);
    // A touchpad sends small steps: they add up until they make pixels.
    if (m_wheelRest != 0 && (m_wheelRest < 0) != (delta < 0)) m_wheelRest = 0;
    const long long total = m_wheelRest + static_cast<long long>(delta) * step;
    m_wheelRest = static_cast<int>(total % 120);
    // Any number of lines a notch (the setting is the user's): at most the whole range.
    const long long by =
        std::max<long long>(-m_scrollRange, std::min<long long>(m_scrollRange, total / 120));
    SetScrollPos(m_scrollPos - static_cast<int>(by));
}

bool CContainerUI::IsInteractiveAt(int x, int y) const {
    return GetScrollTrackRect().Contains(x, y);
}

bool CContainerUI::CaresWhenPointerLeaves() const {
    return m_barHot || CControlUI::CaresWhenPointerLeaves();
}

void CContainerUI::PressScrollBar(int y) {
    const UIRect thumb = GetScrollThumbRect();
    if (y < thumb.top) {
        SetScrollPos(m_scrollPos - GetScrollPage());
    } else if (y >= thumb.bottom) {
        SetScrollPos(m_scrollPos + GetScrollPage());
    } else {
        m_dragging = true;
        m_dragGrab = y - thumb.top;
        Invalidate();
    }
}

void CContainerUI::DragScrollThumb(int y) {
    const UIRect inner = InnerRect();
    const UIRect thumb = GetScrollThumbRect();
    const long long travel = inner.Height() - thumb.Height();
    if (travel <= 0) return;
    const long long top = std::max(0, std::min<int>(y - m_dragGrab - inner.top, travel));
    SetScrollPos(static_cast<int>((top * m_scrollRange + travel / 2) / travel));
}

void CContainerUI::SetScrollBarHot(bool hot) {
    if (hot == m_barHot) return;
    m_barHot = hot;
    Invalidate();
}

void CContainerUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_SCROLLWHEEL:
            if (m_scrollRange > 0) {
                ScrollByWheel(static_cast<int>(static_cast<LPARAM>(event.wParam)));
                return;
            }
            break;
        case UIEVENT_BUTTONDOWN:
            if (GetScrollTrackRect().Contains(event.x, event.y)) {
                PressScrollBar(event.y);
                return;
            }
            break;
        case UIEVENT_MOUSEMOVE:
            if (m_dragging) {
                DragScrollThumb(event.y);
                return;
            }
            SetScrollBarHot(GetScrollTrackRect().Contains(event.x, event.y));
            break;
        case UIEVENT_BUTTONUP:
            if (m_dragging) {
                m_dragging = false;
                SetScrollBarHot(GetScrollTrackRect().Contains(event.x, event.y));
                Invalidate();
                return;
            }
            break;
        case UIEVENT_MOUSELEAVE:
            SetScrollBarHot(false);
            break;
        default:
            break;
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::PaintScrollBar(CRenderList& list, const UIRect& clip) {
    if (m_scrollRange <= 0) return;
    if (m_barHot || m_dragging) {
        const uint32_t track = UIColors::Resolve(0x0F000000, UIColorRole::Window);
        if (track) list.FillRect(GetScrollTrackRect(), track, clip);
    }
    const UIRect thumb = GetScrollThumbRect();
    const uint32_t color =
        UIColors::Resolve(m_dragging ? 0x99000000 : 0x66000000, UIColorRole::WindowText);
    list.RoundRect(thumb, thumb.Width() / 2, color, 0, 0, clip);
}

}  // namespace DuiLib
