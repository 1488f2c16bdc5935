// A folder of the program's beneath the program-data folder that only SYSTEM
// and Administrators can change: "<ProgramData>\Orvelle\<name>", where
// ProgramData is the folder Windows names (not the environment's). Each level
// is created with a protected DACL (SYSTEM and Administrators full control,
// nothing inherited) when missing; an existing one is taken only when it is no
// reparse point, is owned by SYSTEM or Administrators and lets no one else
// write. Any thread.
#pragma once

#include <cstdint>
#include <string>

namespace WinApi {

// The folder's full path, or empty when no such folder can be had; `error` is
// then the system error (ERROR_ACCESS_DENIED for a folder someone else made).
std::wstring ProtectedProgramDataFolder(const wchar_t* name, uint32_t& error);

}  // namespace WinApi
