// Win32 backend, painting: every RenderOp of the core's render list drawn with
// GDI into the window's back buffer (translucent fills through AlphaBlend),
// clipped per command. Not implemented: images, gradients, anti-aliased shapes.
#include <algorithm>

#include "duilib_win32/Win32Fonts.h"
#include "duilib_win32/Win32Painter.h"

namespace DuiLib {
namespace {

uint8_t Alpha(uint32_t argb) {
    return static_cast<uint8_t>(argb >> 24);
}

COLORREF ToColorRef(uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

RECT ToRect(const UIRect& rc) {
    return RECT{rc.left, rc.top, rc.right, rc.bottom};
}

// Restores the DC's clip region and selections when it goes out of scope.
class ClippedDc {
public:
    ClippedDc(HDC dc, const UIRect& clip) : m_dc(dc), m_saved(SaveDC(dc)) {
        IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    }
    ~ClippedDc() { RestoreDC(m_dc, m_saved); }
    ClippedDc(const ClippedDc&) = delete;
    ClippedDc& operator=(const ClippedDc&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

// Turns a white-on-black coverage mask into `argb` with the mask as extra
// alpha, premultiplied as AlphaBlend wants it.
void PremultiplyCoverage(uint32_t* pixels, int count, uint32_t argb) {
    const uint32_t alpha = Alpha(argb);
    for (int i = 0; i < count; ++i) {
        const uint32_t a = alpha * (pixels[i] & 0xFF) / 255;
        const uint32_t r = ((argb >> 16) & 0xFF) * a / 255;
        const uint32_t g = ((argb >> 8) & 0xFF) * a / 255;
        const uint32_t b = (argb & 0xFF) * a / 255;
        pixels[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
}

// Draws a translucent shape: `draw` paints it in white onto a black 32-bit
// mask in client coordinates; every covered pixel then gets `argb`, blended
// over `target` with AlphaBlend. `bounds` must contain the shape.
template <typename DrawFn>
void BlendShape(HDC target, const UIRect& bounds, const UIRect& clip, uint32_t argb, DrawFn draw) {
    UIRect area = IntersectRect(bounds, clip);
    if (IsRectEmpty(area) || Alpha(argb) == 0) {
        return;
    }
    const int width = area.Width();
    const int height = area.Height();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC mask = CreateCompatibleDC(target);
    HBITMAP bitmap =
        mask ? CreateDIBSection(mask, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!bitmap) {
        if (mask) {
            DeleteDC(mask);
        }
        return;
    }
    HGDIOBJ oldBitmap = SelectObject(mask, bitmap);
    SetViewportOrgEx(mask, -area.left, -area.top, nullptr);
    draw(mask);
    GdiFlush();
    SetViewportOrgEx(mask, 0, 0, nullptr);

    PremultiplyCoverage(static_cast<uint32_t*>(bits), width * height, argb);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(target, area.left, area.top, width, height, mask, 0, 0, width, height, blend);
    SelectObject(mask, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(mask);
}

// A GDI pen and brush selected for one shape, released afterwards.
class ShapeTools {
public:
    ShapeTools(HDC dc, COLORREF penColor, int penWidth, bool fill, COLORREF fillColor)
        : m_dc(dc),
          m_pen(penWidth > 0 ? CreatePen(PS_INSIDEFRAME, penWidth, penColor) : nullptr),
          m_brush(fill ? CreateSolidBrush(fillColor) : nullptr) {
        m_oldPen = SelectObject(dc, m_pen ? static_cast<HGDIOBJ>(m_pen) : GetStockObject(NULL_PEN));
        m_oldBrush =
            SelectObject(dc, m_brush ? static_cast<HGDIOBJ>(m_brush) : GetStockObject(NULL_BRUSH));
    }
    ~ShapeTools() {
        SelectObject(m_dc, m_oldPen);
        SelectObject(m_dc, m_oldBrush);
        if (m_pen) {
            DeleteObject(m_pen);
        }
        if (m_brush) {
            DeleteObject(m_brush);
        }
    }
    ShapeTools(const ShapeTools&) = delete;
    ShapeTools& operator=(const ShapeTools&) = delete;

private:
    HDC m_dc;
    HPEN m_pen;
    HBRUSH m_brush;
    HGDIOBJ m_oldPen = nullptr;
    HGDIOBJ m_oldBrush = nullptr;
};

void DrawRoundRect(HDC dc, const UIRect& rc, int radius, COLORREF penColor, int penWidth, bool fill,
                   COLORREF fillColor) {
    ShapeTools tools(dc, penColor, penWidth, fill, fillColor);
    // Without a pen GDI leaves out the right and bottom edge; extend by one.
    const int extra = penWidth > 0 ? 0 : 1;
    ::RoundRect(dc, rc.left, rc.top, rc.right + extra, rc.bottom + extra, radius * 2, radius * 2);
}

}  // namespace

Win32Painter::~Win32Painter() {
    Release();
}

void Win32Painter::Release() {
    if (m_dc) {
        SelectObject(m_dc, m_oldBitmap);
        DeleteDC(m_dc);
        m_dc = nullptr;
    }
    if (m_bitmap) {
        DeleteObject(m_bitmap);
        m_bitmap = nullptr;
    }
    m_cx = m_cy = 0;
}

bool Win32Painter::EnsureBuffer(HDC target, int cx, int cy) {
    if (m_dc && m_cx == cx && m_cy == cy) {
        return true;
    }
    Release();
    m_dc = CreateCompatibleDC(target);
    m_bitmap = m_dc ? CreateCompatibleBitmap(target, cx, cy) : nullptr;
    if (!m_bitmap) {
        Release();
        return false;
    }
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    m_cx = cx;
    m_cy = cy;
    return true;
}

void Win32Painter::Paint(HDC target, int cx, int cy, const CRenderList& list, const RECT& dirty) {
    if (cx <= 0 || cy <= 0 || !EnsureBuffer(target, cx, cy)) {
        return;
    }
    RECT all = {0, 0, cx, cy};
    FillRect(m_dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(m_dc, TRANSPARENT);
    for (const RenderCommand& command : list.Commands()) {
        Execute(command);
    }
    BitBlt(target, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, m_dc,
           dirty.left, dirty.top, SRCCOPY);
}

void Win32Painter::Execute(const RenderCommand& command) {
    switch (command.op) {
        case RenderOp::FillRect:
            Fill(command.rect, command.color, command.clip);
            break;
        case RenderOp::FrameRect:
            Frame(command.rect, command.color, command.width, command.clip);
            break;
        case RenderOp::RoundRect:
            RoundRect(command);
            break;
        case RenderOp::Text:
            Text(command);
            break;
        case RenderOp::Line:
            Line(command);
            break;
        case RenderOp::FillCircle:
            Circle(command);
            break;
    }
}

void Win32Painter::Fill(const UIRect& rc, uint32_t argb, const UIRect& clip) {
    UIRect area = IntersectRect(rc, clip);
    if (IsRectEmpty(area) || Alpha(argb) == 0) {
        return;
    }
    if (Alpha(argb) == 255) {
        RECT native = ToRect(area);
        SetDCBrushColor(m_dc, ToColorRef(argb));
        FillRect(m_dc, &native, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        return;
    }
    BlendShape(m_dc, area, area, argb, [&](HDC mask) {
        RECT native = ToRect(area);
        FillRect(mask, &native, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    });
}

void Win32Painter::Frame(const UIRect& rc, uint32_t argb, int width, const UIRect& clip) {
    if (width <= 0) {
        return;
    }
    width = std::min(width, std::min(rc.Width(), rc.Height()) / 2 + 1);
    Fill(UIRect{rc.left, rc.top, rc.right, rc.top + width}, argb, clip);
    Fill(UIRect{rc.left, rc.bottom - width, rc.right, rc.bottom}, argb, clip);
    Fill(UIRect{rc.left, rc.top + width, rc.left + width, rc.bottom - width}, argb, clip);
    Fill(UIRect{rc.right - width, rc.top + width, rc.right, rc.bottom - width}, argb, clip);
}

void Win32Painter::RoundRect(const RenderCommand& command) {
    const UIRect& rc = command.rect;
    if (command.radius <= 0) {
        Fill(rc, command.color, command.clip);
        Frame(rc, command.borderColor, command.width, command.clip);
        return;
    }
    const bool fill = Alpha(command.color) > 0;
    const bool border = command.width > 0 && Alpha(command.borderColor) > 0;
    if ((!fill || Alpha(command.color) == 255) && (!border || Alpha(command.borderColor) == 255)) {
        ClippedDc clipped(m_dc, command.clip);
        DrawRoundRect(m_dc, rc, command.radius, ToColorRef(command.borderColor),
                      border ? command.width : 0, fill, ToColorRef(command.color));
        return;
    }
    if (fill) {
        BlendShape(m_dc, rc, command.clip, command.color, [&](HDC mask) {
            DrawRoundRect(mask, rc, command.radius, 0, 0, true, RGB(255, 255, 255));
        });
    }
    if (border) {
        BlendShape(m_dc, rc, command.clip, command.borderColor, [&](HDC mask) {
            DrawRoundRect(mask, rc, command.radius, RGB(255, 255, 255), command.width, false, 0);
        });
    }
}

void Win32Painter::Text(const RenderCommand& command) {
    if (command.text.empty() || Alpha(command.color) == 0 || IsRectEmpty(command.clip)) {
        return;
    }
    HGDIOBJ oldFont = SelectObject(m_dc, Win32Fonts::Get(command.font));
    SetTextColor(m_dc, ToColorRef(command.color));
    RECT clip = ToRect(command.clip);
    ExtTextOutW(m_dc, command.rect.left, command.rect.top, ETO_CLIPPED, &clip, command.text.c_str(),
                static_cast<UINT>(command.text.size()), nullptr);
    SelectObject(m_dc, oldFont);
}

void Win32Painter::Line(const RenderCommand& command) {
    const UIRect& rc = command.rect;
    const int width = std::max(command.width, 1);
    UIRect bounds{std::min(rc.left, rc.right) - width, std::min(rc.top, rc.bottom) - width,
                  std::max(rc.left, rc.right) + width + 1, std::max(rc.top, rc.bottom) + width + 1};
    auto draw = [&](HDC dc, COLORREF color) {
        HPEN pen = CreatePen(PS_SOLID, width, color);
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, rc.left, rc.top, nullptr);
        LineTo(dc, rc.right, rc.bottom);
        SelectObject(dc, old);
        DeleteObject(pen);
    };
    if (Alpha(command.color) == 255) {
        ClippedDc clipped(m_dc, command.clip);
        draw(m_dc, ToColorRef(command.color));
        return;
    }
    BlendShape(m_dc, bounds, command.clip, command.color,
               [&](HDC mask) { draw(mask, RGB(255, 255, 255)); });
}

void Win32Painter::Circle(const RenderCommand& command) {
    const int cx = command.rect.left;
    const int cy = command.rect.top;
    const int r = command.radius;
    if (r <= 0) {
        return;
    }
    UIRect bounds{cx - r, cy - r, cx + r + 1, cy + r + 1};
    auto draw = [&](HDC dc, COLORREF color) {
        ShapeTools tools(dc, color, 0, true, color);
        Ellipse(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    };
    if (Alpha(command.color) == 255) {
        ClippedDc clipped(m_dc, command.clip);
        draw(m_dc, ToColorRef(command.color));
        return;
    }
    BlendShape(m_dc, bounds, command.clip, command.color,
               [&](HDC mask) { draw(mask, RGB(255, 255, 255)); });
}

}  // namespace DuiLib
