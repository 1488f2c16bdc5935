// CAnimPanelUI: the loading animation, a ring of dots turned by a manager timer.
#include <algorithm>
#include <cmath>

#include "duilib/UIAttributes.h"
#include "duilib/UIControls.h"
#include "duilib/UIManager.h"

namespace DuiLib {

LPCTSTR CAnimPanelUI::GetClass() const {
    return L"AnimPanelUI";
}

bool CAnimPanelUI::ApplyAttribute(LPCTSTR name, LPCTSTR value) {
    uint32_t c = 0;
    if (name && std::wstring(name) == L"dotcolor") {
        if (Attr::ParseColor(value ? value : L"", c)) {
            m_dotColor = c;
            Invalidate();
        }
        return true;
    }
    return CControlUI::ApplyAttribute(name, value);
}

void CAnimPanelUI::StartAnim() {
    m_running = true;
    if (m_manager) m_manager->SetTimer(this, kTimerId, kFrameMs);
    Invalidate();
}

void CAnimPanelUI::StopAnim() {
    m_running = false;
    if (m_manager) m_manager->KillTimer(this, kTimerId);
    Invalidate();
}

bool CAnimPanelUI::IsAnimating() const {
    return m_running;
}
int CAnimPanelUI::GetFrame() const {
    return m_frame;
}

void CAnimPanelUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    bool moved = manager != m_manager;
    CControlUI::SetManager(manager, parent);  // the old manager forgets this control's timers
    if (moved && m_running && m_manager) m_manager->SetTimer(this, kTimerId, kFrameMs);
}

void CAnimPanelUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_TIMER && static_cast<int>(event.wParam) == kTimerId) {
        if (m_running) {
            ++m_frame;
            Invalidate();
        }
        return;
    }
    CControlUI::DoEvent(event);
}

void CAnimPanelUI::PaintContent(CRenderList& list, const UIRect& clip) {
    int size = std::min(m_pos.Width(), m_pos.Height());
    if (size <= 0) return;
    int dot = std::max(2, size / 10);
    int ring = size / 2 - dot;
    int cx = m_pos.left + m_pos.Width() / 2;
    int cy = m_pos.top + m_pos.Height() / 2;
    const double kPi = 3.14159265358979323846;
    int lit = m_frame % kDots;
    const uint32_t dotColor = UIColors::Resolve(m_dotColor, UIColorRole::WindowText);
    uint32_t alpha = dotColor >> 24;
    for (int i = 0; i < kDots; ++i) {
        double angle = 2 * kPi * i / kDots - kPi / 2;
        int x = cx + static_cast<int>(std::lround(ring * std::cos(angle)));
        int y = cy + static_cast<int>(std::lround(ring * std::sin(angle)));
        // The lit dot is solid; the ones behind it fade out.
        int behind = (lit - i + kDots) % kDots;
        uint32_t a = alpha * static_cast<uint32_t>(kDots - behind) / kDots;
        list.FillCircle(x, y, dot, (a << 24) | (dotColor & 0x00FFFFFF), clip);
    }
}

}  // namespace DuiLib
