// Where every colour a control paints is resolved. With the system's high
// contrast off, a colour is the layout's, unchanged. With it on, the layout's
// colours give way to the system colours by the part they paint (the role), so
// each window follows the user's scheme; transparent and translucent
// backgrounds are left out so that the window colour shows through.
//
// The backend reads the system's setting and colours (at start and when they
// change) and hands them to CPaintManagerUI::SetSystemColors; tests use the
// headless backend's stand-in (HeadlessTesting.h). UI thread only.
#pragma once

#include <cstdint>

namespace DuiLib {

enum class UIColorRole {
    Window,        // a background of the window or a panel
    WindowText,    // text, borders, separators and marks drawn on the window
    ButtonFace,    // a button's background
    ButtonText,    // a button's text and edge
    Link,          // a link's text
    DisabledText,  // the text of a disabled control
    Highlight,     // the keyboard focus indicator
    Rule,          // a separator ("separator" in a layout: a rule between parts)
    HotFace,       // the background of a button under the mouse or pressed
    HotText,       // its text
};

// The system's colours, 0xAARRGGBB (opaque).
struct UISystemColors {
    bool highContrast = false;
    uint32_t window = 0xFFFFFFFF;
    uint32_t windowText = 0xFF000000;
    uint32_t buttonFace = 0xFFF0F0F0;
    uint32_t buttonText = 0xFF000000;
    uint32_t hotLight = 0xFF0066CC;
    uint32_t grayText = 0xFF6D6D6D;
    uint32_t highlight = 0xFF0078D7;
    uint32_t highlightText = 0xFFFFFFFF;
};

namespace UIColors {

// The keyboard focus indicator's outer ring (its inner ring is the window's
// colour), with high contrast off.
constexpr uint32_t kFocusRing = 0xFF191919;

// The colours in force (the backend's last report; high contrast off before one).
const UISystemColors& Current();
void SetCurrent(const UISystemColors& colors);
bool IsHighContrast();
// The colour to paint for a layout colour in a role: `argb` itself while high
// contrast is off; else the role's system colour, or nothing (0) for a window
// background that the layout leaves transparent or translucent.
uint32_t Resolve(uint32_t argb, UIColorRole role);

}  // namespace UIColors
}  // namespace DuiLib
