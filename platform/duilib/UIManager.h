// CPaintManagerUI: one per window. Owns the window's control tree, turns input
// into control events and notifications, and lays out and paints the tree.
// Process-wide settings (instance, resource path) are static.
#pragma once

#include <memory>
#include <vector>

#include "duilib/UIColors.h"
#include "duilib/UIKeys.h"
#include "duilib/UINotify.h"
#include "duilib/UIRender.h"

namespace DuiLib {

class CWindowBackend;
class UIAccessibleIds;
class UIChangeBatch;

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    // The executable's folder, ending with a path separator.
    static CDuiString GetInstancePath();
    static void SetResourcePath(LPCTSTR path);
    static CDuiString GetResourcePath();
    // Runs the UI thread's message loop (and the main-thread queue) until the quit message.
    static void MessageLoop();

    // The control with that name in this window's tree, or null.
    CControlUI* FindControl(LPCTSTR name) const;
    CControlUI* GetRoot() const;
    // Takes ownership of the tree; the previous root is destroyed.
    bool AttachDialog(CControlUI* root);

    void AddNotifier(INotifyUI* notifier);
    void RemoveNotifier(INotifyUI* notifier);
    // Delivers a notification to every notifier of this window, on the UI thread.
    void SendNotify(TNotifyUI& msg);
    void SendNotify(CControlUI* control, LPCTSTR type, WPARAM wParam = 0, LPARAM lParam = 0);

    void AddMessageFilter(IMessageFilterUI* filter);
    void RemoveMessageFilter(IMessageFilterUI* filter);

    // Scale of this window in percent (100 at 96 DPI).
    unsigned GetScale() const;
    void SetScale(unsigned percent);
    int ScaleValue(int unscaled) const;

    HWND GetPaintWindow() const;
    void Init(HWND window);
    // The native side of the window: set on creation, null once it is destroyed.
    // Timers and invalidation go to it; without one they are recorded only.
    void SetBackend(CWindowBackend* backend);
    CWindowBackend* GetBackend() const;

    // Input, in client coordinates (physical pixels), from the backend.
    void OnMouseMove(int x, int y);
    void OnMouseLeaveWindow();
    void OnButtonDown(int x, int y);
    void OnButtonUp(int x, int y);
    void OnMouseWheel(int x, int y, int delta);
    void OnTimer(int timerId);
    // True when a press at that point drags the window: inside the caption area
    // and not over a button or a link.
    bool HitTestCaption(int x, int y) const;
    // The control under the mouse, or null.
    CControlUI* GetHotControl() const;
    // True when the backend must report the pointer leaving the window
    // (OnMouseLeaveWindow): the control under it cares (CaresWhenPointerLeaves).
    bool WantsMouseLeave() const;

    // Keys, from the backend (UIManagerKeys.cpp); `key` a UIKey (a virtual-key
    // code), `modifiers` UIKeyModifier flags, `repeat` for the key's auto-repeat.
    // Tab / Shift+Tab move the focus through the focusable controls in tree
    // order, wrapping; Enter (down) and Space (up) activate the focused control;
    // Esc activates the window's cancel control; Page Up / Page Down / Home / End
    // scroll the list that holds the focus. True when the key was used; the
    // backend leaves the others to the system (Alt+F4, Alt+Space).
    bool OnKeyDown(unsigned key, unsigned modifiers, bool repeat = false);
    bool OnKeyUp(unsigned key, unsigned modifiers);
    // The native window got (true) or lost the keyboard focus; the focus
    // indicator shows only while it has it.
    // On getting it back, assistive technology hears of the focused control again.
    void OnWindowFocus(bool focused);
    bool IsWindowFocused() const;
    // False while the window takes no input (its modal child runs): then no
    // input path, assistive technology's included, reaches its controls.
    bool IsInputEnabled() const;
    // The control Esc activates ("cancel" in the layout's Window element), by name.
    void SetCancelControl(LPCTSTR name);
    CDuiString GetCancelControl() const;
    // The control that has the focus when the window opens ("focus" in the
    // layout's Window element, a dialog's first control), by name; AttachDialog
    // focuses it.
    void SetOpeningFocus(LPCTSTR name);

    // The control with the keyboard focus, or null (the window's UIFocusManager).
    CControlUI* GetFocus() const;
    // Moves the focus to a focusable control that is visible and enabled in the
    // tree, or clears it (null); KILLFOCUS to the old control, SETFOCUS to the new
    // one, then UIChange::Focus reported. False when the control cannot take it.
    bool SetFocus(CControlUI* control);
    // A control changed (CControlUI's setters call this): the backend hears of it
    // (assistive technology), and a focus that became hidden or disabled moves to
    // the nearest control round it that can hold it (its row), else to the next
    // tab stop. Inside a UIChangeBatch both wait for the batch to settle.
    void ReportChange(CControlUI* control, UIChange change);
    // UIChangeBatch's two ends; batches nest, the outermost settles.
    void BeginChanges();
    void EndChanges();
    // Stable ids of this window's controls for assistive technology (UIAccessible.h).
    UIAccessibleIds& GetAccessibleIds();
    // A container is about to remove (and destroy) the control: a focus inside
    // it moves on to the next control after it. (A control destroyed without
    // that, with its whole tree say, just drops the focus.)
    void OnRemovingControl(CControlUI* control);
    // The next (or previous) tab stop after `from` in tree order that can take
    // the focus, wrapping; from null, the first (last). Null when there is none.
    CControlUI* NextFocusable(CControlUI* from, bool forward = true) const;
    // True while the focus indicator is drawn: there is a focus, the keyboard
    // was used since the last mouse press (Windows' convention), and the window
    // has the keyboard focus.
    bool IsFocusIndicatorShown() const;
    // Scrolls every scrolling ancestor so that the control is wholly in view
    // (with room for the focus indicator).
    void ScrollIntoView(CControlUI* control);

    // Lays the tree out for a client area: all of it when the size or the scale
    // changed, else only the containers whose children changed since.
    void Layout(int clientWidth, int clientHeight);
    // Layout at the last client size when anything changed; nothing otherwise.
    void UpdateLayout();
    void Paint(CRenderList& list);
    void Invalidate();
    bool NeedsLayout() const;
    // The whole tree changed shape: lay all of it out again before the next
    // paint or input.
    void SetNeedsLayout();
    // Only the children of `control` (of its container, for a control that is
    // none) changed: that container lays them out again where it stands.
    void SetNeedsLayout(CControlUI* control);
    // Counts the full layouts; a container moved within one pass moves its
    // children instead of laying them out again (CContainerUI).
    unsigned GetLayoutPass() const;
    // How many times a container laid its children out, full layouts and
    // partial ones together: what layouts cost. CContainerUI counts each.
    unsigned GetContainersLaidOut() const;
    void OnContainerLaidOut();

    // The system's colours and high-contrast setting (UIColors.h), from the
    // backend; every window paints again with them.
    static void SetSystemColors(const UISystemColors& colors);

    // Timers for controls (the animation panel); the backend ticks them.
    bool SetTimer(CControlUI* control, int timerId, unsigned elapseMs);
    void KillTimer(CControlUI* control, int timerId);
    void KillTimers(CControlUI* control);
    // Ids of the running timers as the backend knows them (WM_TIMER wParam).
    std::vector<int> GetTimerIds() const;

    // Runs the message filters in order until one sets `handled`.
    LRESULT FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
    // ~CControlUI: forgets the control as hot, pressed, focused, timer owner and
    // holder of an accessible id.
    void ReapControl(CControlUI* control);

    // Fonts of the layout ("Font" elements), sizes unscaled. A control font id
    // that is unknown (or -1) uses the default font.
    void AddFont(int id, int size, bool bold, bool isDefault);
    // The font at this window's scale.
    UIFont GetFont(int id) const;
    // The client size of the last Layout.
    UISize GetClientSize() const;

    // The window's caption area height (unscaled); a drag there moves the window.
    int GetCaptionHeight() const;
    void SetCaptionHeight(int height);
    // Initial window size from the layout's root "size" attribute (unscaled).
    UISize GetInitSize() const;
    void SetInitSize(int cx, int cy);

    // Opaque outside the toolkit (UIManagerState.h).
    struct State;

private:
    friend class UIChangeBatch;
    void SettleChanges();
    bool ScrollFocusedList(unsigned key);

    State* m_state;
};

// Changes made while one lives settle together when the outermost ends: a
// focus that can no longer be held moves once, and a container whose children
// changed is reported once (what changed inside it is not reported apart).
// Input handlers and accessible default actions run inside one; code that
// changes many controls outside them opens its own. Harmless when the window
// is destroyed meanwhile.
class UIChangeBatch {
public:
    explicit UIChangeBatch(CPaintManagerUI& manager);
    ~UIChangeBatch();
    UIChangeBatch(const UIChangeBatch&) = delete;
    UIChangeBatch& operator=(const UIChangeBatch&) = delete;

private:
    std::weak_ptr<CPaintManagerUI*> m_manager;
};

class CResourceManager {
public:
    static CResourceManager* GetInstance();
    // The window's scale in percent (100 at 96 DPI).
    unsigned GetScale(CPaintManagerUI* manager) const;
};

}  // namespace DuiLib
