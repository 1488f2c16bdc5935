// Starting a program through the shell and waiting for it: thin functions
// over ShellExecuteExW, WaitForSingleObject and GetExitCodeProcess. The
// process handle is released with WinApi::CloseHandle. ProcessLaunch_win.cpp
// forwards to Windows; ProcessLaunch_posix.cpp runs a real child process
// (see ProcessLaunchTesting.h for how a Windows program path is mapped).
#pragma once

#include <cstdint>

#include "winapi/WinTypes.h"

namespace WinApi {

constexpr uint32_t kSeeMaskNoCloseProcess = 0x40;  // SEE_MASK_NOCLOSEPROCESS
constexpr int kSwShow = 5;                         // SW_SHOW
constexpr uint32_t kInfinite = 0xFFFFFFFF;         // INFINITE
constexpr uint32_t kWaitObject0 = 0;               // WAIT_OBJECT_0
constexpr uint32_t kWaitTimeout = 258;             // WAIT_TIMEOUT
constexpr uint32_t kWaitFailed = 0xFFFFFFFF;       // WAIT_FAILED
constexpr uint32_t kStillActive = 259;             // STILL_ACTIVE

// The members of SHELLEXECUTEINFOW that the program sets; every other member
// of the real record is zero. cbSize is the real record's size (112 on x64).
struct ShellExecuteRecord {
    uint32_t cbSize = 0;
    uint32_t fMask = 0;
    HWND hwnd = nullptr;
    const wchar_t* lpVerb = nullptr;
    const wchar_t* lpFile = nullptr;
    const wchar_t* lpParameters = nullptr;
    const wchar_t* lpDirectory = nullptr;
    int nShow = 0;
    HANDLE hProcess = nullptr;  // out: with kSeeMaskNoCloseProcess; may stay null
};

// The size of the real SHELLEXECUTEINFOW on this build's target.
uint32_t ShellExecuteRecordSize();

// Non-zero: started (record->hProcess may still be null). Zero: nothing was
// started and GetLastError gives the reason (1223: elevation declined).
BOOL ShellExecuteExW(ShellExecuteRecord* record);
// kWaitObject0 once the process has ended; kWaitTimeout; kWaitFailed (and
// the last error) for a null or invalid handle.
uint32_t WaitForSingleObject(HANDLE handle, uint32_t milliseconds);
// Non-zero with the exit code (kStillActive while it runs); zero on failure.
BOOL GetExitCodeProcess(HANDLE process, uint32_t* exitCode);

}  // namespace WinApi
