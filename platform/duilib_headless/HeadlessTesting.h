// The headless backend: the toolkit's windows without a screen, for tests on
// non-Windows builds. What it offers tests beyond the toolkit's own API.
//
// Behaviour, fixed so tests can rely on it:
//  - Text metrics: a character advances (size + 1) / 2 px and a line is size + 3 px
//    high, where size is the font's physical pixel height (at 100 % the default
//    13 px font gives 7 px per character and 16 px lines).
//  - Screen: 1920 x 1080 physical pixels; windows get the DPI scale set below
//    when they are created (100 % unless a test sets another).
//  - Timers never tick by themselves: a test ticks them (UITestDriver::TickTimers).
//    The hover time before a tooltip is kHoverTimeMs; a shown tooltip is only
//    recorded in the window's state.
//  - Posted messages and the main-thread queue are handled by MessageLoop,
//    ShowModal and UIMainQueue::pumpUntil/UITestDriver::Pump, in posting order.
//  - The loops wait on a condition variable when idle; the idle hook (below) lets
//    a test act inside a loop without a second thread.
//  - System settings: the wheel scrolls 3 lines a notch and high contrast is
//    off until a test changes them (below); the foreground window has the
//    keyboard focus (CPaintManagerUI::OnWindowFocus), the others do not.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "duilib/UIAccessible.h"
#include "duilib/UIColors.h"
#include "duilib/UIControl.h"

namespace DuiLib {

class CPaintManagerUI;

namespace Headless {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

constexpr unsigned kHoverTimeMs = 400;

int CharAdvance(int fontSize);
int LineHeight(int fontSize);

struct WindowState {
    HWND hwnd = nullptr;
    HWND parent = nullptr;
    std::wstring className;
    std::wstring title;
    bool visible = false;
    bool minimized = false;
    bool inputEnabled = true;  // false while a modal child runs
    bool modal = false;        // inside its own ShowModal
    bool foreground = false;
    UINT iconId = 0;
    UIRect rect;  // screen position and size, physical pixels
    unsigned scale = 100;
    std::wstring toolTip;              // the tooltip shown, or empty
    UIRect toolTipAnchor;              // what it is shown beside, client pixels
    std::wstring shutdownBlockReason;  // while it holds a sign-out or shutdown, else empty
};

// The live (created, not yet destroyed) windows, in creation order.
std::vector<WindowState> Windows();
// The state of one live window; false when there is none with that handle.
bool FindWindowState(HWND window, WindowState& state);

// What assistive technology is told of a window's control changes: each report
// the core makes (CWindowBackend::OnControlChanged), through Accessible::EventsFor.
struct HeardEvent {
    UIAccessibleEventType type;
    int id;             // the element's stable id (0: the window's client area)
    std::wstring name;  // the element's accessible name when it was told
};
// The events of a window since the last call, oldest first; clears them.
std::vector<HeardEvent> TakeHeardEvents(HWND window);

// The paint manager of a live window, or null; for a window a test did not
// create itself (a dialog running its modal loop).
CPaintManagerUI* PaintManagerOf(HWND window);
// Presses and releases a key (UIKeys.h) in a live window, as the keyboard does
// in the focused window: false when there is no such window, it takes no input
// (a modal child runs) or it did not use the key.
bool PressKey(HWND window, unsigned key, unsigned modifiers = 0);

// DPI scale in percent given to windows created from now on.
void SetDpiScale(unsigned percent);

// Called on the UI thread each time a loop has nothing left to do, before it
// waits; an empty function removes it. The hook may post, dispatch or close.
void SetIdleHook(std::function<void()> hook);

// The stand-in for "always show keyboard cues" (Backend::KeyboardCuesAlwaysShown); off.
void SetKeyboardCues(bool always);
// The wheel's lines per notch (Backend::WheelScrollLines; kWheelPageScroll: a page).
void SetWheelScrollLines(unsigned lines);
// The stand-in for the system's high-contrast setting: on, every window paints
// with HighContrastColors() (Windows' "High Contrast Black" scheme); off, with
// the layouts' colours. As a WM_SETTINGCHANGE would, it repaints every window.
void SetHighContrast(bool on);
UISystemColors HighContrastColors();

// What the last copy put on the stand-in clipboard (CopyToClipboard); empty
// after Reset.
std::wstring ClipboardText();

// True when a quit message is pending (posted, not yet consumed by MessageLoop).
bool IsQuitPending();
// Drops pending posted messages and a pending quit, and forgets the idle hook,
// the DPI setting and the system settings above (between tests).
void Reset();

}  // namespace Headless
}  // namespace DuiLib
