// Wide text <-> filesystem paths without locale surprises: Windows paths are
// UTF-16 already; elsewhere paths are bytes, taken as UTF-8.
#pragma once

#include <filesystem>
#include <string>

namespace PathText {
std::filesystem::path FromWide(const std::wstring& text);
std::wstring ToWide(const std::filesystem::path& path);
}  // namespace PathText
