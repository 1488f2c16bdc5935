// Win32 backend: the calls of UIWindowApi.h on real top-level windows, forwarded as they are.
#include <windows.h>

#include "duilib/UIWindowApi.h"

namespace DuiLib {
namespace WindowApi {

HWND FindWindowW(const wchar_t* className, const wchar_t* title) {
    return ::FindWindowW(className, title);
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(window, message, wParam, lParam);
}

BOOL SetForegroundWindow(HWND window) {
    return ::SetForegroundWindow(window);
}

BOOL SetWindowTextW(HWND window, const wchar_t* text) {
    return ::SetWindowTextW(window, text);
}

void PostQuitMessage(int exitCode) {
    ::PostQuitMessage(exitCode);
}

BOOL ShutdownBlockReasonCreate(HWND window, const wchar_t* reason) {
    return ::ShutdownBlockReasonCreate(window, reason);
}

BOOL ShutdownBlockReasonDestroy(HWND window) {
    return ::ShutdownBlockReasonDestroy(window);
}

}  // namespace WindowApi
}  // namespace DuiLib
