// Tooltips: the core decides, the backend shows. When the mouse has rested on a
// control for the system hover time (Backend::GetHoverTimeMs), the control's tip
// shows: its own tooltip text ("tooltip" attribute, SetToolTip), or else, for a
// label whose ellipsis cuts its text, the whole text. Moving to another control,
// leaving the window or pressing a button hides it. The wait is a timer of the
// hot control (kTimerId), so it dies with the control. UI thread only.
#pragma once

#include <string>

#include "duilib/UIControl.h"

namespace DuiLib {

// Per paint manager (CPaintManagerUI::State).
struct ToolTipState {
    CControlUI* waiting = nullptr;  // hot, its hover time not yet passed
    CControlUI* shown = nullptr;    // the control whose tip is on screen
};

namespace ToolTip {

// The control timer id of the wait; no control uses it for its own timers.
constexpr int kTimerId = 0x7A11;

// What the control's tip says; empty when it has none.
std::wstring TextFor(CControlUI* control);

// The hot control changed (null: none): the old tip goes, the wait starts anew.
void OnHotChanged(CPaintManagerUI& manager, ToolTipState& state, CControlUI* hot);
// The wait's timer ticked for `control`: shows its tip once.
void OnHoverTime(CPaintManagerUI& manager, ToolTipState& state, CControlUI* control);
// Hides the tip and ends the wait (a button press, a control going away).
void Hide(CPaintManagerUI& manager, ToolTipState& state);

}  // namespace ToolTip
}  // namespace DuiLib
