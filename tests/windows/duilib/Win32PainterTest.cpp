// The Win32 painter executing draw lists into a 32-bit bitmap: colours, clipping,
// translucent blending, frames, rounded corners, circles and text.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "duilib_win32/Win32Painter.h"

namespace {

using DuiLib::CRenderList;
using DuiLib::UIRect;

constexpr int kSize = 64;
const UIRect kAll{0, 0, kSize, kSize};

// A kSize x kSize top-down 32-bit canvas the painter's result is copied to.
class Canvas {
public:
    Canvas() {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kSize;
        info.bmiHeader.biHeight = -kSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits),
                                    nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~Canvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    void Paint(const CRenderList& list) {
        DuiLib::Win32Painter painter;
        RECT all = {0, 0, kSize, kSize};
        painter.Paint(m_dc, kSize, kSize, list, all);
        GdiFlush();
    }
    // 0xRRGGBB at a point.
    uint32_t At(int x, int y) const { return m_bits[y * kSize + x] & 0xFFFFFF; }
    int CountOf(uint32_t rgb, const UIRect& area) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) count += At(x, y) == rgb;
        }
        return count;
    }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
};

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0x0A59F7;

bool Near(uint32_t rgb, int r, int g, int b) {
    return std::abs(int((rgb >> 16) & 0xFF) - r) <= 2 &&
           std::abs(int((rgb >> 8) & 0xFF) - g) <= 2 && std::abs(int(rgb & 0xFF) - b) <= 2;
}

TEST(Win32Painter, OpaqueFillCoversExactlyTheClippedRectangle) {
    CRenderList list;
    list.FillRect(UIRect{10, 10, 30, 30}, 0xFF000000 | kBlue, UIRect{0, 0, 20, kSize});
    Canvas canvas;
    canvas.Paint(list);
    EXPECT_EQ(canvas.At(10, 10), kBlue);
    EXPECT_EQ(canvas.At(19, 29), kBlue);
    EXPECT_EQ(canvas.At(20, 15), kWhite);  // clipped away
    EXPECT_EQ(canvas.At(9, 10), kWhite);
    EXPECT_EQ(canvas.At(10, 30), kWhite);
    EXPECT_EQ(canvas.CountOf(kBlue, kAll), 10 * 20);
}

TEST(Win32Painter, TranslucentFillBlendsOverWhatIsBelow) {
    CRenderList list;
    list.FillRect(UIRect{0, 0, 32, 32}, 0xFF000000, kAll);      // black
    list.FillRect(UIRect{0, 0, kSize, 32}, 0x80FF0000, kAll);   // half red over black and white
    list.FillRect(UIRect{0, 40, kSize, 50}, 0x00FF0000, kAll);  // alpha 0 draws nothing
    Canvas canvas;
    canvas.Paint(list);
    EXPECT_TRUE(Near(canvas.At(5, 5), 128, 0, 0)) << std::hex << canvas.At(5, 5);
    EXPECT_TRUE(Near(canvas.At(40, 5), 255, 127, 127)) << std::hex << canvas.At(40, 5);
    EXPECT_EQ(canvas.At(5, 45), kWhite);
}

TEST(Win32Painter, FrameDrawsOnlyTheEdgesInsideTheRectangle) {
    CRenderList list;
    list.FrameRect(UIRect{10, 10, 40, 40}, 0xFF000000 | kBlue, 2, kAll);
    Canvas canvas;
    canvas.Paint(list);
    EXPECT_EQ(canvas.At(10, 10), kBlue);
    EXPECT_EQ(canvas.At(11, 25), kBlue);
    EXPECT_EQ(canvas.At(39, 39), kBlue);
    EXPECT_EQ(canvas.At(12, 12), kWhite);
    EXPECT_EQ(canvas.At(40, 40), kWhite);
    EXPECT_EQ(canvas.CountOf(kBlue, kAll), 30 * 30 - 26 * 26);
}

TEST(Win32Painter, RoundRectLeavesItsCornersAndDrawsItsBorder) {
    CRenderList list;
    list.RoundRect(UIRect{8, 8, 56, 40}, 8, 0xFF000000 | kBlue, 0xFF000000, 1, kAll);
    list.RoundRect(UIRect{8, 44, 56, 60}, 6, 0x800000FF, 0, 0, kAll);  // translucent, no border
    Canvas canvas;
    canvas.Paint(list);
    EXPECT_EQ(canvas.At(8, 8), kWhite);      // outside the rounded corner
    EXPECT_EQ(canvas.At(32, 24), kBlue);     // inside
    EXPECT_EQ(canvas.At(32, 8), 0x000000u);  // top border
    EXPECT_EQ(canvas.At(8, 44), kWhite);
    EXPECT_TRUE(Near(canvas.At(32, 52), 127, 127, 255)) << std::hex << canvas.At(32, 52);
}

TEST(Win32Painter, CircleIsCentredOnItsPoint) {
    CRenderList list;
    list.FillCircle(32, 32, 10, 0xFF000000 | kBlue, kAll);
    Canvas canvas;
    canvas.Paint(list);
    EXPECT_EQ(canvas.At(32, 32), kBlue);
    EXPECT_EQ(canvas.At(32, 23), kBlue);
    EXPECT_EQ(canvas.At(23, 23), kWhite);  // bounding-box corner
    EXPECT_EQ(canvas.At(32, 44), kWhite);
}

TEST(Win32Painter, TextDrawsInItsColourWithinTheClipOnly) {
    CRenderList list;
    const DuiLib::UIFont font{20, true, false};
    list.Text(UIRect{2, 2, 62, 30}, L"WWWW", font, 0xFF000000, UIRect{0, 0, 32, kSize});
    Canvas canvas;
    canvas.Paint(list);
    int dark = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 32; ++x) dark += canvas.At(x, y) != kWhite;
    }
    EXPECT_GT(dark, 20);
    EXPECT_EQ(canvas.CountOf(kWhite, UIRect{32, 0, kSize, kSize}), 32 * kSize);
}

}  // namespace
