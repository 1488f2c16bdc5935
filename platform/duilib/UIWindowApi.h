// Calls on native top-level windows that the program makes outside its own
// window objects: finding the first instance's main window and its process,
// restoring and raising it, a window's title, holding a sign-out or shutdown and the quit message.
// The linked backend serves them: real windows on Windows, the headless windows in tests. UI
// thread.
#pragma once

#include <cstdint>

#include "winapi/WinTypes.h"

namespace DuiLib {
namespace WindowApi {

// Top-level window by exact class name and title; null when there is none.
HWND FindWindowW(const wchar_t* className, const wchar_t* title);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// SendMessageTimeoutW with SMTO_ABORTIFHUNG: gives up on a hung window and
// after `milliseconds`; zero when the message was not handled in time.
LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            UINT milliseconds);
// The id of the process that made the window; 0 when there is no such window.
uint32_t GetWindowProcessId(HWND window);
BOOL SetForegroundWindow(HWND window);
BOOL SetWindowTextW(HWND window, const wchar_t* text);
void PostQuitMessage(int exitCode);
// Windows shows `reason` while this window holds a sign-out or shutdown (the
// window answers WM_QUERYENDSESSION with FALSE meanwhile); Destroy releases it.
// The window's own thread only.
BOOL ShutdownBlockReasonCreate(HWND window, const wchar_t* reason);
BOOL ShutdownBlockReasonDestroy(HWND window);

}  // namespace WindowApi
}  // namespace DuiLib
