// CProgressUI: the thin progress bar and its repaint limit.
#include "duilib/UIProgress.h"

#include <algorithm>

#include "duilib/UIAttributes.h"
#include "duilib/UIColors.h"
#include "duilib/UIManager.h"
#include "duilib/UIRender.h"

namespace DuiLib {

LPCTSTR CProgressUI::GetClass() const {
    return L"ProgressUI";
}

bool CProgressUI::ApplyAttribute(LPCTSTR name, LPCTSTR value) {
    const std::wstring key = name ? name : L"";
    uint32_t* target = key == L"barcolor"     ? &m_barColor
                       : key == L"trackcolor" ? &m_trackColor
                                              : nullptr;
    if (target == nullptr) return CControlUI::ApplyAttribute(name, value);
    uint32_t color = 0;
    if (Attr::ParseColor(value ? value : L"", color)) {
        *target = color;
        Invalidate();
    }
    return true;
}

void CProgressUI::SetValue(int percent) {
    m_value = std::clamp(percent, 0, 100);
    if (m_value == m_shown || m_throttling) return;
    Show();
    // Without a manager there is no timer: every change shows at once.
    if (m_manager && m_manager->SetTimer(this, kTimerId, kRepaintMs)) m_throttling = true;
}

void CProgressUI::SetValuePattern(const std::wstring& pattern) {
    m_pattern = pattern;
}

std::wstring CProgressUI::ValueText() const {
    std::wstring text = m_pattern;
    const size_t at = text.find(L"{0}");
    const std::wstring number = std::to_wstring(m_shown);
    return at == std::wstring::npos ? number : text.replace(at, 3, number);
}

void CProgressUI::Show() {
    m_shown = m_value;
    Invalidate();
    if (m_manager) m_manager->ReportChange(this, UIChange::Value);
    Notify(L"valuechanged", static_cast<WPARAM>(m_shown));
}

void CProgressUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    CControlUI::SetManager(manager, parent);  // the old manager forgets this control's timers
    if (m_throttling) {
        m_throttling = false;
        Show();
    }
}

void CProgressUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_TIMER && static_cast<int>(event.wParam) == kTimerId) {
        // A quiet period ends the throttle; the next change shows at once again.
        if (m_value == m_shown) {
            m_throttling = false;
            if (m_manager) m_manager->KillTimer(this, kTimerId);
        } else {
            Show();
        }
        return;
    }
    CControlUI::DoEvent(event);
}

void CProgressUI::PaintContent(CRenderList& list, const UIRect& clip) {
    if (m_pos.Width() <= 0 || m_pos.Height() <= 0) return;
    list.FillRect(m_pos, UIColors::Resolve(m_trackColor, UIColorRole::Window), clip);
    UIRect done = m_pos;
    done.right = done.left + m_pos.Width() * m_shown / 100;
    if (done.right > done.left) {
        list.FillRect(done, UIColors::Resolve(m_barColor, UIColorRole::Highlight), clip);
    }
}

}  // namespace DuiLib
