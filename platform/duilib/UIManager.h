// CPaintManagerUI: one per window. Owns the window's control tree, turns input
// into control events and notifications, and lays out and paints the tree.
// Process-wide settings (instance, resource path) are static.
#pragma once

#include <vector>

#include "UINotify.h"

namespace DuiLib {

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

    // Input, in client coordinates (physical pixels), from the backend.
    void OnMouseMove(int x, int y);
    void OnMouseLeaveWindow();
    void OnButtonDown(int x, int y);
    void OnButtonUp(int x, int y);
    void OnMouseWheel(int x, int y, int delta);
    void OnTimer(int timerId);

    // Lays the tree out for a client area and collects what to draw.
    void Layout(int clientWidth, int clientHeight);
    void Paint(CRenderList& list);
    void Invalidate();
    bool NeedsLayout() const;

    // Timers for controls (the animation panel); the backend ticks them.
    bool SetTimer(CControlUI* control, int timerId, unsigned elapseMs);
    void KillTimer(CControlUI* control, int timerId);
    void KillTimers(CControlUI* control);

    // The window's caption area height (unscaled); a drag there moves the window.
    int GetCaptionHeight() const;
    void SetCaptionHeight(int height);
    // Initial window size from the layout's root "size" attribute (unscaled).
    UISize GetInitSize() const;
    void SetInitSize(int cx, int cy);

private:
    struct State;
    State* m_state;
};

class CResourceManager {
public:
    static CResourceManager* GetInstance();
    // The window's scale in percent (100 at 96 DPI).
    unsigned GetScale(CPaintManagerUI* manager) const;
};

}  // namespace DuiLib
