#include "duilib/UIRender.h"

#include <algorithm>

namespace DuiLib {

UIRect IntersectRect(const UIRect& a, const UIRect& b) {
    UIRect r;
    r.left = std::max(a.left, b.left);
    r.top = std::max(a.top, b.top);
    r.right = std::min(a.right, b.right);
    r.bottom = std::min(a.bottom, b.bottom);
    if (IsRectEmpty(r)) return UIRect{};
    return r;
}

RenderCommand& CRenderList::Add(RenderOp op, const UIRect& rect, uint32_t argb,
                                const UIRect& clip) {
    RenderCommand c;
    c.op = op;
    c.rect = rect;
    c.clip = clip;
    c.color = argb;
    m_commands.push_back(std::move(c));
    return m_commands.back();
}

void CRenderList::FillRect(const UIRect& rc, uint32_t argb, const UIRect& clip) {
    Add(RenderOp::FillRect, rc, argb, clip);
}

void CRenderList::FrameRect(const UIRect& rc, uint32_t argb, int width, const UIRect& clip) {
    Add(RenderOp::FrameRect, rc, argb, clip).width = width;
}

void CRenderList::RoundRect(const UIRect& rc, int radius, uint32_t fill, uint32_t border, int width,
                            const UIRect& clip) {
    RenderCommand& c = Add(RenderOp::RoundRect, rc, fill, clip);
    c.borderColor = border;
    c.width = width;
    c.radius = radius;
}

void CRenderList::Text(const UIRect& cell, const std::wstring& text, const UIFont& font,
                       uint32_t argb, const UIRect& clip) {
    RenderCommand& c = Add(RenderOp::Text, cell, argb, clip);
    c.text = text;
    c.font = font;
}

void CRenderList::Line(int x1, int y1, int x2, int y2, uint32_t argb, int width,
                       const UIRect& clip) {
    Add(RenderOp::Line, UIRect{x1, y1, x2, y2}, argb, clip).width = width;
}

void CRenderList::FillCircle(int cx, int cy, int radius, uint32_t argb, const UIRect& clip) {
    Add(RenderOp::FillCircle, UIRect{cx, cy, cx, cy}, argb, clip).radius = radius;
}

}  // namespace DuiLib
