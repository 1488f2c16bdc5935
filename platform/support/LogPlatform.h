// What the logger needs from the system: where per-user state lives, the
// calling thread's number and the local time. One file per platform.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace LogPlatform {
// %LOCALAPPDATA% on Windows; $XDG_STATE_HOME or ~/.local/state elsewhere.
// Empty when it cannot be determined.
std::filesystem::path PerUserStateFolder();
std::uint64_t CurrentThreadNumber();
std::tm LocalTime(std::time_t when);
// The file opened for appending bytes; null on failure.
std::FILE* OpenForAppend(const std::filesystem::path& path);
}  // namespace LogPlatform
