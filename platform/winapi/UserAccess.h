// Whether the person at the keyboard, unelevated, may change a file or folder:
// the token Windows links to this elevated one (the same user's filtered,
// medium-integrity token) asked through AccessCheck. UserAccess_win.cpp asks
// Windows; UserAccess_posix.cpp answers as a test says (UserAccessTesting.h).
#pragma once

#include <cstdint>
#include <string>

#include "winapi/WinTypes.h"

namespace WinApi {

// The linked unelevated token, as an identification-level impersonation token
// for AccessCheck (close with CloseHandle). Null when there is none, with
// `error` saying why: the token is not a full elevated one with a linked token
// (UAC off, the built-in Administrator, a process not elevated), or the
// program runs under Wine, whose Windows tokens do not guard its files.
HANDLE OpenLinkedToken(uint32_t& error);

// AccessCheck of `token` against the path's owner, group, DACL and integrity
// label, asking for the most it allows: `mayChange` is true when that includes
// any right that changes it (writing or appending data, which for a folder is
// adding files or folders, deleting children, deleting it, changing its DACL or
// its owner). False with `error` when the path's security cannot be read or
// the check fails.
bool UserMayChange(HANDLE token, const std::wstring& path, bool& mayChange, uint32_t& error);

}  // namespace WinApi
