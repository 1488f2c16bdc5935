// Win32 backend, tooltips: one standard tooltip window (TOOLTIPS_CLASS) per
// toolkit window, tracking and placed by us (TTF_TRACK | TTF_ABSOLUTE), since the
// core decides when and for what a tip shows. It looks and reads like every other
// tooltip of the system: its font, colours, theme, and wrapping of long texts.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "duilib_win32/Win32Dpi.h"
#include "duilib_win32/Win32Window.h"
#include "support/KtLogger.h"

namespace DuiLib {
namespace {

constexpr UINT_PTR kToolId = 1;
constexpr int kMaxTipWidth = 400;  // unscaled: longer texts wrap

TTTOOLINFOW ToolInfo(HWND owner, const std::wstring* text) {
    TTTOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    info.hwnd = owner;
    info.uId = kToolId;
    info.lpszText = text ? const_cast<wchar_t*>(text->c_str()) : nullptr;
    return info;
}

}  // namespace

unsigned Backend::GetHoverTimeMs() {
    UINT ms = 0;
    if (!SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &ms, 0) || ms == 0) {
        ms = HOVER_DEFAULT;
    }
    return ms;
}

void Win32WindowBackend::ShowToolTip(const std::wstring& text, const UIRect& anchor) {
    if (!m_hwnd || text.empty()) {
        return;
    }
    if (!m_toolTip) {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        m_toolTip =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr, nullptr, nullptr);
        if (!m_toolTip) {
            KT_LOG(LOG_ERROR, "create tooltip fail, error " << GetLastError(),
                   "Win32WindowBackend::ShowToolTip");
            return;
        }
        TTTOOLINFOW info = ToolInfo(m_hwnd, &text);
        SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    const unsigned dpi = Win32Dpi::ForWindow(m_hwnd);
    SendMessageW(m_toolTip, TTM_SETMAXTIPWIDTH, 0, MulDiv(kMaxTipWidth, static_cast<int>(dpi), 96));
    TTTOOLINFOW info = ToolInfo(m_hwnd, &text);
    SendMessageW(m_toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    // Just below the control, from its left edge, as an in-place tip.
    POINT at = {anchor.left, anchor.bottom + MulDiv(2, static_cast<int>(dpi), 96)};
    ClientToScreen(m_hwnd, &at);
    SendMessageW(m_toolTip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(m_toolTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

void Win32WindowBackend::HideToolTip() {
    if (m_toolTip) {
        TTTOOLINFOW info = ToolInfo(m_hwnd, nullptr);
        SendMessageW(m_toolTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
    }
}

}  // namespace DuiLib
