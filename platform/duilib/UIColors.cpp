#include "duilib/UIColors.h"

namespace DuiLib {
namespace UIColors {

namespace {

UISystemColors& Colors() {
    static UISystemColors colors;
    return colors;
}

uint32_t SystemColor(const UISystemColors& c, UIColorRole role) {
    switch (role) {
        case UIColorRole::Window:
            return c.window;
        case UIColorRole::WindowText:
            return c.windowText;
        case UIColorRole::ButtonFace:
            return c.buttonFace;
        case UIColorRole::ButtonText:
            return c.buttonText;
        case UIColorRole::Link:
            return c.hotLight;
        case UIColorRole::DisabledText:
            return c.grayText;
        case UIColorRole::Highlight:
        case UIColorRole::HotFace:
            return c.highlight;
        case UIColorRole::Rule:
            return c.windowText;
        case UIColorRole::HotText:
            return c.highlightText;
    }
    return c.windowText;
}

}  // namespace

const UISystemColors& Current() {
    return Colors();
}

void SetCurrent(const UISystemColors& colors) {
    Colors() = colors;
}

bool IsHighContrast() {
    return Colors().highContrast;
}

uint32_t Resolve(uint32_t argb, UIColorRole role) {
    const UISystemColors& c = Colors();
    if (!c.highContrast) return argb;
    // Tints (hover shades, the list card on the page) would blur the scheme's
    // contrast: only an opaque background becomes the window colour.
    if (role == UIColorRole::Window && (argb >> 24) != 0xFF) return 0;
    if (role == UIColorRole::Rule && (argb >> 24) == 0) return 0;
    return SystemColor(c, role) | 0xFF000000u;
}

}  // namespace UIColors
}  // namespace DuiLib
