// Rectangles and sizes in physical pixels, shared by the control tree and the
// draw commands.
#pragma once

namespace DuiLib {

struct UIRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const UIRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const UIRect& o) const { return !(*this == o); }
    UIRect Offset(int dx, int dy) const {
        return UIRect{left + dx, top + dy, right + dx, bottom + dy};
    }
    UIRect Inflate(int by) const { return UIRect{left - by, top - by, right + by, bottom + by}; }
};

struct UISize {
    int cx = 0, cy = 0;
};

}  // namespace DuiLib
