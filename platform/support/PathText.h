// Wide text <-> filesystem paths without locale surprises: Windows paths are
// UTF-16 already; elsewhere paths are bytes, taken as UTF-8. One file per platform.
#pragma once

#include <filesystem>
#include <string>

namespace PathText {
std::filesystem::path FromWide(const std::wstring& text);
std::wstring ToWide(const std::filesystem::path& path);
// The program names its folders Windows-style ("res\values\"); elsewhere the
// backslashes become the system's separator.
std::wstring NativeSeparators(std::wstring path);
}  // namespace PathText
