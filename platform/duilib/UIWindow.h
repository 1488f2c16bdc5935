// CWindowWnd wraps one native top-level window; WindowImplBase builds its
// control tree from a layout file and routes notifications to handlers.
#pragma once

#include "duilib/UIManager.h"
#include "duilib/UIMessages.h"

namespace DuiLib {

class CWindowBackend;  // the native side of one window (Win32 or headless)

class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    // A control for a layout element the builder does not know, or null.
    virtual CControlUI* CreateControl(LPCTSTR className) = 0;
};

class CWindowWnd {
public:
    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const;
    operator HWND() const { return GetHWND(); }

    // Creates the native window under GetWindowClassName(); null on failure.
    HWND Create(HWND parent, LPCTSTR name, unsigned long style, unsigned long exStyle, int x, int y,
                int cx, int cy, void* menu = nullptr);
    void CenterWindow();
    void CenterToParentWindow();
    // Icon group resource of the executable as the window's large and small icon.
    void SetIcon(UINT resourceId);
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Shows the window and runs a modal loop until Close; the parent takes no input meanwhile.
    UINT ShowModal();
    // Asks the window to close with that code; ends ShowModal.
    void Close(UINT code = 1);
    LRESULT SendMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);

    virtual LPCTSTR GetWindowClassName() const = 0;
    // Every message of the window, on the UI thread.
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual void OnFinalMessage(HWND window);
    // The window's control tree manager, or null for a window without one.
    virtual CPaintManagerUI* GetPaintManagerUI() { return nullptr; }

    CWindowBackend* GetBackend() const { return m_backend; }

protected:
    CWindowBackend* m_backend = nullptr;
};

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase();
    ~WindowImplBase() override;

    // The layout is built and controls can be found.
    virtual void InitWindow() {}
    virtual void OnClick(TNotifyUI& msg);
    // Layout file relative to the resource path.
    virtual CDuiString GetSkinFile() = 0;
    // Messages the base does not handle itself; bHandled true stops the base's own handling.
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

    void Notify(TNotifyUI& msg) override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    CControlUI* CreateControl(LPCTSTR className) override;

    CPaintManagerUI& GetPaintManager() { return m_PaintManager; }
    CPaintManagerUI* GetPaintManagerUI() override { return &m_PaintManager; }

protected:
    // WM_CREATE: builds the tree from GetSkinFile, attaches it, sizes the window
    // from the layout and calls InitWindow; -1 when the layout cannot be built.
    LRESULT OnCreate();

    CPaintManagerUI m_PaintManager;

    DUI_DECLARE_MESSAGE_MAP()
};

}  // namespace DuiLib
