// The control query: where a named control of a toolkit window is, asked from
// another process. The end-to-end tests use it to click the real program's
// controls by name. It is read-only and answers with geometry only.
//
// Request: WM_COPYDATA with dwData = kRectQuery and the control name as UTF-16
// (no terminator, at most kMaxNameChars). Answer (the message result): 0 when the
// window has no such control shown (it and its ancestors visible, not clipped
// away); otherwise its visible client rectangle, physical pixels, packed as
// left | top << 16 | right << 32 | bottom << 48.
// Windows' message filter only lets equal or higher integrity processes send it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace DuiLib {

class CPaintManagerUI;

namespace Win32ControlQuery {

constexpr ULONG_PTR kRectQuery = 0x44554952;  // "DUIR"
constexpr size_t kMaxNameChars = 128;

// The window side (UI thread): true when `lParam` of a WM_COPYDATA is a query,
// with the answer in `result`.
bool Answer(CPaintManagerUI* manager, LPARAM lParam, LRESULT& result);

// The asking side: the control's client rectangle; false when absent or hidden.
inline bool Ask(HWND window, const std::wstring& name, RECT& rect) {
    if (name.empty() || name.size() > kMaxNameChars) {
        return false;
    }
    COPYDATASTRUCT request = {kRectQuery, static_cast<DWORD>(name.size() * sizeof(wchar_t)),
                              const_cast<wchar_t*>(name.data())};
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request),
                             SMTO_ABORTIFHUNG, 5000, &answer) ||
        answer == 0) {
        return false;
    }
    const uint64_t packed = answer;
    rect.left = static_cast<LONG>(packed & 0xFFFF);
    rect.top = static_cast<LONG>((packed >> 16) & 0xFFFF);
    rect.right = static_cast<LONG>((packed >> 32) & 0xFFFF);
    rect.bottom = static_cast<LONG>((packed >> 48) & 0xFFFF);
    return true;
}

}  // namespace Win32ControlQuery
}  // namespace DuiLib
