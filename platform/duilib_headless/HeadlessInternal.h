// Shared parts of the headless backend's files: the window backend class, the
// registry of live windows, and the loop. Only duilib_headless/*_headless.cpp include it.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "duilib/UIBackend.h"
#include "duilib_headless/HeadlessTesting.h"

namespace DuiLib {
namespace Headless {
namespace Internal {

// One headless window. Registry membership and every method: UI thread, except
// Post (any thread).
class HeadlessWindow : public CWindowBackend {
public:
    explicit HeadlessWindow(CWindowWnd* owner) : m_owner(owner) {}
    ~HeadlessWindow() override;

    HWND Create(const UIWindowCreateInfo& info) override;
    HWND GetHWND() const override { return m_state.hwnd; }
    void Show(bool show, bool takeFocus) override;
    UINT RunModal() override;
    void Close(UINT code) override;
    void Destroy(UINT modalResult) override;
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Post(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CenterOnScreen() override;
    void CenterOnParent() override;
    void SetIcon(UINT resourceId) override { m_state.iconId = resourceId; }
    void SetTitle(const std::wstring& title) override { m_state.title = title; }
    std::wstring GetTitle() const override { return m_state.title; }
    void Resize(int cx, int cy) override;
    UISize GetClientSize() const override;
    void Invalidate() override {}
    bool SetTimer(int timerId, unsigned elapseMs) override;
    void KillTimer(int timerId) override { m_timers.erase(timerId); }
    unsigned GetDpiScale() const override { return m_state.scale; }
    bool IsMinimized() const override { return m_state.minimized; }
    bool IsInputEnabled() const override { return m_state.inputEnabled; }
    HWND GetOwner() const override { return m_state.parent; }
    void ShowToolTip(const std::wstring& text, const UIRect& anchor) override {
        m_state.toolTip = text;
        m_state.toolTipAnchor = anchor;
    }
    void HideToolTip() override {
        m_state.toolTip.clear();
        m_state.toolTipAnchor = UIRect{};
    }
    bool CopyToClipboard(const std::wstring& text) override;
    void DetachOwner() override { m_owner = nullptr; }
    void OnControlChanged(CControlUI* control, UIChange change) override;

    const WindowState& State() const { return m_state; }
    std::vector<HeardEvent> TakeHeard() { return std::move(m_heard); }
    void SetInputEnabled(bool enabled) { m_state.inputEnabled = enabled; }
    void SetShutdownBlockReason(const std::wstring& reason) {
        m_state.shutdownBlockReason = reason;
    }
    // Makes this the foreground window (and no other).
    void SetForeground();
    void SetKeyboardFocus(bool focused);
    CPaintManagerUI* Manager() const;
    // A posted message reaches the window.
    void Deliver(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void MoveTo(int x, int y);

    // One running modal loop; shared with RunModal so that a window deleted
    // inside its own loop (from OnFinalMessage, say) still ends it safely.
    struct ModalRun {
        bool ended = false;
        bool deleted = false;
        UINT result = 0;
    };

    CWindowWnd* m_owner;
    WindowState m_state;
    std::map<int, unsigned> m_timers;
    bool m_destroying = false;
    std::shared_ptr<ModalRun> m_modal;
    std::vector<HeardEvent> m_heard;
};

// The live windows, in creation order (UI thread).
std::vector<HeadlessWindow*>& Registry();
HeadlessWindow* Lookup(HWND window);

// Any thread: queues a message for a window (null: for the loop itself).
void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Runs loop rounds until stop() holds after a round (true) or the quit message
// is reached (false; the quit stays pending).
bool RunLoop(const std::function<bool()>& stop);
// The scale for windows created now.
unsigned ScaleForNewWindows();
// The wheel and colour settings back to their defaults.
void ResetSystemSettings();

}  // namespace Internal
}  // namespace Headless
}  // namespace DuiLib
