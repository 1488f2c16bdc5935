// The layout bookkeeping of one window: whether the whole tree must be laid
// out again, which containers only need their children laid out again, the
// count of full layouts (a container moved within one pass moves its children
// instead of laying them out again) and what layouts cost. Created and owned
// by the window's CPaintManagerUI, which forwards its layout operations here.
// UI thread only.
#pragma once

#include <vector>

#include "duilib/UIControl.h"

namespace DuiLib {

class UILayoutTracker {
public:
    // Lays `root` (may be null) out for a client area: all of it when the size
    // changed or the whole tree is due, else only the stale containers.
    void Layout(CControlUI* root, UISize client);
    bool NeedsLayout() const { return m_whole || !m_stale.empty(); }
    void SetNeedsLayout() { m_whole = true; }
    // Only the children of `control` (of its container, for a control that is
    // none) changed. False when no container holds it: the whole tree is then due.
    bool SetNeedsLayout(CControlUI* control);
    // The control is being destroyed.
    void Forget(const CControlUI* control);
    UISize GetClientSize() const { return m_client; }
    unsigned GetLayoutPass() const { return m_pass; }
    unsigned GetContainersLaidOut() const { return m_containersLaidOut; }
    void CountContainerLaidOut() { ++m_containersLaidOut; }

private:
    bool m_whole = true;
    // Containers whose children changed since the last layout (CContainerUI, alive).
    std::vector<CControlUI*> m_stale;
    unsigned m_containersLaidOut = 0;
    unsigned m_pass = 1;
    UISize m_client;
};

}  // namespace DuiLib
