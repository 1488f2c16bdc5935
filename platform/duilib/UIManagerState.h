// The private state of one CPaintManagerUI, shared by its implementation files
// (UIManager.cpp: tree, notifiers, fonts, layout and paint; UIManagerInput.cpp:
// mouse input, timers and the tooltip's hooks; UIManagerFocus.cpp: keyboard
// focus, its indicator and change reports; UIManagerKeys.cpp: keys).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "duilib/UIAccessible.h"
#include "duilib/UIManager.h"
#include "duilib/UIToolTip.h"

namespace DuiLib {

struct CPaintManagerUI::State {
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
    bool needsLayout = true;  // the whole tree
    // Containers whose children changed since the last layout (CContainerUI, alive).
    std::vector<CControlUI*> staleContainers;
    unsigned containersLaidOut = 0;
    UISize client;
    int captionHeight = 0;
    UISize initSize;
    CControlUI* hot = nullptr;        // under the mouse
    CControlUI* pressed = nullptr;    // got the button-down; receives the button-up
    CControlUI* focus = nullptr;      // has the keyboard focus
    CControlUI* spaceDown = nullptr;  // the focus when Space went down; Space up activates it
    bool focusCues = false;           // the keyboard was used since the last mouse press
    bool windowFocused = true;  // the native window has the keyboard focus (no window: always)
    std::shared_ptr<CPaintManagerUI*> self;  // UIChangeBatch's check that the window lives
    int batchDepth = 0;
    std::vector<CControlUI*> reorderedInBatch;  // containers whose children changed
    std::wstring cancelName;                    // the control Esc activates
    std::wstring openingFocusName;              // the control focused when the tree comes
    unsigned layoutPass = 1;
    UIAccessibleIds accessibleIds;
    ToolTipState toolTip;
    std::vector<Timer> timers;
    int nextTimerId = 1;
    std::map<int, FontInfo> fonts;
    int defaultFont = -1;
};

}  // namespace DuiLib
