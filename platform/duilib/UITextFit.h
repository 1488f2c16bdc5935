// How a label's text fits the box it is drawn in, measured the way the label lays
// it out (Backend::MeasureText, its font at the window's scale, wrapping and link
// markup included). A text that does not fit is cut: by the ellipsis where the
// label has one, else at the box's edge.
#pragma once

#include <algorithm>

#include "duilib/UIControls.h"

namespace DuiLib {

struct TextFit {
    UIRect box;     // the label's text box
    UISize needed;  // the room its whole text needs
    int OverflowX() const { return std::max(0, needed.cx - box.Width()); }
    int OverflowY() const { return std::max(0, needed.cy - box.Height()); }
    bool Fits() const { return OverflowX() == 0 && OverflowY() == 0; }
};

// A label without text needs no room and fits.
TextFit MeasureTextFit(const CLabelUI& label);

}  // namespace DuiLib
