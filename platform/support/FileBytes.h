// Reads a whole file by its wide path (UTF-16 on Windows, UTF-8 bytes elsewhere).
#pragma once

#include <filesystem>
#include <string>

namespace FileBytes {
// False when the file cannot be opened or read; `bytes` is then empty.
bool ReadAll(const std::filesystem::path& path, std::string& bytes);
}  // namespace FileBytes
