// UILayoutTracker: what of one window's tree is due to be laid out again.
#include "duilib/UILayoutTracker.h"

#include <algorithm>

#include "duilib/UIControls.h"

namespace DuiLib {

void UILayoutTracker::Layout(CControlUI* root, UISize client) {
    const bool resized = client.cx != m_client.cx || client.cy != m_client.cy;
    m_client = client;
    std::vector<CControlUI*> stale;
    stale.swap(m_stale);
    if (resized || m_whole) {
        m_whole = false;
        ++m_pass;
        if (root) root->SetPos(UIRect{0, 0, client.cx, client.cy});
        return;
    }
    // Laying one out lays out the stale ones inside it too; those then do nothing.
    for (CControlUI* box : stale) static_cast<CContainerUI*>(box)->LayoutAgain();
}

bool UILayoutTracker::SetNeedsLayout(CControlUI* control) {
    CControlUI* c = control;
    while (c && !dynamic_cast<CContainerUI*>(c)) c = c->GetParent();
    if (!c) {
        m_whole = true;
        return false;
    }
    // Listed once until it is laid out again (never laid out: its parent places it).
    if (static_cast<CContainerUI*>(c)->MarkStale()) m_stale.push_back(c);
    return true;
}

void UILayoutTracker::Forget(const CControlUI* control) {
    m_stale.erase(std::remove(m_stale.begin(), m_stale.end(), control), m_stale.end());
}

}  // namespace DuiLib
