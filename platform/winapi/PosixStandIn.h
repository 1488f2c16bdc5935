// Shared machinery of the non-Windows stand-ins (only *_posix.cpp files
// include this): Windows error codes, the calling thread's last error and a
// table of handles. The table is never destroyed, so detached threads may
// still use handles while the process exits.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "winapi/WinTypes.h"

namespace WinApi {

// The Windows error codes the stand-ins set or return.
constexpr std::uint32_t kErrorFileNotFound = 2;          // ERROR_FILE_NOT_FOUND
constexpr std::uint32_t kErrorAccessDenied = 5;          // ERROR_ACCESS_DENIED
constexpr std::uint32_t kErrorInvalidHandle = 6;         // ERROR_INVALID_HANDLE
constexpr std::uint32_t kErrorGenFailure = 31;           // ERROR_GEN_FAILURE
constexpr std::uint32_t kErrorInvalidParameter = 87;     // ERROR_INVALID_PARAMETER
constexpr std::uint32_t kErrorInsufficientBuffer = 122;  // ERROR_INSUFFICIENT_BUFFER

namespace PosixStandIn {

void SetLastError(std::uint32_t error);

// A stand-in's state, used from any thread: Locked() hands it over under its
// lock for as long as the returned access lives. Leaked() is never destroyed,
// so detached threads may still use it while the process exits.
template <typename T>
class Guarded {
public:
    class Access {
    public:
        Access(std::mutex& mutex, T& value) : m_lock(mutex), m_value(value) {}
        T* operator->() const { return &m_value; }
        T& operator*() const { return m_value; }
        // For a condition variable's wait.
        std::unique_lock<std::mutex>& Lock() { return m_lock; }

    private:
        std::unique_lock<std::mutex> m_lock;
        T& m_value;
    };

    static Guarded& Leaked() {
        static Guarded* const guarded = new Guarded;
        return *guarded;
    }
    Access Locked() { return Access(m_mutex, m_value); }

private:
    std::mutex m_mutex;
    T m_value;
};

// Something a HANDLE refers to; Close runs once, when its handle is closed.
class HandleObject {
public:
    virtual ~HandleObject() = default;
    virtual void Close() {}
};

HANDLE RegisterHandle(std::shared_ptr<HandleObject> object);
// Null when the handle is unknown or already closed.
std::shared_ptr<HandleObject> FindHandle(HANDLE handle);
// Removes the handle; null when it was unknown.
std::shared_ptr<HandleObject> TakeHandle(HANDLE handle);

// A named mutex of this process's table (CreateMutexW creates one that no SD
// gives to Administrators). `existed`: the name was open before; `byAdministrators`:
// its creator made it Administrators' own.
HANDLE CreateNamedMutex(const std::wstring& name, bool administratorsOwn, bool& existed,
                        bool& byAdministrators);

// In a forked child before exec: no descriptor above stderr reaches the new
// program (as Windows launches pass no handles on). Async-signal-safe.
void CloseInheritedDescriptorsOnExec(int highestDescriptor);
// The highest descriptor number worth marking; call before fork.
int HighestDescriptor();
// The parent's side of a close-on-exec pipe whose write end a forked child
// uses to send errno when exec fails: 0 when exec succeeded (the pipe closed
// without data), else that errno. Closes the read end.
int AwaitExecOutcome(int readDescriptor);

}  // namespace PosixStandIn
}  // namespace WinApi
