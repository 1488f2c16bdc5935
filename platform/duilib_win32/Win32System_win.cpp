#include <windows.h>

#include "duilib/UIBackend.h"
#include "duilib_win32/Win32System.h"

namespace DuiLib {

namespace {

uint32_t FromSysColor(int index) {
    const COLORREF c = GetSysColor(index);
    return 0xFF000000u | (static_cast<uint32_t>(GetRValue(c)) << 16) |
           (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace

UISystemColors Win32System::ReadColors() {
    UISystemColors colors;
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    colors.highContrast =
        SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    colors.window = FromSysColor(COLOR_WINDOW);
    colors.windowText = FromSysColor(COLOR_WINDOWTEXT);
    colors.buttonFace = FromSysColor(COLOR_BTNFACE);
    colors.buttonText = FromSysColor(COLOR_BTNTEXT);
    colors.hotLight = FromSysColor(COLOR_HOTLIGHT);
    colors.grayText = FromSysColor(COLOR_GRAYTEXT);
    colors.highlight = FromSysColor(COLOR_HIGHLIGHT);
    colors.highlightText = FromSysColor(COLOR_HIGHLIGHTTEXT);
    return colors;
}

unsigned Backend::WheelScrollLines() {
    UINT lines = 3;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) return 3;
    return lines;  // WHEEL_PAGESCROLL is kWheelPageScroll
}

bool Backend::KeyboardCuesAlwaysShown() {
    BOOL cues = FALSE, keyboardPreferred = FALSE;
    if (!SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0)) cues = FALSE;
    if (!SystemParametersInfoW(SPI_GETKEYBOARDPREF, 0, &keyboardPreferred, 0)) {
        keyboardPreferred = FALSE;
    }
    return cues || keyboardPreferred;
}

}  // namespace DuiLib
