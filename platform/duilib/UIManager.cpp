// CPaintManagerUI: the window's tree, notifiers and filters, scale and fonts,
// layout and paint. Input and timers: UIManagerInput.cpp; process-wide paths:
// UIProcessPaths.cpp.
#include "duilib/UIManager.h"

#include <algorithm>

#include "duilib/UIBackend.h"
#include "duilib/UIControls.h"
#include "duilib/UIManagerState.h"

namespace DuiLib {

namespace {

// Every live manager (UI thread), so a change of the system's colours reaches all windows.
std::vector<CPaintManagerUI*>& LiveManagers() {
    static std::vector<CPaintManagerUI*> managers;
    return managers;
}

}  // namespace

CPaintManagerUI::CPaintManagerUI() : m_state(new State(*this)) {
    LiveManagers().push_back(this);
}

CPaintManagerUI::~CPaintManagerUI() {
    auto& live = LiveManagers();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    // The tree goes first: its controls report to this manager as they die,
    // and find no tree to move the focus in.
    CControlUI* root = m_state->root;
    m_state->root = nullptr;
    delete root;
    delete m_state;
}

void CPaintManagerUI::SetSystemColors(const UISystemColors& colors) {
    UIColors::SetCurrent(colors);
    for (CPaintManagerUI* manager : LiveManagers()) manager->Invalidate();
}

CControlUI* CPaintManagerUI::FindControl(LPCTSTR name) const {
    if (!name || !*name || !m_state->root) return nullptr;  // unnamed controls are not found
    return m_state->root->FindControlByName(name);
}

CControlUI* CPaintManagerUI::GetRoot() const {
    return m_state->root;
}

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    if (root == m_state->root) return root != nullptr;
    CControlUI* old = m_state->root;
    m_state->root = nullptr;
    delete old;
    m_state->root = root;
    if (root) root->SetManager(this, nullptr);
    SetNeedsLayout();
    if (root) m_state->focus.FocusOnOpening();
    return root != nullptr;
}

void CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    auto& list = m_state->notifiers;
    if (notifier && std::find(list.begin(), list.end(), notifier) == list.end()) {
        list.push_back(notifier);
    }
}

void CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    auto& list = m_state->notifiers;
    list.erase(std::remove(list.begin(), list.end(), notifier), list.end());
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg) {
    // A notifier may remove itself or others while this runs.
    std::vector<INotifyUI*> targets = m_state->notifiers;
    for (INotifyUI* notifier : targets) {
        auto& live = m_state->notifiers;
        if (std::find(live.begin(), live.end(), notifier) != live.end()) notifier->Notify(msg);
    }
}

void CPaintManagerUI::SendNotify(CControlUI* control, LPCTSTR type, WPARAM wParam, LPARAM lParam) {
    TNotifyUI msg;
    msg.sType = CDuiString(type);
    msg.pSender = control;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg);
}

void CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter) {
    auto& list = m_state->filters;
    if (filter && std::find(list.begin(), list.end(), filter) == list.end()) list.push_back(filter);
}

void CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) {
    auto& list = m_state->filters;
    list.erase(std::remove(list.begin(), list.end(), filter), list.end());
}

LRESULT CPaintManagerUI::FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = false;
    std::vector<IMessageFilterUI*> filters = m_state->filters;
    for (IMessageFilterUI* filter : filters) {
        LRESULT result = filter->MessageHandler(uMsg, wParam, lParam, handled);
        if (handled) return result;
    }
    return 0;
}

unsigned CPaintManagerUI::GetScale() const {
    return m_state->scale;
}

void CPaintManagerUI::SetScale(unsigned percent) {
    unsigned scale = percent == 0 ? 100 : percent;
    if (scale == m_state->scale) return;
    m_state->scale = scale;
    SetNeedsLayout();
}

int CPaintManagerUI::ScaleValue(int unscaled) const {
    long long v = static_cast<long long>(unscaled) * m_state->scale;
    return static_cast<int>(v >= 0 ? (v + 50) / 100 : -((-v + 50) / 100));
}

HWND CPaintManagerUI::GetPaintWindow() const {
    return m_state->window;
}
void CPaintManagerUI::Init(HWND window) {
    m_state->window = window;
}

void CPaintManagerUI::SetBackend(CWindowBackend* backend) {
    m_state->backend = backend;
    if (!backend) return;
    // A native window has the keyboard focus once it says so (it is shown and
    // activated): then, and not before, the reader hears of the focused control.
    m_state->focus.AwaitWindowFocus();
    // A dialog opened by a key shows its focus indicator from the start, as Windows
    // starts a window's keyboard cues from its owner's and the last input.
    const HWND owner = backend->GetOwner();
    for (CPaintManagerUI* other : LiveManagers()) {
        if (owner && other != this && other->GetPaintWindow() == owner) {
            m_state->focus.SetKeyboardCues(other->m_state->focus.HasKeyboardCues());
        }
    }
    for (const State::Timer& t : m_state->timers) backend->SetTimer(t.backendId, t.elapseMs);
    backend->Invalidate();
}

CWindowBackend* CPaintManagerUI::GetBackend() const {
    return m_state->backend;
}

UIAccessibleIds& CPaintManagerUI::GetAccessibleIds() {
    return m_state->accessibleIds;
}

void CPaintManagerUI::Layout(int clientWidth, int clientHeight) {
    m_state->layout.Layout(m_state->root, UISize{clientWidth, clientHeight});
}

void CPaintManagerUI::UpdateLayout() {
    const UISize client = m_state->layout.GetClientSize();
    if (NeedsLayout()) Layout(client.cx, client.cy);
}

unsigned CPaintManagerUI::GetContainersLaidOut() const {
    return m_state->layout.GetContainersLaidOut();
}

void CPaintManagerUI::OnContainerLaidOut() {
    m_state->layout.CountContainerLaidOut();
}

unsigned CPaintManagerUI::GetLayoutPass() const {
    return m_state->layout.GetLayoutPass();
}

void CPaintManagerUI::Paint(CRenderList& list) {
    UpdateLayout();
    if (!m_state->root) return;
    const UISize client = m_state->layout.GetClientSize();
    m_state->root->DoPaint(list, UIRect{0, 0, client.cx, client.cy});
    m_state->focus.PaintIndicator(list);
}

void CPaintManagerUI::Invalidate() {
    if (m_state->backend) m_state->backend->Invalidate();
}

bool CPaintManagerUI::NeedsLayout() const {
    return m_state->layout.NeedsLayout();
}

void CPaintManagerUI::SetNeedsLayout() {
    m_state->layout.SetNeedsLayout();
    Invalidate();
}

void CPaintManagerUI::SetNeedsLayout(CControlUI* control) {
    m_state->layout.SetNeedsLayout(control);
    Invalidate();
}

UISize CPaintManagerUI::GetClientSize() const {
    return m_state->layout.GetClientSize();
}

int CPaintManagerUI::GetCaptionHeight() const {
    return m_state->captionHeight;
}
void CPaintManagerUI::SetCaptionHeight(int height) {
    m_state->captionHeight = std::max(0, height);
}
UISize CPaintManagerUI::GetInitSize() const {
    return m_state->initSize;
}
void CPaintManagerUI::SetInitSize(int cx, int cy) {
    m_state->initSize = UISize{cx, cy};
}

void CPaintManagerUI::AddFont(int id, int size, bool bold, bool isDefault) {
    m_state->fonts[id] = State::FontInfo{size > 0 ? size : 13, bold};
    if (isDefault || m_state->defaultFont < 0) m_state->defaultFont = id;
    Invalidate();
}

UIFont CPaintManagerUI::GetFont(int id) const {
    auto it = m_state->fonts.find(id);
    if (it == m_state->fonts.end()) it = m_state->fonts.find(m_state->defaultFont);
    State::FontInfo info = it != m_state->fonts.end() ? it->second : State::FontInfo{};
    UIFont font;
    font.size = ScaleValue(info.size);
    font.bold = info.bold;
    return font;
}

}  // namespace DuiLib
