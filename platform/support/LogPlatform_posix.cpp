#include <pwd.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>

#include "support/LogPlatform.h"

namespace LogPlatform {

std::filesystem::path PerUserStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return state;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* entry = getpwuid(getuid());
        home = entry != nullptr ? entry->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') return {};
    return std::filesystem::path(home) / ".local" / "state";
}

std::uint64_t CurrentThreadNumber() {
    return static_cast<std::uint64_t>(syscall(SYS_gettid));
}

std::tm LocalTime(std::time_t when) {
    std::tm parts{};
    localtime_r(&when, &parts);
    return parts;
}

std::FILE* OpenForAppend(const std::filesystem::path& path) {
    return std::fopen(path.c_str(), "ab");
}

}  // namespace LogPlatform
