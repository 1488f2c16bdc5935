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

void CRenderList::FillRect(const UIRect& rc, uint32_t argb, const UIRect& clip) {
    RenderCommand c;
    c.op = RenderOp::FillRect;
    c.rect = rc;
    c.clip = clip;
    c.color = argb;
    m_commands.push_back(std::move(c));
}

void CRenderList::FrameRect(const UIRect& rc, uint32_t argb, int width, const UIRect& clip) {
    RenderCommand c;
    c.op = RenderOp::FrameRect;
    c.rect = rc;
    c.clip = clip;
    c.color = argb;
    c.width = width;
    m_commands.push_back(std::move(c));
}

void CRenderList::RoundRect(const UIRect& rc, int radius, uint32_t fill, uint32_t border, int width,
                            const UIRect& clip) {
    RenderCommand c;
    c.op = RenderOp::RoundRect;
    c.rect = rc;
    c.clip = clip;
    c.color = fill;
    c.borderColor = border;
    c.width = width;
    c.radius = radius;
    m_commands.push_back(std::move(c));
}

void CRenderList::Text(const UIRect& cell, const std::wstring& text, const UIFont& font,
                       uint32_t argb, const UIRect& clip) {
    RenderCommand c;
    c.op = RenderOp::Text;
    c.rect = cell;
    c.clip = clip;
    c.color = argb;
    c.text = text;
    c.font = font;
    m_commands.push_back(std::move(c));
}

void CRenderList::Line(int x1, int y1, int x2, int y2, uint32_t argb, int width,
                       const UIRect& clip) {
    RenderCommand c;
    c.op = RenderOp::Line;
    c.rect = UIRect{x1, y1, x2, y2};
    c.clip = clip;
    c.color = argb;
    c.width = width;
    m_commands.push_back(std::move(c));
}

void CRenderList::FillCircle(int cx, int cy, int radius, uint32_t argb, const UIRect& clip) {
    RenderCommand c;
    c.op = RenderOp::FillCircle;
    c.rect = UIRect{cx, cy, cx, cy};
    c.clip = clip;
    c.color = argb;
    c.radius = radius;
    m_commands.push_back(std::move(c));
}

}  // namespace DuiLib
