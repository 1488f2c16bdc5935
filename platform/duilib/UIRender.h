// CRenderList: what the core asks a backend to draw, as a flat list of commands
// in physical pixels, painted in order (later commands on top). The core never
// draws; the Win32 backend executes the list with GDI into a back buffer, the
// headless backend keeps it for tests to inspect.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "duilib/UIGeometry.h"

namespace DuiLib {

// A resolved font: the system UI face at a pixel height (already scaled).
struct UIFont {
    int size = 13;  // character height in physical pixels
    bool bold = false;
    bool underline = false;
    bool operator==(const UIFont& o) const {
        return size == o.size && bold == o.bold && underline == o.underline;
    }
};

enum class RenderOp {
    FillRect,    // rect filled with color
    FrameRect,   // rect outlined inside its edges, `width` px thick, in color
    RoundRect,   // rect with corner `radius`: filled with color (if alpha > 0), outlined
                 // with borderColor `width` px thick (if width > 0)
    Text,        // one line of text, its cell's top-left at rect.left/top, in color
    Line,        // from (rect.left, rect.top) to (rect.right, rect.bottom), `width` px
    FillCircle,  // circle centred on (rect.left, rect.top) with `radius`, in color
};

struct RenderCommand {
    RenderOp op = RenderOp::FillRect;
    UIRect rect;
    UIRect clip;         // nothing outside it is drawn
    uint32_t color = 0;  // 0xAARRGGBB; alpha 0 draws nothing
    uint32_t borderColor = 0;
    int width = 0;
    int radius = 0;
    std::wstring text;  // Text only
    UIFont font;        // Text only
};

class CRenderList {
public:
    void FillRect(const UIRect& rc, uint32_t argb, const UIRect& clip);
    void FrameRect(const UIRect& rc, uint32_t argb, int width, const UIRect& clip);
    void RoundRect(const UIRect& rc, int radius, uint32_t fill, uint32_t border, int width,
                   const UIRect& clip);
    // `cell` is the measured line box (left/top where the text starts).
    void Text(const UIRect& cell, const std::wstring& text, const UIFont& font, uint32_t argb,
              const UIRect& clip);
    void Line(int x1, int y1, int x2, int y2, uint32_t argb, int width, const UIRect& clip);
    void FillCircle(int cx, int cy, int radius, uint32_t argb, const UIRect& clip);

    const std::vector<RenderCommand>& Commands() const { return m_commands; }
    void Clear() { m_commands.clear(); }

private:
    // Appends a command with what every kind has; the caller sets the rest.
    RenderCommand& Add(RenderOp op, const UIRect& rect, uint32_t argb, const UIRect& clip);

    std::vector<RenderCommand> m_commands;
};

// The intersection of two rectangles (empty: right <= left or bottom <= top).
UIRect IntersectRect(const UIRect& a, const UIRect& b);
inline bool IsRectEmpty(const UIRect& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

}  // namespace DuiLib
