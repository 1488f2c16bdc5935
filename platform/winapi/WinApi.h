// Thin functions over the Windows system calls that start-up and the hotfix service use
// (the calls on windows are the toolkit's: duilib/UIWindowApi.h).
// WinApi_win.cpp forwards to the real calls; WinApi_posix.cpp stands in for
// them elsewhere with the results the program relies on (see WinApiTesting.h).
#pragma once

#include <cstdint>
#include <string>

#include "winapi/WinTypes.h"

namespace WinApi {

// Creates or opens a named mutex; returns null on failure. The last error
// (GetLastError) is set as Windows sets it: 183 when the name already existed.
HANDLE CreateMutexW(void* securityAttributes, BOOL initialOwner, const wchar_t* name);
uint32_t GetLastError();
BOOL CloseHandle(HANDLE handle);

BOOL SetCurrentDirectoryW(const wchar_t* path);
// Modal message box; returns when dismissed.
int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// Full path of the running executable (GetModuleFileNameW with no module).
uint32_t GetModuleFileNameW(void* module, wchar_t* buffer, uint32_t size);
// The system's Windows folder ("C:\Windows"; on a Remote Desktop Session Host
// too, where GetWindowsDirectoryW is a folder of the user's own): its length,
// or the size needed when the buffer is too small, or 0 on failure.
uint32_t GetSystemWindowsDirectoryW(wchar_t* buffer, uint32_t size);
// The system folder ("C:\Windows\System32"), the same way.
uint32_t GetSystemDirectoryW(wchar_t* buffer, uint32_t size);

// SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32): from now on DLLs are
// looked up in System32 only, never in the current or the executable's folder.
// 0, or the system error when the search could not be restricted.
uint32_t RestrictDllSearchToSystem32();
// RedirectionGuard (ProcessRedirectionTrustPolicy, EnforceRedirectionTrust):
// from now on the process follows no junction that a non-administrator made.
// 0, or the system error where Windows lacks it (older versions, Wine).
uint32_t EnforceRedirectionTrust();

// Whether the program runs under Wine (its ntdll exports wine_get_version),
// whose files keep no Windows security and whose tokens do not guard them.
// False elsewhere.
bool RunsUnderWine();

}  // namespace WinApi
