// The one place that finds where the program lives: the full path of a
// module's file and the folder that holds it. The path comes from
// WinApi::GetModuleFileNameW (tests set it) in a buffer that grows until the
// whole path fits, so long paths work too.
#pragma once

#include <string>

namespace ModulePath {
// The module's file (the executable for a null module); empty on failure.
std::wstring FilePath(void* module);
// The folder part with its trailing separator, as the path spells it:
// "C:\Orvelle\" for "C:\Orvelle\x.exe", "C:\" for "C:\x.exe"; empty when the
// path has no separator.
std::wstring FolderOf(const std::wstring& filePath);
// FolderOf(FilePath(nullptr)): the executable's folder.
std::wstring ExecutableFolder();
// The folder without its trailing separator, unless it is a root ("C:\",
// "\", "/"), where the separator is what makes it the root.
std::wstring WithoutTrailingSeparator(const std::wstring& folder);
}  // namespace ModulePath
