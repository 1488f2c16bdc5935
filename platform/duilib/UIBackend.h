// The seam between the toolkit core and a native backend. The core (controls,
// layout, notifications, CWindowWnd) never includes <windows.h>; a backend
// implements CWindowBackend per window and the functions in DuiLib::Backend once
// per process. Two backends exist: Win32 (platform/duilib_win32/) and headless
// (platform/duilib_headless/); exactly one is linked.
//
// Everything here runs on the UI thread (the thread that runs the message loop)
// unless a comment says otherwise.
//
// Backend -> core, the only calls a backend makes into the core:
//  - owner->HandleMessage(WM_CREATE, 0, 0) inside Create, once GetHWND() returns
//    the new handle; a result of -1 makes Create fail (the window is destroyed
//    again and Create returns null).
//  - owner->HandleMessage(WM_CLOSE, code, 0) when a close request arrives (posted
//    by Close, or from the system); its default handling destroys the window.
//  - owner->HandleMessage(WM_SYSCOMMAND, command, 0), and any other native message
//    the backend does not translate itself; what the core leaves unhandled comes
//    back as DefaultProc.
//  - owner->HandleMessage(WM_TIMER, timerId, 0) for each tick of a SetTimer timer.
//  - owner->HandleMessage(WM_DESTROY, 0, 0) while the native window is destroyed,
//    then owner->OnFinalMessage(handle) once it is gone (the last call for it).
//  - On the owner's paint manager (owner->GetPaintManagerUI(), null for a window
//    without a control tree): Layout(clientW, clientH) before painting and after a
//    size change (cheap when nothing changed), Paint(list), OnMouseMove,
//    OnMouseLeaveWindow, OnButtonDown, OnButtonUp, OnMouseWheel, HitTestCaption
//    (true: a drag at that point moves the window), SetScale on a DPI change,
//    OnKeyDown / OnKeyUp (keys as UIKeys.h names them; a key the core does not
//    use goes to the system), OnWindowFocus as the native keyboard focus comes
//    and goes. The core calls ShowToolTip / HideToolTip from inside these
//    (UIToolTip.h).
//  - CPaintManagerUI::SetSystemColors at start and whenever the system's
//    colours or its high-contrast setting change.
//  - UIMainQueue::getInstance()->drain() from its loops after WakeMainQueue.
// After DetachOwner the backend makes none of these calls again.
#pragma once

#include <string>

#include "duilib/UIControl.h"
#include "duilib/UIMessages.h"
#include "duilib/UIRender.h"

namespace DuiLib {

class CWindowWnd;

struct UIWindowCreateInfo {
    HWND parent = nullptr;  // owner window, or null
    std::wstring className;
    std::wstring title;
    unsigned long style = 0;
    unsigned long exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // CW_USEDEFAULT allowed for each
};

// The native side of one CWindowWnd. Owned by that CWindowWnd (deleted in its
// destructor, after DetachOwner); destroys its native window, silently, if it
// still exists when deleted.
class CWindowBackend {
public:
    virtual ~CWindowBackend() = default;

    // Creates the native window (see WM_CREATE above); the handle, or null.
    virtual HWND Create(const UIWindowCreateInfo& info) = 0;
    // The native handle; null before Create and once the window is destroyed.
    virtual HWND GetHWND() const = 0;

    virtual void Show(bool show, bool takeFocus) = 0;
    // Shows the window, disables its owner and runs the message loop (posted
    // messages and the main-thread queue) until this window is destroyed; returns
    // the code given to Destroy. Also returns (0) when a quit message arrives,
    // which stays pending for the outer loop. Re-enables and activates the owner.
    virtual UINT RunModal() = 0;
    // Posts a close request: WM_CLOSE with wParam = code reaches the owner later
    // on the UI thread (never inside this call). Nothing when destroyed.
    virtual void Close(UINT code) = 0;
    // Destroys the native window now (WM_DESTROY, then OnFinalMessage) and ends a
    // running RunModal with `modalResult`. Nothing when already destroyed.
    virtual void Destroy(UINT modalResult) = 0;

    // Delivers a message to this window synchronously (through the owner's
    // HandleMessage); Post queues it for the loop. Any thread may Post.
    virtual LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual bool Post(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The backend's own handling of a message the core did not handle
    // (DefWindowProc on Win32). WM_SYSCOMMAND SC_MINIMIZE / SC_RESTORE change
    // the window's state, SC_CLOSE posts a close request.
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    virtual void CenterOnScreen() = 0;
    virtual void CenterOnParent() = 0;  // on screen when there is no owner
    // Icon group resource of the executable as the large and small icon.
    virtual void SetIcon(UINT resourceId) = 0;
    virtual void SetTitle(const std::wstring& title) = 0;
    virtual std::wstring GetTitle() const = 0;
    // Client size in physical pixels (the toolkit's windows are borderless popups,
    // so window and client size agree).
    virtual void Resize(int cx, int cy) = 0;
    virtual UISize GetClientSize() const = 0;
    // Asks for a repaint soon (Layout + Paint through the paint manager).
    virtual void Invalidate() = 0;

    // Timer ids are the paint manager's own, unique within the window.
    virtual bool SetTimer(int timerId, unsigned elapseMs) = 0;
    virtual void KillTimer(int timerId) = 0;

    // The window's scale in percent: 100 at 96 DPI.
    virtual unsigned GetDpiScale() const = 0;
    virtual bool IsMinimized() const = 0;
    // False while the window takes no input (its modal child is running).
    virtual bool IsInputEnabled() const = 0;
    // The window that owns this one (a dialog's main window), or null.
    virtual HWND GetOwner() const = 0;

    // A control of this window changed (see UIChange); a backend that serves
    // assistive technology tells it. The control is alive during the call only.
    virtual void OnControlChanged(CControlUI* control, UIChange change) {}
    // The control that had this accessible id (UIAccessibleIds) is being
    // destroyed; a backend that handed assistive technology an object for it
    // cuts that object off now, the window living on.
    virtual void OnAccessibleElementGone(int id) {}

    // Shows `text` as the window's one tooltip, beside `anchor` (client pixels),
    // replacing any shown; HideToolTip takes it away (nothing when none shows).
    virtual void ShowToolTip(const std::wstring& text, const UIRect& anchor) = 0;
    virtual void HideToolTip() = 0;

    // Puts `text` on the clipboard as Unicode text (the user copied it); false
    // when the clipboard could not be had.
    virtual bool CopyToClipboard(const std::wstring& text) = 0;

    // The owner is being destroyed: make no further call into it.
    virtual void DetachOwner() = 0;
};

namespace Backend {

// A new, not yet created backend for `owner` (never null).
CWindowBackend* CreateWindowBackend(CWindowWnd* owner);

// Runs the UI thread's loop until the quit message: posted window messages, the
// main-thread queue (drain after each wake), native input. Returns after the
// quit message, which it consumes.
void RunMessageLoop();
// Posts the quit message to the UI thread's loop; it is reached once the
// messages posted before it are handled.
void PostQuit(int exitCode);
// Any thread: makes the UI thread's loop (or WaitForMessages) wake up soon and
// drain the main-thread queue.
void WakeMainQueue();
// Handles the messages already pending, without waiting (may drain the queue).
// Leaves a pending quit message in place.
void PumpPendingMessages();
// Waits until a message is posted, WakeMainQueue is called, or timeoutMs passes.
void WaitForMessages(int timeoutMs);

// How long the mouse rests on a control before its tooltip shows (the system's
// hover time; fixed in the headless backend).
unsigned GetHoverTimeMs();

// The lines one notch of the mouse wheel scrolls (the system's setting, read
// at each call); kWheelPageScroll: a page a notch; 0: the wheel does not scroll.
constexpr unsigned kWheelPageScroll = 0xFFFFFFFF;
unsigned WheelScrollLines();

// True when the user asked for keyboard cues always ("underline access keys",
// or relying on the keyboard): the focus indicator shows from the start and
// after mouse presses too (read at each call).
bool KeyboardCuesAlwaysShown();

// Size of one line of text in a font: cx its advance width, cy the line height
// (the line height even for empty text).
// The headless backend's metrics are fixed (see headless/HeadlessTesting.h).
UISize MeasureText(const std::wstring& text, const UIFont& font);

}  // namespace Backend
}  // namespace DuiLib
