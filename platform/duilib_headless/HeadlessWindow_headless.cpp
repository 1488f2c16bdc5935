// The toolkit's headless backend: windows without a screen, for the native
// suites, fuzzers and benchmarks (what tests can rely on: HeadlessTesting.h).
//
// Implemented features:
//  - Windows as records (class, title, visible, minimised, enabled, modal,
//    foreground, client size, scale) with the full CWindowBackend life cycle,
//    modal loops that disable the owner, close requests, messages sent and posted.
//  - The control changes the core reports, kept as the events assistive
//    technology would be told (TakeHeardEvents).
//  - Timers recorded per window; they tick only when a test ticks them.
//  - Tooltips recorded in the window's state (text and anchor).
//  - The keyboard focus with the foreground window; the system settings the
//    toolkit reads, as tests set them (HeadlessSystem_headless.cpp).
//  - The UI thread's loop, the main-thread queue's wake-up and an idle hook
//    (HeadlessLoop_headless.cpp); fixed text metrics (HeadlessMetrics_headless.cpp);
//    the calls on top-level windows of UIWindowApi.h (WindowApi_headless.cpp).
// Not implemented: drawing (a test reads the render list instead), native
// input (tests deliver it through UITestDriver), real time.
//
// This file: per-window state and messages, the modal loop, timers, and the
// registry of live windows with its test queries.
#include <algorithm>

#include "duilib/UIManager.h"
#include "duilib/UIWindow.h"
#include "duilib_headless/HeadlessInternal.h"

namespace DuiLib {
namespace Headless {
namespace Internal {

std::vector<HeadlessWindow*>& Registry() {
    static std::vector<HeadlessWindow*> windows;
    return windows;
}

HeadlessWindow* Lookup(HWND window) {
    if (!window) return nullptr;
    for (HeadlessWindow* w : Registry()) {
        if (w->GetHWND() == window) return w;
    }
    return nullptr;
}

namespace {

HWND NewHandle() {
    static std::uintptr_t next = 0x10000;
    next += 0x10;
    return reinterpret_cast<HWND>(next);
}

void Unregister(HeadlessWindow* window) {
    auto& all = Registry();
    all.erase(std::remove(all.begin(), all.end(), window), all.end());
}

}  // namespace

HeadlessWindow::~HeadlessWindow() {
    m_owner = nullptr;  // destroyed silently
    Unregister(this);
    if (m_modal) {
        m_modal->deleted = true;
        m_modal->ended = true;
    }
}

HWND HeadlessWindow::Create(const UIWindowCreateInfo& info) {
    if (m_state.hwnd) return m_state.hwnd;
    m_state = WindowState{};
    m_state.hwnd = NewHandle();
    m_state.parent = info.parent;
    m_state.className = info.className;
    m_state.title = info.title;
    m_state.scale = ScaleForNewWindows();
    int x = info.x == CW_USEDEFAULT ? 0 : info.x;
    int y = info.y == CW_USEDEFAULT ? 0 : info.y;
    int cx = info.cx == CW_USEDEFAULT ? 0 : info.cx;
    int cy = info.cy == CW_USEDEFAULT ? 0 : info.cy;
    m_state.rect = UIRect{x, y, x + cx, y + cy};
    Registry().push_back(this);
    if (m_owner && m_owner->HandleMessage(WM_CREATE, 0, 0) == -1) {
        Destroy(0);
        return nullptr;
    }
    return m_state.hwnd;
}

void HeadlessWindow::Show(bool show, bool takeFocus) {
    if (!m_state.hwnd) return;
    m_state.visible = show;
    if (show && takeFocus) SetForeground();
    if (!show && m_state.foreground) SetKeyboardFocus(false);
}

void HeadlessWindow::SetForeground() {
    for (HeadlessWindow* w : Registry()) {
        if (w != this && w->m_state.foreground) w->SetKeyboardFocus(false);
    }
    if (m_state.hwnd) SetKeyboardFocus(true);
}

// The foreground window has the keyboard focus, as on Windows.
void HeadlessWindow::SetKeyboardFocus(bool focused) {
    m_state.foreground = focused;
    if (CPaintManagerUI* manager = Manager()) manager->OnWindowFocus(focused);
}

CPaintManagerUI* HeadlessWindow::Manager() const {
    return m_owner ? m_owner->GetPaintManagerUI() : nullptr;
}

UINT HeadlessWindow::RunModal() {
    if (!m_state.hwnd) return 0;
    const HWND parent = m_state.parent;
    Show(true, true);
    if (HeadlessWindow* p = Lookup(parent)) p->SetInputEnabled(false);
    m_state.modal = true;
    auto run = std::make_shared<ModalRun>();
    m_modal = run;
    bool ended = RunLoop([run] { return run->ended; });
    if (!run->deleted) {
        m_state.modal = false;
        m_modal.reset();
    }
    if (HeadlessWindow* p = Lookup(parent)) {
        p->SetInputEnabled(true);
        p->SetForeground();
    }
    return ended ? run->result : 0;
}

void HeadlessWindow::Close(UINT code) {
    if (m_state.hwnd) PostToQueue(m_state.hwnd, WM_CLOSE, code, 0);
}

void HeadlessWindow::Destroy(UINT modalResult) {
    if (!m_state.hwnd || m_destroying) return;
    m_destroying = true;
    if (m_modal) {
        m_modal->ended = true;
        m_modal->result = modalResult;
    }
    const HWND handle = m_state.hwnd;
    if (m_owner) m_owner->HandleMessage(WM_DESTROY, 0, 0);
    m_timers.clear();
    Unregister(this);
    m_state.hwnd = nullptr;
    m_state.visible = false;
    m_state.foreground = false;
    m_destroying = false;
    if (m_owner) m_owner->OnFinalMessage(handle);
}

LRESULT HeadlessWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_state.hwnd || !m_owner) return 0;
    return m_owner->HandleMessage(message, wParam, lParam);
}

bool HeadlessWindow::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_state.hwnd) return false;
    PostToQueue(m_state.hwnd, message, wParam, lParam);
    return true;
}

void HeadlessWindow::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_state.hwnd && m_owner) m_owner->HandleMessage(message, wParam, lParam);
}

LRESULT HeadlessWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        Destroy(static_cast<UINT>(wParam));
    } else if (message == WM_SYSCOMMAND) {
        switch (wParam & 0xFFF0) {
            case SC_MINIMIZE:
                m_state.minimized = true;
                if (m_state.foreground) SetKeyboardFocus(false);
                break;
            case SC_RESTORE:
                m_state.minimized = false;
                break;
            case SC_CLOSE:
                Close(0);
                break;
            default:
                break;
        }
    }
    return 0;
}

void HeadlessWindow::MoveTo(int x, int y) {
    int w = m_state.rect.Width(), h = m_state.rect.Height();
    m_state.rect = UIRect{x, y, x + w, y + h};
}

void HeadlessWindow::CenterOnScreen() {
    MoveTo((kScreenWidth - m_state.rect.Width()) / 2, (kScreenHeight - m_state.rect.Height()) / 2);
}

void HeadlessWindow::CenterOnParent() {
    HeadlessWindow* parent = Lookup(m_state.parent);
    if (!parent) {
        CenterOnScreen();
        return;
    }
    const UIRect& p = parent->m_state.rect;
    MoveTo(p.left + (p.Width() - m_state.rect.Width()) / 2,
           p.top + (p.Height() - m_state.rect.Height()) / 2);
}

void HeadlessWindow::Resize(int cx, int cy) {
    m_state.rect.right = m_state.rect.left + std::max(0, cx);
    m_state.rect.bottom = m_state.rect.top + std::max(0, cy);
}

UISize HeadlessWindow::GetClientSize() const {
    return UISize{m_state.rect.Width(), m_state.rect.Height()};
}

bool HeadlessWindow::SetTimer(int timerId, unsigned elapseMs) {
    if (!m_state.hwnd) return false;
    m_timers[timerId] = elapseMs;
    return true;
}

void HeadlessWindow::OnControlChanged(CControlUI* control, UIChange change) {
    CPaintManagerUI* manager = control->GetManager();
    for (const UIAccessibleEvent& event : Accessible::EventsFor(control, change)) {
        m_heard.push_back(HeardEvent{event.type, Accessible::IdOf(*manager, event.element),
                                     Accessible::NameOf(event.element)});
    }
}

}  // namespace Internal

std::vector<HeardEvent> TakeHeardEvents(HWND window) {
    Internal::HeadlessWindow* w = Internal::Lookup(window);
    return w ? w->TakeHeard() : std::vector<HeardEvent>();
}

std::vector<WindowState> Windows() {
    std::vector<WindowState> states;
    for (Internal::HeadlessWindow* w : Internal::Registry()) states.push_back(w->State());
    return states;
}

bool FindWindowState(HWND window, WindowState& state) {
    Internal::HeadlessWindow* w = Internal::Lookup(window);
    if (!w) return false;
    state = w->State();
    return true;
}

CPaintManagerUI* PaintManagerOf(HWND window) {
    Internal::HeadlessWindow* w = Internal::Lookup(window);
    return w ? w->Manager() : nullptr;
}

bool PressKey(HWND window, unsigned key, unsigned modifiers) {
    Internal::HeadlessWindow* w = Internal::Lookup(window);
    CPaintManagerUI* manager = w ? w->Manager() : nullptr;
    if (!manager || !w->IsInputEnabled()) return false;
    const bool used = manager->OnKeyDown(key, modifiers);  // may close the window
    if (CPaintManagerUI* still = PaintManagerOf(window)) still->OnKeyUp(key, modifiers);
    return used;
}

}  // namespace Headless

CWindowBackend* Backend::CreateWindowBackend(CWindowWnd* owner) {
    return new Headless::Internal::HeadlessWindow(owner);
}

}  // namespace DuiLib
