// The private state of one CPaintManagerUI, read only by its own implementation
// files (UIManager.cpp: tree, notifiers, fonts, layout and paint;
// UIManagerInput.cpp: mouse input, timers and the tooltip's hooks;
// UIManagerFocus.cpp: the focus operations and change reports; UIManagerKeys.cpp:
// keys). The focus and the layout bookkeeping are helpers of their own, which
// the manager owns here (UIFocusManager.h, UILayoutTracker.h).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "duilib/UIAccessible.h"
#include "duilib/UIFocusManager.h"
#include "duilib/UILayoutTracker.h"
#include "duilib/UIManager.h"
#include "duilib/UIToolTip.h"

namespace DuiLib {

struct CPaintManagerUI::State {
    explicit State(CPaintManagerUI& manager) : focus(manager) {}

    struct Timer {
        CControlUI* control = nullptr;
        int controlTimerId = 0;
        int backendId = 0;  // unique within this window
        unsigned elapseMs = 0;
    };
    struct FontInfo {
        int size = 13;
        bool bold = false;
    };

    HWND window = nullptr;
    CWindowBackend* backend = nullptr;
    CControlUI* root = nullptr;  // owned
    std::vector<INotifyUI*> notifiers;
    std::vector<IMessageFilterUI*> filters;
    unsigned scale = 100;
    UILayoutTracker layout;
    UIFocusManager focus;
    int captionHeight = 0;
    UISize initSize;
    CControlUI* hot = nullptr;               // under the mouse
    CControlUI* pressed = nullptr;           // got the button-down; receives the button-up
    std::shared_ptr<CPaintManagerUI*> self;  // UIChangeBatch's check that the window lives
    int batchDepth = 0;
    std::vector<CControlUI*> reorderedInBatch;  // containers whose children changed
    std::wstring cancelName;                    // the control Esc activates
    UIAccessibleIds accessibleIds;
    ToolTipState toolTip;
    std::vector<Timer> timers;
    int nextTimerId = 1;
    std::map<int, FontInfo> fonts;
    int defaultFont = -1;
};

}  // namespace DuiLib
