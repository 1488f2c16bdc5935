#include <windows.h>

#include <vector>

#include "winapi/ProcessLaunch.h"

namespace WinApi {

BOOL CreateProcessW(const ProcessStart& start, HANDLE* process) {
    *process = nullptr;
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::vector<wchar_t> commandLine(start.commandLine.begin(), start.commandLine.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started;
    ZeroMemory(&started, sizeof(started));
    if (!::CreateProcessW(start.application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, start.currentDirectory.c_str(), &startup, &started))
        return FALSE;
    ::CloseHandle(started.hThread);
    *process = started.hProcess;
    return TRUE;
}

uint32_t WaitForSingleObject(HANDLE handle, uint32_t milliseconds) {
    return ::WaitForSingleObject(handle, milliseconds);
}

BOOL GetExitCodeProcess(HANDLE process, uint32_t* exitCode) {
    DWORD code = 0;
    const BOOL read = ::GetExitCodeProcess(process, &code);
    if (read) *exitCode = code;
    return read;
}

}  // namespace WinApi
