// Test controls of the process-launch stand-in (non-Windows builds only).
//
// A launch runs the real program mapped to the Windows file name (compared
// without regard to case); an unmapped file fails with error 2 (file not
// found). The parameter text is split at blanks into arguments.
// Windows exit codes are 32 bits but POSIX keeps only 8, so a child may
// report its full code by writing it, as decimal or 0x-hex text, to the file
// named by the environment variable WINAPI_EXIT_CODE_FILE; without it the
// child's own exit status is the code (128 + signal when it was killed).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace WinApi {
namespace Testing {

// What one ShellExecuteExW call was given.
struct LaunchRecord {
    uint32_t cbSize = 0;
    uint32_t fMask = 0;
    bool hasOwnerWindow = false;
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    bool hasDirectory = false;
    int nShow = 0;
    bool comReady = false;  // the calling thread had COM (ComApartment) at the call
};

void MapProgram(const std::wstring& windowsPath, const std::string& realProgram);
// Every later launch fails with this system error (0: launches run again).
void SetLaunchFailure(uint32_t error);
// Every later launch fails while GetLastError reads 0 (false: launches run again).
void SetLaunchFailureWithoutError(bool enabled);
// Every later launch "succeeds" without starting anything or giving a handle.
void SetLaunchWithoutProcessHandle(bool enabled);
// Every later GetExitCodeProcess fails with this error (0: reads work again).
void SetExitCodeReadFailure(uint32_t error);
std::vector<LaunchRecord> LaunchRecords();
// Process handles given out and not yet closed with CloseHandle.
int OpenProcessHandles();
// Forgets mappings, failures and records (open handles stay open).
void ResetProcessLaunch();

}  // namespace Testing
}  // namespace WinApi
