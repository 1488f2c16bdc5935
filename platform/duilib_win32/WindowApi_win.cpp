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

LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            UINT milliseconds) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, milliseconds,
                                 &result);
}

uint32_t GetWindowProcessId(HWND window) {
    DWORD processId = 0;
    return ::GetWindowThreadProcessId(window, &processId) != 0 ? processId : 0;
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
