// A thin progress bar: a track and the done part of it, 0..100. It repaints at
// most once per kRepaintMs however often its value changes; the value shown
// (and told to assistive technology, as a value change) is the last one painted,
// and each new one raises "valuechanged" (wParam: the percentage). UI thread only.
#pragma once

#include <string>

#include "duilib/UIControl.h"

namespace DuiLib {

class CProgressUI : public CControlUI {
public:
    static constexpr int kTimerId = 1;
    static constexpr unsigned kRepaintMs = 100;

    LPCTSTR GetClass() const override;
    // "barcolor" (the done part) and "trackcolor" besides the control's own.
    bool ApplyAttribute(LPCTSTR name, LPCTSTR value) override;

    // Clamped to 0..100. Shown at once when nothing was shown in the last
    // kRepaintMs, else at the next tick of the repaint timer.
    void SetValue(int percent);
    int GetValue() const { return m_value; }
    int GetShownValue() const { return m_shown; }
    // How the shown value is said ("{0}%" unless set; {0} is the number).
    void SetValuePattern(const std::wstring& pattern);
    std::wstring ValueText() const;
    UIRole ClassRole() const override { return UIRole::ProgressBar; }
    std::wstring AccessibleValue() const override { return ValueText(); }

    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    void DoEvent(TEventUI& event) override;

protected:
    void PaintContent(CRenderList& list, const UIRect& clip) override;

private:
    void Show();

    int m_value = 0;
    int m_shown = 0;
    bool m_throttling = false;  // the repaint timer runs: a change waits for its tick
    std::wstring m_pattern = L"{0}%";
    uint32_t m_barColor = 0xFF0A59F7;
    uint32_t m_trackColor = 0x1A000000;
};

}  // namespace DuiLib
