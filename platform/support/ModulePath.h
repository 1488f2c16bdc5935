// The full path of a module's file (the executable for a null module),
// through WinApi::GetModuleFileNameW so tests can set it; empty on failure.
#pragma once

#include <string>

namespace ModulePath {
std::wstring FilePath(void* module);
// The folder part, without a trailing separator; empty when there is none.
std::wstring Folder(const std::wstring& filePath);
}  // namespace ModulePath
