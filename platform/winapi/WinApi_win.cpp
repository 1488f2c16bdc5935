// The Windows system calls, forwarded as they are. The calls on windows are
// the toolkit's (duilib/UIWindowApi.h).

#include <windows.h>

#include "winapi/WinApi.h"

namespace WinApi {

HANDLE CreateMutexW(void* securityAttributes, BOOL initialOwner, const wchar_t* name) {
    return ::CreateMutexW(static_cast<LPSECURITY_ATTRIBUTES>(securityAttributes), initialOwner,
                          name);
}

uint32_t GetLastError() {
    return ::GetLastError();
}

BOOL CloseHandle(HANDLE handle) {
    return ::CloseHandle(handle);
}

BOOL SetCurrentDirectoryW(const wchar_t* path) {
    return ::SetCurrentDirectoryW(path);
}

int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    return ::MessageBoxW(owner, text, caption, type);
}

uint32_t GetModuleFileNameW(void* module, wchar_t* buffer, uint32_t size) {
    return ::GetModuleFileNameW(static_cast<HMODULE>(module), buffer, size);
}

uint32_t GetSystemWindowsDirectoryW(wchar_t* buffer, uint32_t size) {
    return ::GetSystemWindowsDirectoryW(buffer, size);
}

uint32_t GetSystemDirectoryW(wchar_t* buffer, uint32_t size) {
    return ::GetSystemDirectoryW(buffer, size);
}

bool RunsUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace WinApi
