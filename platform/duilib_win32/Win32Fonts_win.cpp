// Win32 backend, fonts and text measurement: the system UI face at the pixel
// heights the core asks for, created once per (size, bold, underline) and kept.
// The face is the user's message font (Segoe UI, or Microsoft YaHei UI, Yu Gothic
// UI ... in those languages); the core's sizes are already scaled to the window's
// DPI. Characters the face lacks (CJK text under Segoe UI) come from the system's
// font linking, which GDI applies to GetTextExtentPoint32W and ExtTextOutW alike,
// so what is measured is what is drawn.
#include <vector>

#include "duilib/UIBackend.h"
#include "duilib_win32/Win32Fonts.h"

namespace DuiLib {
namespace Win32Fonts {
namespace {

struct CachedFont {
    UIFont font;
    HFONT handle;
};

LOGFONTW SystemMessageFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return metrics.lfMessageFont;
    }
    LOGFONTW fallback = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
    return fallback;
}

// A small DC for measuring only; it never draws, so it needs no bitmap.
HDC MeasureDc() {
    static HDC dc = CreateCompatibleDC(nullptr);
    return dc;
}

}  // namespace

HFONT Get(const UIFont& font) {
    static std::vector<CachedFont> cache;
    for (const CachedFont& cached : cache) {
        if (cached.font == font) {
            return cached.handle;
        }
    }
    static const LOGFONTW base = SystemMessageFont();
    LOGFONTW face = base;
    face.lfHeight = -(font.size > 0 ? font.size : 1);  // character height, not cell height
    face.lfWidth = 0;
    face.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    face.lfUnderline = font.underline ? TRUE : FALSE;
    face.lfQuality = CLEARTYPE_QUALITY;
    HFONT handle = CreateFontIndirectW(&face);
    if (!handle) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    cache.push_back({font, handle});
    return handle;
}

}  // namespace Win32Fonts

namespace Backend {

UISize MeasureText(const std::wstring& text, const UIFont& font) {
    HDC dc = Win32Fonts::MeasureDc();
    UISize size;
    if (!dc) {
        return size;
    }
    HGDIOBJ old = SelectObject(dc, Win32Fonts::Get(font));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SIZE extent = {};
    if (!text.empty()) {
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    }
    SelectObject(dc, old);
    size.cx = extent.cx;
    size.cy = metrics.tmHeight;
    return size;
}

}  // namespace Backend
}  // namespace DuiLib
