// Text alignment flags of labels ("align" in layouts, CLabelUI::SetTextStyle).
#pragma once

namespace DuiLib {

// Text alignment flags for CLabelUI::SetTextStyle.
enum : unsigned {
    DT_ALIGN_LEFT = 0x0,
    DT_ALIGN_CENTER = 0x1,
    DT_ALIGN_RIGHT = 0x2,
    DT_ALIGN_VCENTER = 0x4,
    DT_ALIGN_WRAP = 0x10,
    DT_ALIGN_ELLIPSIS = 0x8000,
};

}  // namespace DuiLib
