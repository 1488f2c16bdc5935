// The process's DLL search order (see WinApi::RestrictDllSearchToSystem32).
#include <windows.h>
// (first: the other Windows headers build on it)
#include "winapi/WinApi.h"

namespace WinApi {

uint32_t RestrictDllSearchToSystem32() {
    return ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) ? 0 : ::GetLastError();
}

}  // namespace WinApi
