// Test controls of the process-launch stand-in (non-Windows builds only).
//
// A launch runs the real program mapped to the Windows file name (compared
// without regard to case); an unmapped file fails with error 2 (file not
// found). The command line after its first word (the program) is split at
// blanks into arguments.
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

// What one CreateProcessW call was given.
struct LaunchRecord {
    std::wstring application;
    std::wstring commandLine;
    std::wstring currentDirectory;
    // The command line after the quoted program path; "<not quoted>" when it
    // does not begin with that.
    std::wstring Parameters() const {
        const std::wstring quoted = L"\"" + application + L"\"";
        return commandLine.compare(0, quoted.size(), quoted) == 0
                   ? commandLine.substr(quoted.size())
                   : L"<not quoted>";
    }
};

void MapProgram(const std::wstring& windowsPath, const std::string& realProgram);
// Every later launch fails with this system error (0: launches run again).
void SetLaunchFailure(uint32_t error);
// Every later launch fails while GetLastError reads 0 (false: launches run again).
void SetLaunchFailureWithoutError(bool enabled);
// Every later GetExitCodeProcess fails with this error (0: reads work again).
void SetExitCodeReadFailure(uint32_t error);
std::vector<LaunchRecord> LaunchRecords();
// Process handles given out and not yet closed with CloseHandle.
int OpenProcessHandles();
// Forgets mappings, failures and records (open handles stay open).
void ResetProcessLaunch();

}  // namespace Testing
}  // namespace WinApi
