// Executes the core's draw list (CRenderList) with GDI into a back buffer and
// copies the result to the window in one BitBlt, so a repaint never flickers.
// Opaque shapes are drawn with GDI directly; translucent ones (hover tints) are
// drawn as a coverage mask and blended with AlphaBlend. No anti-aliasing.
// One per window; UI thread only.
#pragma once

#include <windows.h>

#include "duilib/UIRender.h"

namespace DuiLib {

class Win32Painter {
public:
    Win32Painter() = default;
    ~Win32Painter();
    Win32Painter(const Win32Painter&) = delete;
    Win32Painter& operator=(const Win32Painter&) = delete;

    // Draws `list` over a white client area of cx x cy and copies `dirty` to `target`.
    void Paint(HDC target, int cx, int cy, const CRenderList& list, const RECT& dirty);
    // Frees the back buffer (the window is going away).
    void Release();

private:
    bool EnsureBuffer(HDC target, int cx, int cy);
    void Execute(const RenderCommand& command);
    void Fill(const UIRect& rc, uint32_t argb, const UIRect& clip);
    void Frame(const UIRect& rc, uint32_t argb, int width, const UIRect& clip);
    void RoundRect(const RenderCommand& command);
    void Text(const RenderCommand& command);
    void Line(const RenderCommand& command);
    void Circle(const RenderCommand& command);

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    int m_cx = 0;
    int m_cy = 0;
};

}  // namespace DuiLib
