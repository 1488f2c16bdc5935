#include "duilib/UIToolTip.h"

#include "duilib/UIBackend.h"
#include "duilib/UIManager.h"
#include "duilib/UITextFit.h"

namespace DuiLib {

std::wstring ToolTip::TextFor(CControlUI* control) {
    if (!control) return L"";
    const std::wstring own = control->GetToolTip().str();
    if (!own.empty()) return own;
    auto* label = dynamic_cast<CLabelUI*>(control);
    if (label && (label->GetTextStyle() & DT_ALIGN_ELLIPSIS) && !MeasureTextFit(*label).Fits()) {
        return label->GetText().str();
    }
    return L"";
}

void ToolTip::Hide(CPaintManagerUI& manager, ToolTipState& state) {
    if (state.waiting) manager.KillTimer(state.waiting, kTimerId);
    state.waiting = nullptr;
    if (state.shown && manager.GetBackend()) manager.GetBackend()->HideToolTip();
    state.shown = nullptr;
}

void ToolTip::OnHotChanged(CPaintManagerUI& manager, ToolTipState& state, CControlUI* hot) {
    Hide(manager, state);
    // The text is asked for only when the time has passed: it may change meanwhile.
    if (hot && manager.SetTimer(hot, kTimerId, Backend::GetHoverTimeMs())) state.waiting = hot;
}

void ToolTip::OnHoverTime(CPaintManagerUI& manager, ToolTipState& state, CControlUI* control) {
    manager.KillTimer(control, kTimerId);
    if (state.waiting != control) return;
    state.waiting = nullptr;
    const std::wstring text = TextFor(control);
    if (text.empty() || !manager.GetBackend()) return;
    manager.GetBackend()->ShowToolTip(text, control->GetVisibleRect());
    state.shown = control;
}

}  // namespace DuiLib
