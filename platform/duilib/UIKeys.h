// Keys the toolkit core acts on, as the backend reports them to
// CPaintManagerUI::OnKeyDown / OnKeyUp. The values are Windows' virtual-key
// codes, so the Win32 backend passes a WM_KEYDOWN wParam unchanged; the
// headless backend and tests use the names.
#pragma once

namespace DuiLib {

enum UIKey : unsigned {
    UIKEY_TAB = 0x09,
    UIKEY_RETURN = 0x0D,
    UIKEY_ESCAPE = 0x1B,
    UIKEY_SPACE = 0x20,
    UIKEY_PAGEUP = 0x21,
    UIKEY_PAGEDOWN = 0x22,
    UIKEY_END = 0x23,
    UIKEY_HOME = 0x24,
    UIKEY_INSERT = 0x2D,
    UIKEY_C = 0x43,
};

// Modifier keys held while a key went down (OR-ed).
enum UIKeyModifier : unsigned {
    UIMOD_SHIFT = 0x1,
    UIMOD_CONTROL = 0x2,
    UIMOD_ALT = 0x4,
};

}  // namespace DuiLib
