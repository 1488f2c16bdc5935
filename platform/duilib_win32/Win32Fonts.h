// The system UI font (the message font of NONCLIENTMETRICS) at the pixel sizes
// the core asks for, created once per size and style and kept for the process.
// UI thread only.
#pragma once

#include <windows.h>

#include "duilib/UIRender.h"

namespace DuiLib {
namespace Win32Fonts {

// The GDI font for `font` (never null: falls back to the stock GUI font).
HFONT Get(const UIFont& font);

}  // namespace Win32Fonts
}  // namespace DuiLib
