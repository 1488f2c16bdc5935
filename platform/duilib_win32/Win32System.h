// The system settings the toolkit follows, read from Windows: the colours with
// the high-contrast setting (read at each window's creation and on
// WM_SETTINGCHANGE / WM_SYSCOLORCHANGE). The wheel's lines per notch are
// Backend::WheelScrollLines, in the same file.
#pragma once

#include "duilib/UIColors.h"

namespace DuiLib {
namespace Win32System {

UISystemColors ReadColors();

}  // namespace Win32System
}  // namespace DuiLib
