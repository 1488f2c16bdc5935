// The UI thread's message loops and the hidden message-only window that wakes
// them for the main-thread queue (UIMainQueue). Included by duilib_win32/*_win.cpp.
#pragma once

#include <windows.h>

namespace DuiLib {
namespace Win32Loop {

// UI thread: creates the queue's wake-up window once (the first caller's thread
// becomes the UI thread). Safe to call often.
void EnsureQueueWindow();
// The module whose resources and window classes the toolkit uses.
HINSTANCE Instance();

}  // namespace Win32Loop
}  // namespace DuiLib
