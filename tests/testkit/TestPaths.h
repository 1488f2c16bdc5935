// Where the tests find the repository's files and make their scratch folders.
#pragma once

#include <string>

namespace TestPaths {
// The repository root (the source tree the tests were built from), narrow and wide.
std::string SourceDir();
std::wstring SourceDirW();
// A fresh, empty folder for one test; removed again at process exit.
std::string MakeScratchDir(const std::string& name);
}  // namespace TestPaths
