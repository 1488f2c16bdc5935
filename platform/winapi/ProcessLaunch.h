// Starting a program and waiting for it: thin functions over CreateProcessW,
// WaitForSingleObject and GetExitCodeProcess. No shell takes part, so no verb
// or file association of the user's can redirect the start. The process handle
// is released with WinApi::CloseHandle. ProcessLaunch_win.cpp forwards to
// Windows; ProcessLaunch_posix.cpp runs a real child process (see
// ProcessLaunchTesting.h for how a Windows program path is mapped).
#pragma once

#include <cstdint>
#include <string>

#include "winapi/WinTypes.h"

namespace WinApi {

constexpr uint32_t kInfinite = 0xFFFFFFFF;    // INFINITE
constexpr uint32_t kWaitObject0 = 0;          // WAIT_OBJECT_0
constexpr uint32_t kWaitTimeout = 258;        // WAIT_TIMEOUT
constexpr uint32_t kWaitFailed = 0xFFFFFFFF;  // WAIT_FAILED
constexpr uint32_t kStillActive = 259;        // STILL_ACTIVE

// What CreateProcessW is given: the program by its full path (never looked up
// through the search path), the whole command line (the quoted program path
// first) and the folder the program starts in. Handles are never inherited.
struct ProcessStart {
    std::wstring application;
    std::wstring commandLine;
    std::wstring currentDirectory;
};

// Non-zero: started, and `process` holds its handle (the thread's is closed).
// Zero: nothing was started and GetLastError gives the reason.
BOOL CreateProcessW(const ProcessStart& start, HANDLE* process);
// kWaitObject0 once the process has ended; kWaitTimeout; kWaitFailed (and
// the last error) for a null or invalid handle.
uint32_t WaitForSingleObject(HANDLE handle, uint32_t milliseconds);
// Non-zero with the exit code (kStillActive while it runs); zero on failure.
BOOL GetExitCodeProcess(HANDLE process, uint32_t* exitCode);

}  // namespace WinApi
