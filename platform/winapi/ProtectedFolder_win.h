// The protected folder's handle-level calls, for the Windows files (include
// after <windows.h>): a folder made or checked as ProtectedFolder.h says, held
// open by its caller.
#pragma once

#include <cstdint>
#include <string>

namespace WinApi {

// Creates `path` with the protected DACL when it is missing, then opens it as
// itself (a junction or link there is not followed) without sharing its
// deletion and checks it as ProtectedFolderFault does. The handle (the caller
// closes it with CloseHandle), or null with `error` the system error
// (ERROR_ACCESS_DENIED for a folder that is refused) and `cause` the reason
// for the log.
HANDLE OpenProtectedFolder(const std::wstring& path, uint32_t& error, std::wstring& cause);

// Empty when the open `folder` is a folder, no reparse point, owned by SYSTEM
// or the Administrators and holds no allowing entry that lets anyone else
// write; otherwise the reason for the log.
std::wstring ProtectedFolderFault(HANDLE folder);

}  // namespace WinApi
