// Folders of the program's that only SYSTEM and the Administrators can change.
// Each is created with a protected DACL (SYSTEM and Administrators full
// control, nothing inherited) when missing; an existing one is taken only when
// it is no reparse point, is owned by SYSTEM or the Administrators and lets no
// one else write. Wine keeps no security on files (it reports the Unix owner
// as this process's user and a DACL made from the Unix mode), so under Wine
// this process's user counts as trusted too. Any thread.
// ProtectedFolder_win.h holds the handle-level calls for the Windows files.
#pragma once

#include <cstdint>
#include <string>

namespace WinApi {

// "<ProgramData>\Orvelle\<name>", where ProgramData is the folder Windows
// names (not the environment's), each level made or checked as above. The
// folder's full path, or empty when no such folder can be had; `error` is then
// the system error (ERROR_ACCESS_DENIED for a folder someone else made).
std::wstring ProtectedProgramDataFolder(const wchar_t* name, uint32_t& error);

}  // namespace WinApi
