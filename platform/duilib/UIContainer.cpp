// CContainerUI and the two layouts: ownership of children, stacking layout,
// floating children, vertical scrolling, hit-testing and painting of the subtree.
#include <algorithm>
#include <string_view>

#include "duilib/UIAttributes.h"
#include "duilib/UIControls.h"
#include "duilib/UIManager.h"

namespace DuiLib {

namespace {

int Clamp(int value, int minimum, int maximum) {
    value = std::max(value, minimum);
    return maximum > 0 ? std::min(value, std::max(maximum, minimum)) : value;
}

// Along the stacking axis: the length of each child, fixed ones first, then the
// free space shared by the flexible ones within their min/max.
struct AxisItem {
    int fixed = 0, minimum = 0, maximum = 0, before = 0, after = 0;
    int length = 0;
    bool settled = false;
};

void ShareSpace(std::vector<AxisItem>& items, int available) {
    int free = available;
    int flexible = 0;
    for (AxisItem& it : items) {
        free -= it.before + it.after;
        if (it.fixed > 0) {
            it.length = Clamp(it.fixed, it.minimum, it.maximum);
            it.settled = true;
            free -= it.length;
        } else {
            ++flexible;
        }
    }
    // A flexible item whose share breaks its min/max takes that limit; repeat
    // until every remaining share fits.
    for (bool changed = true; changed && flexible > 0;) {
        changed = false;
        int share = std::max(0, free) / flexible;
        for (AxisItem& it : items) {
            if (it.settled) continue;
            int limited = Clamp(share, it.minimum, it.maximum);
            if (limited != share) {
                it.length = limited;
                it.settled = true;
                free -= limited;
                --flexible;
                changed = true;
            }
        }
    }
    if (flexible == 0) return;
    int rest = std::max(0, free);
    int share = rest / flexible;
    int extra = rest - share * flexible;  // the last flexible child takes the remainder
    for (AxisItem& it : items) {
        if (it.settled) continue;
        it.length = share + (--flexible == 0 ? extra : 0);
    }
}

AxisItem AxisOf(const CControlUI* child, const CControlUI& box, bool horizontal) {
    UIRect pad = child->GetPadding();
    AxisItem it;
    it.fixed = horizontal ? child->GetScaledFixedWidth() : child->GetScaledFixedHeight();
    it.minimum = box.Scale(horizontal ? child->GetMinWidth() : child->GetMinHeight());
    it.maximum = box.Scale(horizontal ? child->GetMaxWidth() : child->GetMaxHeight());
    it.before = box.Scale(horizontal ? pad.left : pad.top);
    it.after = box.Scale(horizontal ? pad.right : pad.bottom);
    return it;
}

// Across the stacking axis: the fixed size from the start of the inner area
// (after the padding), else all of it.
UIRect PlaceAcross(const CControlUI* child, const CControlUI& box, bool horizontal,
                   const UIRect& inner, int start, int length) {
    UIRect pad = child->GetPadding();
    int fixed = horizontal ? child->GetScaledFixedHeight() : child->GetScaledFixedWidth();
    int room = horizontal ? inner.Height() - box.Scale(pad.top) - box.Scale(pad.bottom)
                          : inner.Width() - box.Scale(pad.left) - box.Scale(pad.right);
    int across = fixed > 0 ? fixed : std::max(0, room);
    if (horizontal) {
        across = Clamp(across, box.Scale(child->GetMinHeight()), box.Scale(child->GetMaxHeight()));
        int top = inner.top + box.Scale(pad.top);
        return UIRect{start, top, start + length, top + across};
    }
    across = Clamp(across, box.Scale(child->GetMinWidth()), box.Scale(child->GetMaxWidth()));
    int left = inner.left + box.Scale(pad.left);
    return UIRect{left, start, left + across, start + length};
}

}  // namespace

CContainerUI::~CContainerUI() {
    for (CControlUI* child : m_items) delete child;
}

LPCTSTR CContainerUI::GetClass() const {
    return L"ContainerUI";
}
LPCTSTR CVerticalLayoutUI::GetClass() const {
    return L"VerticalLayoutUI";
}
LPCTSTR CHorizontalLayoutUI::GetClass() const {
    return L"HorizontalLayoutUI";
}

bool CContainerUI::ApplyAttribute(LPCTSTR name, LPCTSTR value) {
    // No copies of the name: most attributes are not a container's and go to the base.
    const std::wstring_view n = name ? name : L"";
    const wchar_t* v = value ? value : L"";
    UIRect r;
    int i = 0;
    bool b = false;
    if (n == L"inset") {
        if (Attr::ParseRect(v, r)) SetInset(r);
    } else if (n == L"childpadding") {
        if (Attr::ParseInt(v, i)) SetChildPadding(i);
    } else if (n == L"vscrollbar") {
        if (Attr::ParseBool(v, b)) EnableScrollBar(b);
    } else {
        return CControlUI::ApplyAttribute(name, value);
    }
    return true;
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return nullptr;
    return m_items[index];
}

int CContainerUI::GetCount() const {
    return static_cast<int>(m_items.size());
}

bool CContainerUI::Add(CControlUI* control) {
    if (!control) return false;
    if (std::find(m_items.begin(), m_items.end(), control) != m_items.end()) return false;
    m_items.push_back(control);
    control->m_indexHint = static_cast<int>(m_items.size()) - 1;
    control->SetManager(m_manager, this);
    NeedUpdate();
    if (m_manager) m_manager->ReportChange(this, UIChange::Children);
    return true;
}

int CContainerUI::IndexOf(const CControlUI* child) const {
    if (!child) return -1;
    const int count = static_cast<int>(m_items.size());
    // Where it was last seen, or one before (an earlier child was removed).
    for (int at : {child->m_indexHint, child->m_indexHint - 1}) {
        if (at >= 0 && at < count && m_items[at] == child) {
            child->m_indexHint = at;
            return at;
        }
    }
    auto it = std::find(m_items.begin(), m_items.end(), child);
    if (it == m_items.end()) return -1;
    child->m_indexHint = static_cast<int>(it - m_items.begin());
    return child->m_indexHint;
}

bool CContainerUI::IsFocusable() const {
    return GetAccessibleInfo().role == UIRole::ListItem;
}

bool CContainerUI::Remove(CControlUI* control) {
    auto it = std::find(m_items.begin(), m_items.end(), control);
    if (it == m_items.end()) return false;
    if (m_manager) m_manager->OnRemovingControl(control);  // its handlers may change the tree
    it = std::find(m_items.begin(), m_items.end(), control);
    if (it == m_items.end()) return false;
    m_items.erase(it);
    m_stacked.clear();  // the coming layout indexes the children again
    m_floating.clear();
    delete control;
    NeedUpdate();
    if (m_manager) m_manager->ReportChange(this, UIChange::Children);
    return true;
}

void CContainerUI::RemoveAll() {
    // A focus on a child moves past this container (handlers may change the tree).
    if (m_manager && !m_items.empty()) m_manager->OnRemovingControl(this);
    std::vector<CControlUI*> items;
    items.swap(m_items);
    m_stacked.clear();
    m_floating.clear();
    for (CControlUI* child : items) delete child;
    m_scrollPos = 0;
    NeedUpdate();
    if (m_manager && !items.empty()) m_manager->ReportChange(this, UIChange::Children);
}

CControlUI* CContainerUI::FindSubControl(LPCTSTR name) {
    for (CControlUI* child : m_items) {
        if (CControlUI* found = child->FindControlByName(name)) return found;
    }
    return nullptr;
}

CControlUI* CContainerUI::FindControlByName(LPCTSTR name) {
    if (CControlUI* self = CControlUI::FindControlByName(name)) return self;
    return FindSubControl(name);
}

void CContainerUI::SetInset(const UIRect& inset) {
    m_inset = inset;
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding) {
    m_childPadding = std::max(0, padding);
    NeedUpdate();
}

void CContainerUI::EnableScrollBar(bool vertical) {
    m_vscroll = vertical;
    NeedUpdate();
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    CControlUI::SetManager(manager, parent);
    for (CControlUI* child : m_items) child->SetManager(manager, this);
}

UIRect CContainerUI::InnerRect() const {
    UIRect rc = m_pos;
    rc.left += Scale(m_inset.left);
    rc.top += Scale(m_inset.top);
    rc.right -= Scale(m_inset.right);
    rc.bottom -= Scale(m_inset.bottom);
    // An inset larger than the container leaves an empty area, never a negative one.
    rc.right = std::max(rc.left, rc.right);
    rc.bottom = std::max(rc.top, rc.bottom);
    return rc;
}

void CContainerUI::PlaceFloat(CControlUI* child) {
    UIRect p = child->GetFloatPos();
    UIRect rc;
    rc.left = m_pos.left + Scale(p.left);
    rc.top = m_pos.top + Scale(p.top);
    rc.right =
        p.right > p.left ? m_pos.left + Scale(p.right) : rc.left + child->GetScaledFixedWidth();
    rc.bottom =
        p.bottom > p.top ? m_pos.top + Scale(p.bottom) : rc.top + child->GetScaledFixedHeight();
    child->SetPos(rc);
}

void CContainerUI::SetPos(const UIRect& rc) {
    const UIRect frame = m_frame;
    const bool moveOnly = m_manager && m_layoutPass == m_manager->GetLayoutPass() &&
                          rc.Width() == frame.Width() && rc.Height() == frame.Height();
    CControlUI::SetPos(rc);
    if (moveOnly) {
        MoveChildren(rc.left - frame.left, rc.top - frame.top, 0);
        return;
    }
    if (m_manager) m_layoutPass = m_manager->GetLayoutPass();
    LayoutChildren();
}

bool CContainerUI::MarkStale() {
    const bool wasCurrent = m_layoutPass != 0;
    m_layoutPass = 0;
    return wasCurrent;
}

void CContainerUI::LayoutAgain() {
    // Also hidden, or inside an ancestor placed out of view: the container's
    // m_pos and the children's new places are in one frame, which GetPos()
    // shifts alike, and whatever shows it or brings it into view moves them
    // along without laying them out again.
    if (m_layoutPass == 0 && m_manager) SetPos(m_pos);
}

UIRect CContainerUI::ViewRegion() const {
    UIRect region = m_pos;
    for (const CControlUI* p = m_parent; p; p = p->m_parent) {
        if (p->m_pos != p->m_frame) return UIRect{};
        region = IntersectRect(region, p->m_pos);
    }
    return region;
}

void CContainerUI::MoveChildren(int dx, int dy, int stackedDy) {
    const UIRect view = ViewRegion();
    // Every shown child keeps an exact rectangle (the index below relies on it);
    // only those that can be seen are laid out again.
    for (CControlUI* child : m_items) {
        if (!child->m_visible) continue;
        const UIRect rc = child->m_pos.Offset(dx, dy + (child->m_float ? 0 : stackedDy));
        const bool seen = rc.left < view.right && rc.right > view.left && rc.top < view.bottom &&
                          rc.bottom > view.top && rc.right > rc.left && rc.bottom > rc.top;
        if (seen) {
            child->SetPos(rc);
        } else {
            child->PlaceOutOfView(rc);
        }
    }
}

bool CContainerUI::IndexHolds() const {
    return m_manager && !m_manager->NeedsLayout() && m_layoutPass == m_manager->GetLayoutPass();
}

std::vector<CControlUI*> CContainerUI::ChildrenMeeting(const UIRect& area) const {
    std::vector<CControlUI*> found;
    if (!IndexHolds()) {
        for (CControlUI* child : m_items) {
            if (child->m_visible) found.push_back(child);
        }
        return found;
    }
    // The stacked children follow each other along the axis: a binary search
    // finds the run of them that can meet the area.
    const bool across = m_horizontal;
    const int from = across ? area.left : area.top;
    const int to = across ? area.right : area.bottom;
    auto firstMeeting =
        std::partition_point(m_stacked.begin(), m_stacked.end(), [&](const Slot& s) {
            return (across ? s.child->m_pos.right : s.child->m_pos.bottom) <= from;
        });
    auto pastMeeting = std::partition_point(firstMeeting, m_stacked.end(), [&](const Slot& s) {
        return (across ? s.child->m_pos.left : s.child->m_pos.top) < to;
    });
    // Floating children where they sit in the tree order.
    auto floating = m_floating.begin();
    for (auto it = firstMeeting; it != pastMeeting; ++it) {
        for (; floating != m_floating.end() && floating->index < it->index; ++floating) {
            found.push_back(floating->child);
        }
        found.push_back(it->child);
    }
    for (; floating != m_floating.end(); ++floating) found.push_back(floating->child);
    return found;
}

void CContainerUI::LayoutChildren() {
    if (m_manager) m_manager->OnContainerLaidOut();
    const UIRect inner = InnerRect();
    std::vector<CControlUI*> stacked;
    std::vector<AxisItem> axis;
    m_stacked.clear();
    m_floating.clear();
    for (size_t i = 0; i < m_items.size(); ++i) {
        CControlUI* child = m_items[i];
        if (!child->IsVisible()) continue;
        if (child->IsFloat()) {
            PlaceFloat(child);
            m_floating.push_back(Slot{i, child});
            continue;
        }
        stacked.push_back(child);
        m_stacked.push_back(Slot{i, child});
        axis.push_back(AxisOf(child, *this, m_horizontal));
    }
    const int gap = Scale(m_childPadding);
    const int gaps = stacked.empty() ? 0 : gap * static_cast<int>(stacked.size() - 1);
    ShareSpace(axis, (m_horizontal ? inner.Width() : inner.Height()) - gaps);

    int content = gaps;
    for (const AxisItem& it : axis) content += it.before + it.length + it.after;
    bool scrolls = m_vscroll && !m_horizontal;
    m_scrollRange = scrolls ? std::max(0, content - inner.Height()) : 0;
    m_scrollPos = std::min(m_scrollPos, m_scrollRange);

    int cursor = m_horizontal ? inner.left : inner.top - m_scrollPos;
    for (size_t i = 0; i < stacked.size(); ++i) {
        cursor += axis[i].before;
        stacked[i]->SetPos(
            PlaceAcross(stacked[i], *this, m_horizontal, inner, cursor, axis[i].length));
        cursor += axis[i].length + axis[i].after + gap;
    }
}

CControlUI* CContainerUI::FindControlAt(int x, int y) {
    if (!IsVisible() || !m_pos.Contains(x, y)) return nullptr;
    if (GetScrollTrackRect().Contains(x, y)) return this;
    const std::vector<CControlUI*> children = ChildrenMeeting(UIRect{x, y, x + 1, y + 1});
    for (auto it = children.rbegin(); it != children.rend(); ++it) {  // the topmost first
        if (CControlUI* found = (*it)->FindControlAt(x, y)) return found;
    }
    return IsMouseEnabled() ? this : nullptr;
}

void CContainerUI::DoPaint(CRenderList& list, const UIRect& clip) {
    if (!IsVisible()) return;
    UIRect visible = IntersectRect(clip, m_pos);
    if (IsRectEmpty(visible)) return;
    PaintBackground(list, visible);
    for (CControlUI* child : ChildrenMeeting(visible)) child->DoPaint(list, visible);
    PaintScrollBar(list, visible);
    PaintBorder(list, visible);
}

}  // namespace DuiLib
