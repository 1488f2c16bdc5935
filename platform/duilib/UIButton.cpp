// CButtonUI: a label that raises "click" when pressed and released over it.
#include <cwchar>

#include "duilib/UIAttributes.h"
#include "duilib/UIControls.h"

namespace DuiLib {

CButtonUI::CButtonUI() {
    m_textStyle = DT_ALIGN_CENTER | DT_ALIGN_VCENTER;
}

LPCTSTR CButtonUI::GetClass() const {
    return L"ButtonUI";
}

bool CButtonUI::ApplyAttribute(LPCTSTR name, LPCTSTR value) {
    uint32_t c = 0;
    if (name && std::wcscmp(name, L"pushedtextcolor") == 0) {
        if (Attr::ParseColor(value ? value : L"", c)) {
            m_pushedTextColor = c;
            Invalidate();
        }
        return true;
    }
    return CLabelUI::ApplyAttribute(name, value);
}

bool CButtonUI::IsInteractiveAt(int x, int y) const {
    return true;
}

bool CButtonUI::Activate() {
    if (!IsEnabledInTree()) return false;
    Notify(L"click");  // last step: the handler may remove this control
    return true;
}

uint32_t CButtonUI::CurrentTextColor() const {
    if (IsEnabledInTree() && m_pushed && m_pushedTextColor) return m_pushedTextColor;
    return CLabelUI::CurrentTextColor();
}

void CButtonUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
            m_pressed = IsEnabledInTree();
            m_pushed = m_pressed;
            Invalidate();
            return;
        case UIEVENT_MOUSEMOVE:
            if (m_pressed) {
                bool over = GetVisibleRect().Contains(event.x, event.y);
                if (over != m_pushed) {
                    m_pushed = over;
                    Invalidate();
                }
            }
            return;
        case UIEVENT_BUTTONUP: {
            bool click =
                m_pressed && IsEnabledInTree() && GetVisibleRect().Contains(event.x, event.y);
            m_pressed = false;
            m_pushed = false;
            Invalidate();
            // Last step: the handler may remove this control.
            if (click) Notify(L"click");
            return;
        }
        default:
            CLabelUI::DoEvent(event);
    }
}

}  // namespace DuiLib
