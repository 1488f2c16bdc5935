// Test controls of the stand-ins for the Windows calls (non-Windows builds only).
#pragma once

#include <string>
#include <vector>

#include "winapi/WinTypes.h"

namespace WinApi {
namespace Testing {

struct MessageBoxCall {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
};

// Every message box shown since the last Reset, in order.
std::vector<MessageBoxCall> MessageBoxCalls();

// The path GetModuleFileNameW reports; empty restores the real executable's path.
void SetModuleFileName(const std::wstring& path);

// The folder GetSystemWindowsDirectoryW reports; empty restores "C:\Windows".
void SetWindowsDirectory(const std::wstring& path);
// The folder GetSystemDirectoryW reports (start-up enters it); empty restores
// "C:\Windows\System32".
void SetSystemDirectory(const std::wstring& path);

// The current directory as last set through SetCurrentDirectoryW.
std::wstring CurrentDirectory();

// Open handles of the named mutex in this process (after Reset: only later ones).
int NamedMutexHandles(const std::wstring& name);

// Forgets message boxes and releases every named mutex held by this process.
void Reset();

}  // namespace Testing
}  // namespace WinApi
