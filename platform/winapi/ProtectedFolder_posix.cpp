// The protected folder stand-in: the folder a test names (none by default).
#include <mutex>

#include "winapi/PosixStandIn.h"
#include "winapi/ProtectedFolder.h"
#include "winapi/ProtectedFolderTesting.h"

namespace WinApi {
namespace {

// Leaked on purpose: detached workers may ask at exit.
std::mutex& Mutex() {
    static std::mutex* const mutex = new std::mutex;
    return *mutex;
}
std::wstring& Folder() {
    static std::wstring* const folder = new std::wstring;
    return *folder;
}

}  // namespace

std::wstring ProtectedProgramDataFolder(const wchar_t* name, uint32_t& error) {
    std::lock_guard<std::mutex> lock(Mutex());
    error = Folder().empty() ? kErrorAccessDenied : 0;
    return Folder().empty() ? std::wstring() : Folder() + L"\\" + name;
}

namespace Testing {
void SetProtectedProgramDataFolder(const std::wstring& orvelleFolder) {
    std::lock_guard<std::mutex> lock(Mutex());
    Folder() = orvelleFolder;
}
}  // namespace Testing

}  // namespace WinApi
