// DPI of a window: GetDpiForWindow where user32 has it (Windows 10 1607 and
// later), else the screen's LOGPIXELSX. Any thread.
#pragma once

#include <windows.h>

namespace DuiLib {
namespace Win32Dpi {

unsigned ForWindow(HWND hwnd);
// 100 at 96 DPI.
inline unsigned ScalePercent(unsigned dpi) {
    return static_cast<unsigned>(MulDiv(static_cast<int>(dpi), 100, 96));
}
// The system metric `index` at `dpi` (GetSystemMetricsForDpi where present).
int SystemMetric(int index, unsigned dpi);

}  // namespace Win32Dpi
}  // namespace DuiLib
