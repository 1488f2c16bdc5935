#include <windows.h>
// (first: the other Windows headers build on it)
#include <shellapi.h>

#include "winapi/ProcessLaunch.h"

namespace WinApi {

uint32_t ShellExecuteRecordSize() {
    return sizeof(SHELLEXECUTEINFOW);
}

BOOL ShellExecuteExW(ShellExecuteRecord* record) {
    SHELLEXECUTEINFOW info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = record->cbSize;
    info.fMask = record->fMask;
    info.hwnd = record->hwnd;
    info.lpVerb = record->lpVerb;
    info.lpFile = record->lpFile;
    info.lpParameters = record->lpParameters;
    info.lpDirectory = record->lpDirectory;
    info.nShow = record->nShow;
    const BOOL started = ::ShellExecuteExW(&info);
    record->hProcess = info.hProcess;
    return started;
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
