// The single-instance lock and the check of the first instance's process.
// Another program can create a mutex of the same name (or a window of the same
// class and title) at medium integrity; neither must keep this elevated
// program from starting or make it hand its foreground to a stranger.
// SingleInstance_win.cpp does it with Windows' objects; SingleInstance_posix.cpp
// stands in within this process (see SingleInstanceTesting.h). Main thread.
#pragma once

#include <cstdint>
#include <string>

#include "winapi/WinTypes.h"

namespace WinApi {

struct InstanceLock {
    // The mutex this process holds (release with CloseHandle), or null.
    HANDLE mutex = nullptr;
    // Another instance holds the lock: `mutex` is then an open handle of it.
    bool alreadyRunning = false;
    // The named mutex was someone else's (not owned by SYSTEM or Administrators)
    // and was ignored; the lock then comes from the private namespace.
    bool squatted = false;
    // 0, or the system error of a lock that could not be had at all.
    uint32_t error = 0;
};

// Creates (or opens) the mutex `name`, owned by Administrators and open to
// SYSTEM and Administrators only, initially owned. One that exists but is not
// owned by SYSTEM or Administrators is ignored: the lock is then the mutex of
// that name inside a private namespace bound to Administrators, which only an
// elevated administrator can create or open.
InstanceLock LockSingleInstance(const wchar_t* name);

// True when process `processId` runs the executable at `executablePath`
// (compared without regard to case) with an elevated token; `error` is the
// system error when it cannot be told.
bool IsElevatedProcessOf(uint32_t processId, const std::wstring& executablePath, uint32_t& error);

}  // namespace WinApi
