// CControlUI: state, attributes, geometry, events and painting of every control.
#include "duilib/UIControl.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "duilib/UIAccessible.h"
#include "duilib/UIAttributes.h"
#include "duilib/UICulture.h"
#include "duilib/UIManager.h"
#include "duilib/UIRender.h"
#include "support/KtLogger.h"

namespace DuiLib {

namespace {

// A layout text that is an "IDS_" key shows the key's text.
CDuiString ShownText(LPCTSTR value) {
    std::wstring text = value ? value : L"";
    if (text.rfind(L"IDS_", 0) == 0) return UICulture::GetInstance()->GetString(text);
    return CDuiString(text);
}

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (m_manager) m_manager->ReapControl(this);
}

LPCTSTR CControlUI::GetClass() const {
    return L"ControlUI";
}

CDuiString CControlUI::GetName() const {
    return m_name;
}
void CControlUI::SetName(LPCTSTR name) {
    m_name = CDuiString(name);  // an identifier, not what a screen reader says
}
CDuiString CControlUI::GetText() const {
    return m_text;
}

void CControlUI::SetText(LPCTSTR text) {
    CDuiString newText(text);
    if (newText == m_text) return;
    // A text that only shows text is an element while it has some: it appears
    // to a screen reader with its first text and goes with its last.
    const bool wasElement = m_manager && Accessible::IsElement(this);
    m_text = newText;
    Invalidate();
    if (!m_manager) return;
    const bool isElement = Accessible::IsElement(this);
    if (wasElement != isElement) {
        m_manager->ReportChange(this, isElement ? UIChange::Shown : UIChange::Hidden);
        return;
    }
    // A name set on its own stays the name: the text is then no news to a screen reader.
    if (m_accessible.name.IsEmpty()) m_manager->ReportChange(this, UIChange::Name);
}

bool CControlUI::IsVisible() const {
    return m_visible;
}

void CControlUI::SetVisible(bool visible) {
    if (m_visible == visible) return;
    m_visible = visible;
    NeedParentUpdate();
    if (m_manager) m_manager->ReportChange(this, visible ? UIChange::Shown : UIChange::Hidden);
}

bool CControlUI::IsEnabled() const {
    return m_enabled;
}

void CControlUI::SetEnabled(bool enable) {
    if (m_enabled == enable) return;
    m_enabled = enable;
    if (!enable) m_pushed = false;
    Invalidate();
    if (m_manager) m_manager->ReportChange(this, UIChange::State);
}

void CControlUI::SetAccessibleRole(UIRole role) {
    m_accessible.role = role;
}

void CControlUI::SetAccessibleName(LPCTSTR name) {
    m_accessible.name = CDuiString(name);
    if (m_manager) m_manager->ReportChange(this, UIChange::Name);
}

void CControlUI::SetAccessibleNameSuffix(LPCTSTR suffix) {
    m_accessible.nameSuffix = CDuiString(suffix);
    if (m_manager) m_manager->ReportChange(this, UIChange::Name);
}

void CControlUI::SetAccessibleDescription(LPCTSTR description) {
    m_accessible.description = CDuiString(description);
}

void CControlUI::SetSeparator(bool separator) {
    if (m_separator == separator) return;
    m_separator = separator;
    Invalidate();
}

bool CControlUI::HasFocus() const {
    return m_manager && m_manager->GetFocus() == this;
}

void CControlUI::SetAttribute(LPCTSTR name, LPCTSTR value) {
    if (!ApplyAttribute(name, value)) {
        KT_LOG(LOG_ERROR, "unknown attribute:" << (name ? name : L""), "CControlUI::SetAttribute");
    }
}

int CControlUI::GetFixedWidth() const {
    return m_fixedWidth;
}

void CControlUI::SetFixedWidth(int width) {
    m_fixedWidth = std::max(0, width);
    m_fixedWidthIsLayout = false;
    NeedParentUpdate();
}

void CControlUI::SetLayoutFixedWidth(int unscaledWidth) {
    SetFixedWidth(unscaledWidth);
    m_fixedWidthIsLayout = true;
}

int CControlUI::GetScaledFixedWidth() const {
    return m_fixedWidthIsLayout ? Scale(m_fixedWidth) : m_fixedWidth;
}

int CControlUI::GetFixedHeight() const {
    return m_fixedHeight;
}

void CControlUI::SetFixedHeight(int height) {
    m_fixedHeight = std::max(0, height);
    m_fixedHeightIsLayout = false;
    m_fixedHeightRepeat = 1;
    NeedParentUpdate();
}

void CControlUI::SetLayoutFixedHeight(int unscaledHeight, int repeat) {
    repeat = std::max(1, repeat);
    SetFixedHeight(std::max(0, unscaledHeight) * repeat);
    m_fixedHeightIsLayout = true;
    m_fixedHeightRepeat = repeat;
}

int CControlUI::GetScaledFixedHeight() const {
    if (!m_fixedHeightIsLayout) return m_fixedHeight;
    // Each part rounds on its own, as the parts a box holds do.
    return m_fixedHeightRepeat * Scale(m_fixedHeight / m_fixedHeightRepeat);
}

bool CControlUI::IsFloat() const {
    return m_float;
}
UIRect CControlUI::GetFloatPos() const {
    return m_floatPos;
}

void CControlUI::SetFloatPos(const UIRect& pos) {
    m_floatPos = pos;
    m_float = true;
    NeedParentUpdate();
}

void CControlUI::SetFloat(bool isFloat) {
    m_float = isFloat;
    NeedParentUpdate();
}

uint32_t CControlUI::GetBkColor() const {
    return m_bkColor;
}

void CControlUI::SetBkColor(uint32_t argb) {
    m_bkColor = argb;
    Invalidate();
}

uint32_t CControlUI::GetDisabledBkColor() const {
    return m_disabledBkColor;
}

void CControlUI::SetDisabledBkColor(uint32_t argb) {
    m_disabledBkColor = argb;
    Invalidate();
}

void CControlUI::SetHotBkColor(uint32_t argb) {
    m_hotBkColor = argb;
    Invalidate();
}

void CControlUI::SetPushedBkColor(uint32_t argb) {
    m_pushedBkColor = argb;
    Invalidate();
}

void CControlUI::SetBorderColor(uint32_t argb) {
    m_borderColor = argb;
    Invalidate();
}

void CControlUI::SetBorderSize(int size) {
    m_borderSize = std::max(0, size);
    Invalidate();
}

void CControlUI::SetBorderRound(int radius) {
    m_borderRound = std::max(0, radius);
    Invalidate();
}

CDuiString CControlUI::GetToolTip() const {
    return m_toolTip;
}
void CControlUI::SetToolTip(LPCTSTR text) {
    m_toolTip = CDuiString(text);
}
UIRect CControlUI::GetPadding() const {
    return m_padding;
}

void CControlUI::SetPadding(const UIRect& padding) {
    m_padding = padding;
    NeedParentUpdate();
}

int CControlUI::GetMinWidth() const {
    return m_minWidth;
}
int CControlUI::GetMaxWidth() const {
    return m_maxWidth;
}
int CControlUI::GetMinHeight() const {
    return m_minHeight;
}
int CControlUI::GetMaxHeight() const {
    return m_maxHeight;
}

void CControlUI::SetMinWidth(int width) {
    m_minWidth = std::max(0, width);
    NeedParentUpdate();
}

void CControlUI::SetMaxWidth(int width) {
    m_maxWidth = std::max(0, width);
    NeedParentUpdate();
}

void CControlUI::SetMinHeight(int height) {
    m_minHeight = std::max(0, height);
    NeedParentUpdate();
}

void CControlUI::SetMaxHeight(int height) {
    m_maxHeight = std::max(0, height);
    NeedParentUpdate();
}

bool CControlUI::IsMouseEnabled() const {
    return m_mouseEnabled;
}
void CControlUI::SetMouseEnabled(bool enable) {
    m_mouseEnabled = enable;
}

CControlUI* CControlUI::GetParent() const {
    return m_parent;
}
CPaintManagerUI* CControlUI::GetManager() const {
    return m_manager;
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    if (m_manager && m_manager != manager) m_manager->ReapControl(this);
    m_manager = manager;
    m_parent = parent;
}

UIRect CControlUI::GetPos() const {
    int dx = 0, dy = 0;
    for (const CControlUI* p = m_parent; p; p = p->m_parent) {
        dx += p->m_pos.left - p->m_frame.left;
        dy += p->m_pos.top - p->m_frame.top;
    }
    return m_pos.Offset(dx, dy);
}

void CControlUI::SetPos(const UIRect& rc) {
    m_pos = rc;
    m_frame = rc;
}

UISize CControlUI::EstimateSize(UISize available) {
    return UISize{GetScaledFixedWidth(), GetScaledFixedHeight()};
}

UIRect CControlUI::GetVisibleRect() const {
    // Each ancestor's exact rectangle is its m_pos moved by the shifts above it.
    int dx = 0, dy = 0;
    for (const CControlUI* p = m_parent; p; p = p->m_parent) {
        dx += p->m_pos.left - p->m_frame.left;
        dy += p->m_pos.top - p->m_frame.top;
    }
    UIRect rc = m_pos.Offset(dx, dy);
    for (const CControlUI* p = m_parent; p; p = p->m_parent) {
        dx -= p->m_pos.left - p->m_frame.left;
        dy -= p->m_pos.top - p->m_frame.top;
        rc = IntersectRect(rc, p->m_pos.Offset(dx, dy));
    }
    return rc;
}

UIRect CControlUI::GetFocusRect() const {
    return GetPos();
}

int CControlUI::Scale(int unscaled) const {
    return m_manager ? m_manager->ScaleValue(unscaled) : unscaled;
}

void CControlUI::Invalidate() {
    if (m_manager) m_manager->Invalidate();
}

void CControlUI::NeedUpdate() {
    if (m_manager) m_manager->SetNeedsLayout(this);
}

void CControlUI::NeedParentUpdate() {
    if (m_parent) {
        m_parent->NeedUpdate();
    } else {
        NeedUpdate();
    }
}

bool CControlUI::IsEnabledInTree() const {
    for (const CControlUI* c = this; c; c = c->m_parent) {
        if (!c->m_enabled) return false;
    }
    return true;
}

bool CControlUI::IsVisibleInTree() const {
    for (const CControlUI* c = this; c; c = c->m_parent) {
        if (!c->m_visible) return false;
    }
    return true;
}

bool CControlUI::IsInside(const CControlUI* ancestor) const {
    for (const CControlUI* c = this; c; c = c->m_parent) {
        if (c == ancestor) return true;
    }
    return false;
}

bool CControlUI::IsInteractiveAt(int x, int y) const {
    return false;
}

bool CControlUI::CaresWhenPointerLeaves() const {
    return m_hotBkColor != 0 || !m_toolTip.IsEmpty();
}

void CControlUI::Notify(LPCTSTR type, WPARAM wParam, LPARAM lParam) {
    if (m_manager) m_manager->SendNotify(this, type, wParam, lParam);
}

void CControlUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_MOUSEENTER:
            m_hot = true;
            Invalidate();
            if (IsEnabledInTree()) Notify(L"mouseenter");
            break;
        case UIEVENT_MOUSELEAVE:
            m_hot = false;
            Invalidate();
            if (IsEnabledInTree()) Notify(L"mouseleave");
            break;
        case UIEVENT_SCROLLWHEEL:
            if (m_parent) m_parent->DoEvent(event);
            break;
        case UIEVENT_SETFOCUS:
            Notify(L"setfocus");
            break;
        case UIEVENT_KILLFOCUS:
            Notify(L"killfocus");
            break;
        default:
            break;
    }
}

CControlUI* CControlUI::FindControlAt(int x, int y) {
    if (!m_visible || !m_pos.Contains(x, y)) return nullptr;
    return m_mouseEnabled ? this : nullptr;
}

CControlUI* CControlUI::FindControlByName(LPCTSTR name) {
    return (name && m_name == name) ? this : nullptr;
}

void CControlUI::DoPaint(CRenderList& list, const UIRect& clip) {
    if (!m_visible) return;
    UIRect visible = IntersectRect(clip, m_pos);
    if (IsRectEmpty(visible)) return;
    PaintBackground(list, visible);
    PaintContent(list, visible);
    PaintBorder(list, visible);
}

void CControlUI::PaintBackground(CRenderList& list, const UIRect& clip) {
    uint32_t color = m_bkColor;
    if (!IsEnabledInTree()) {
        if (m_disabledBkColor) color = m_disabledBkColor;
    } else if (m_pushed && m_pushedBkColor) {
        color = m_pushedBkColor;
    } else if (m_hot && m_hotBkColor) {
        color = m_hotBkColor;
    }
    const UIColorRole role = ShowsHotInHighContrast() ? UIColorRole::HotFace : FaceRole();
    color = UIColors::Resolve(color, role);
    if ((color >> 24) == 0) return;
    if (m_borderRound > 0) {
        list.RoundRect(m_pos, Scale(m_borderRound), color, 0, 0, clip);
    } else {
        list.FillRect(m_pos, color, clip);
    }
}

bool CControlUI::ShowsHotInHighContrast() const {
    return UIColors::IsHighContrast() && FaceRole() == UIColorRole::ButtonFace &&
           (m_hot || m_pushed) && IsEnabledInTree();
}

void CControlUI::PaintBorder(CRenderList& list, const UIRect& clip) {
    int size = m_borderSize;
    uint32_t color = m_borderColor;
    // In high contrast a button shows its edge, as the system's buttons do.
    if (UIColors::IsHighContrast() && FaceRole() == UIColorRole::ButtonFace) {
        size = std::max(size, 1);
        color = 0xFF000000;
    }
    if (size <= 0 || (color >> 24) == 0) return;
    color = UIColors::Resolve(color, TextRole());
    int width = std::max(1, Scale(size));
    if (m_borderRound > 0) {
        list.RoundRect(m_pos, Scale(m_borderRound), 0, color, width, clip);
    } else {
        list.FrameRect(m_pos, color, width, clip);
    }
}

namespace {

// Each setter parses its value and leaves the control alone when it does not parse.
using Setter = void (*)(CControlUI&, const std::wstring&);

#define DUI_SETTER(parse, type, call)          \
    [](CControlUI& c, const std::wstring& v) { \
        type x{};                              \
        if (parse(v, x)) c.call(x);            \
    }

const std::map<std::wstring, Setter, std::less<>>& ControlSetters() {
    static const std::map<std::wstring, Setter, std::less<>> setters = {
        {L"name", [](CControlUI& c, const std::wstring& v) { c.SetName(v.c_str()); }},
        {L"text", [](CControlUI& c, const std::wstring& v) { c.SetText(ShownText(v.c_str())); }},
        {L"tooltip",
         [](CControlUI& c, const std::wstring& v) { c.SetToolTip(ShownText(v.c_str())); }},
        {L"accrole", DUI_SETTER(ParseAccessibleRole, UIRole, SetAccessibleRole)},
        {L"accname",
         [](CControlUI& c, const std::wstring& v) { c.SetAccessibleName(ShownText(v.c_str())); }},
        {L"accdescription",
         [](CControlUI& c, const std::wstring& v) {
             c.SetAccessibleDescription(ShownText(v.c_str()));
         }},
        {L"separator", DUI_SETTER(Attr::ParseBool, bool, SetSeparator)},
        {L"visible", DUI_SETTER(Attr::ParseBool, bool, SetVisible)},
        {L"enabled", DUI_SETTER(Attr::ParseBool, bool, SetEnabled)},
        {L"mouse", DUI_SETTER(Attr::ParseBool, bool, SetMouseEnabled)},
        {L"width", DUI_SETTER(Attr::ParseInt, int, SetLayoutFixedWidth)},
        {L"height", DUI_SETTER(Attr::ParseInt, int, SetLayoutFixedHeight)},
        {L"minwidth", DUI_SETTER(Attr::ParseInt, int, SetMinWidth)},
        {L"minheight", DUI_SETTER(Attr::ParseInt, int, SetMinHeight)},
        {L"maxwidth", DUI_SETTER(Attr::ParseInt, int, SetMaxWidth)},
        {L"maxheight", DUI_SETTER(Attr::ParseInt, int, SetMaxHeight)},
        {L"float", DUI_SETTER(Attr::ParseBool, bool, SetFloat)},
        {L"pos", DUI_SETTER(Attr::ParseRect, UIRect, SetFloatPos)},
        {L"padding", DUI_SETTER(Attr::ParseRect, UIRect, SetPadding)},
        {L"bkcolor", DUI_SETTER(Attr::ParseColor, uint32_t, SetBkColor)},
        {L"disabledbkcolor", DUI_SETTER(Attr::ParseColor, uint32_t, SetDisabledBkColor)},
        {L"hotbkcolor", DUI_SETTER(Attr::ParseColor, uint32_t, SetHotBkColor)},
        {L"pushedbkcolor", DUI_SETTER(Attr::ParseColor, uint32_t, SetPushedBkColor)},
        {L"bordercolor", DUI_SETTER(Attr::ParseColor, uint32_t, SetBorderColor)},
        {L"bordersize", DUI_SETTER(Attr::ParseInt, int, SetBorderSize)},
        {L"borderround", DUI_SETTER(Attr::ParseInt, int, SetBorderRound)},
    };
    return setters;
}

#undef DUI_SETTER

}  // namespace

bool CControlUI::ApplyAttribute(LPCTSTR name, LPCTSTR value) {
    auto it = ControlSetters().find(std::wstring_view(name ? name : L""));  // no copy of the name
    if (it == ControlSetters().end()) return false;
    it->second(*this, value ? value : L"");
    return true;
}

}  // namespace DuiLib
