#include "duilib/UITestDriver.h"

#include <algorithm>

#include "duilib/UIBackend.h"
#include "duilib/UIMainQueue.h"
#include "winapi/TextConversion.h"

namespace DuiLib {

namespace {

std::string Narrow(LPCTSTR name) {
    return Strconv::WideToUtf8(name ? name : L"");
}

}  // namespace

UITestDriver::UITestDriver(WindowImplBase& window)
    : m_window(&window), m_manager(&window.GetPaintManager()) {}

UITestDriver::UITestDriver(CPaintManagerUI& manager, int clientWidth, int clientHeight)
    : m_manager(&manager), m_client{clientWidth, clientHeight} {}

CControlUI* UITestDriver::Find(LPCTSTR name) const {
    return m_manager->FindControl(name);
}

bool UITestDriver::IsShown(LPCTSTR name) const {
    CControlUI* control = Find(name);
    return control && control->IsVisibleInTree();
}

void UITestDriver::Layout() {
    if (m_window && m_window->GetBackend() && m_window->GetHWND()) {
        m_client = m_window->GetBackend()->GetClientSize();
    }
    m_manager->Layout(m_client.cx, m_client.cy);
}

CRenderList UITestDriver::Paint() {
    Layout();
    CRenderList list;
    m_manager->Paint(list);
    return list;
}

bool UITestDriver::Fail(const std::string& why) {
    m_lastError = why;
    return false;
}

bool UITestDriver::CanTakeInput() {
    if (m_window) {
        if (!m_window->GetHWND()) return Fail("the window does not exist");
        if (!m_window->GetBackend()->IsInputEnabled()) return Fail("the window takes no input");
    }
    Layout();
    m_lastError.clear();
    return true;
}

bool UITestDriver::CheckReachable(CControlUI* control, int x, int y) {
    CControlUI* root = m_manager->GetRoot();
    CControlUI* hit = root ? root->FindControlAt(x, y) : nullptr;
    if (hit && hit->IsInside(control)) return true;
    std::string over =
        hit ? Narrow(hit->GetName()) + " (" + Narrow(hit->GetClass()) + ")" : "nothing";
    return Fail("control " + Narrow(control->GetName()) + " is covered by " + over);
}

bool UITestDriver::CentreOf(LPCTSTR name, int& x, int& y) {
    CControlUI* control = Find(name);
    if (!control) return Fail("no control named " + Narrow(name));
    if (!control->IsVisibleInTree()) return Fail("control " + Narrow(name) + " is hidden");
    UIRect rc = control->GetVisibleRect();
    if (IsRectEmpty(rc)) return Fail("control " + Narrow(name) + " is clipped away");
    x = rc.left + rc.Width() / 2;
    y = rc.top + rc.Height() / 2;
    return CheckReachable(control, x, y);
}

void UITestDriver::PressAndRelease(int x, int y) {
    m_manager->OnMouseMove(x, y);
    m_manager->OnButtonDown(x, y);
    m_manager->OnButtonUp(x, y);
}

bool UITestDriver::Hover(LPCTSTR name) {
    int x = 0, y = 0;
    if (!CanTakeInput() || !CentreOf(name, x, y)) return false;
    m_manager->OnMouseMove(x, y);
    return true;
}

bool UITestDriver::LeaveWindow() {
    if (!CanTakeInput()) return false;
    m_manager->OnMouseLeaveWindow();
    return true;
}

bool UITestDriver::Click(LPCTSTR name) {
    int x = 0, y = 0;
    if (!CanTakeInput() || !CentreOf(name, x, y)) return false;
    PressAndRelease(x, y);
    return true;
}

bool UITestDriver::ClickLink(LPCTSTR name, int index) {
    if (!CanTakeInput()) return false;
    CTextUI* text = dynamic_cast<CTextUI*>(Find(name));
    if (!text) return Fail("no text control named " + Narrow(name));
    if (!text->IsVisibleInTree()) return Fail("control " + Narrow(name) + " is hidden");
    UIRect rc = text->GetLinkRect(index);
    if (IsRectEmpty(rc)) return Fail("link " + std::to_string(index) + " is not shown");
    int x = rc.left + rc.Width() / 2;
    int y = rc.top + rc.Height() / 2;
    if (!CheckReachable(text, x, y)) return false;
    PressAndRelease(x, y);
    return true;
}

bool UITestDriver::Wheel(LPCTSTR name, int delta) {
    int x = 0, y = 0;
    if (!CanTakeInput() || !CentreOf(name, x, y)) return false;
    m_manager->OnMouseMove(x, y);
    m_manager->OnMouseWheel(x, y, delta);
    return true;
}

bool UITestDriver::MoveTo(int x, int y) {
    if (!CanTakeInput()) return false;
    m_manager->OnMouseMove(x, y);
    return true;
}

bool UITestDriver::ClickAt(int x, int y) {
    if (!CanTakeInput()) return false;
    PressAndRelease(x, y);
    return true;
}

bool UITestDriver::PressKey(unsigned key, unsigned modifiers) {
    if (!CanTakeInput()) return false;
    const bool used = m_manager->OnKeyDown(key, modifiers);
    m_manager->OnKeyUp(key, modifiers);
    return used;
}

bool UITestDriver::PressKeys(unsigned key, int times, unsigned modifiers) {
    for (int i = 0; i < times; ++i) {
        if (!PressKey(key, modifiers)) {
            return Fail("key " + std::to_string(key) + " was not used (press " +
                        std::to_string(i + 1) + ")");
        }
    }
    return true;
}

std::wstring UITestDriver::FocusName() const {
    CControlUI* focus = m_manager->GetFocus();
    return focus ? focus->GetName().str() : std::wstring();
}

int UITestDriver::TickTimers(int ticks) {
    int delivered = 0;
    for (int i = 0; i < ticks; ++i) {
        // A tick may stop timers or start new ones: take the ids afresh each round.
        for (int id : m_manager->GetTimerIds()) {
            std::vector<int> live = m_manager->GetTimerIds();
            if (std::find(live.begin(), live.end(), id) == live.end()) continue;
            if (m_window && m_window->GetHWND()) {
                m_window->HandleMessage(WM_TIMER, static_cast<WPARAM>(id), 0);
            } else {
                m_manager->OnTimer(id);
            }
            ++delivered;
        }
    }
    return delivered;
}

int UITestDriver::Pump() {
    int ran = UIMainQueue::getInstance()->drain();
    Backend::PumpPendingMessages();
    return ran + UIMainQueue::getInstance()->drain();
}

bool UITestDriver::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    return UIMainQueue::getInstance()->pumpUntil(done, timeoutMs);
}

}  // namespace DuiLib
