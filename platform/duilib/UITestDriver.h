// UITestDriver: drives a window's controls by name, for tests, on either backend.
// Input goes through the paint manager's own input path (OnMouseMove,
// OnButtonDown, OnButtonUp, ...) at a point computed from the control's laid-out
// rectangle, so hit-testing, hover tracking, enabled state and the message maps
// all take part exactly as for a real mouse. UI thread only.
//
// Every action returns false (and sets LastError) when it cannot be delivered:
// no such control, the control is hidden, clipped away or covered by another
// control at its centre, or the window takes no input (a modal child runs).
#pragma once

#include <functional>
#include <string>

#include "duilib/UIControls.h"
#include "duilib/UIRender.h"
#include "duilib/UIWindow.h"

namespace DuiLib {

class UITestDriver {
public:
    // A created window; its client size comes from its backend.
    explicit UITestDriver(WindowImplBase& window);
    // A manager without a native window (a tree attached by hand), laid out at
    // that client size (physical pixels).
    UITestDriver(CPaintManagerUI& manager, int clientWidth, int clientHeight);

    // The control with that name in the window's tree, or null.
    CControlUI* Find(LPCTSTR name) const;
    // True when the control exists and it and all its ancestors are visible.
    bool IsShown(LPCTSTR name) const;
    // Lays the tree out at the client size (done before every action too).
    void Layout();
    // Lays out and collects the draw commands of the whole window.
    CRenderList Paint();

    // Moves the mouse to the control's centre ("mouseenter" for it, "mouseleave"
    // for the control the mouse was over).
    bool Hover(LPCTSTR name);
    // Moves the mouse out of the window ("mouseleave" for the hot control).
    bool LeaveWindow();
    // Moves to the control's centre, presses and releases there ("click").
    bool Click(LPCTSTR name);
    // Clicks the centre of link `index` of a text control ("link").
    bool ClickLink(LPCTSTR name, int index = 0);
    // Turns the wheel over the control (120 per notch; positive scrolls up).
    bool Wheel(LPCTSTR name, int delta);
    // Input at a point in client coordinates, for the cases above do not cover.
    bool MoveTo(int x, int y);
    bool ClickAt(int x, int y);
    // Presses and releases a key (UIKeys.h) with modifiers, as the keyboard
    // would: to the window with its keyboard focus on whatever control has it.
    // True when the window used the key (OnKeyDown's answer).
    bool PressKey(unsigned key, unsigned modifiers = 0);
    // Presses a key n times (Tab through a list, say); false when one was not used.
    bool PressKeys(unsigned key, int times, unsigned modifiers = 0);
    // The name of the control with the focus; empty when there is none.
    std::wstring FocusName() const;

    // Delivers `ticks` rounds of WM_TIMER through the window's HandleMessage (or
    // straight to the manager without a window) for every running timer; returns
    // how many timer messages were delivered.
    int TickTimers(int ticks = 1);
    // Handles pending window messages and runs the queued closures; returns how
    // many closures ran.
    int Pump();
    // Pumps until done() is true or timeoutMs passes; false on timeout.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

    const std::string& LastError() const { return m_lastError; }

private:
    bool CanTakeInput();
    bool CentreOf(LPCTSTR name, int& x, int& y);
    bool CheckReachable(CControlUI* control, int x, int y);
    // The mouse moves to (x, y), and the left button goes down and up there.
    void PressAndRelease(int x, int y);
    bool Fail(const std::string& why);

    WindowImplBase* m_window = nullptr;
    CPaintManagerUI* m_manager = nullptr;
    UISize m_client;
    std::string m_lastError;
};

}  // namespace DuiLib
