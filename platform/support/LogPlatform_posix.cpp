// The logger's system side elsewhere. The folder is checked with lstat and held
// as an O_NOFOLLOW descriptor; every file is opened, renamed and deleted
// relative to that descriptor, never through the folder's path again.
#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "support/LogPlatform.h"
#include "winapi/TextConversion.h"

namespace LogPlatform {

struct LogFolder::Native {
    int fd = -1;
};

namespace {

std::wstring Errno(const wchar_t* call, int error) {
    return std::wstring(call) + L" errno:" + std::to_wstring(error);
}

// A plain file with one link: what the logger may write, move and delete.
bool IsPlainFile(const struct stat& st, std::wstring& cause) {
    if (S_ISLNK(st.st_mode)) {
        cause = L"a symbolic link";
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        cause = L"not a plain file";
        return false;
    }
    if (st.st_nlink != 1) {
        cause = L"a file with " + std::to_wstring(st.st_nlink) + L" links";
        return false;
    }
    return true;
}

// kMissing: no such name; kPlain: checked; kRefused: `cause` says why.
enum class Entry { kMissing, kPlain, kRefused };

Entry CheckEntry(int folder, const std::string& name, std::wstring& cause) {
    struct stat st;
    if (fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return Entry::kMissing;
        cause = Errno(L"fstatat", errno);
        return Entry::kRefused;
    }
    return IsPlainFile(st, cause) ? Entry::kPlain : Entry::kRefused;
}

// A change of the entry `name` that ENOENT leaves done: made only on a plain
// file, and nothing to do when there is no such name.
template <class Change>
bool ChangePlainEntry(int folder, const std::string& name, std::wstring& cause, Change change) {
    switch (CheckEntry(folder, name, cause)) {
        case Entry::kMissing:
            return true;
        case Entry::kRefused:
            return false;
        case Entry::kPlain:
            break;
    }
    return change();
}

}  // namespace

std::filesystem::path StateBaseFolder() {
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

std::unique_ptr<LogFolder> LogFolder::Open(const std::filesystem::path& path, std::wstring& cause) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        cause = Errno(L"mkdir", errno);
        return nullptr;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        cause = errno == ELOOP || errno == ENOTDIR ? L"not a folder (a symbolic link?)"
                                                   : Errno(L"open", errno);
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        cause = Errno(L"fstat", errno);
    } else if (st.st_uid != geteuid() && st.st_uid != 0) {
        cause = L"owned by uid " + std::to_wstring(st.st_uid);
    } else if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        cause = L"writable by others, mode " + std::to_wstring(st.st_mode & 0777);
    } else {
        return std::unique_ptr<LogFolder>(new LogFolder(path, new Native{fd}));
    }
    close(fd);
    return nullptr;
}

LogFolder::~LogFolder() {
    close(m_native->fd);
    delete m_native;
}

std::FILE* LogFolder::OpenForAppend(const std::wstring& name, std::uintmax_t& size,
                                    std::wstring& cause) {
    const std::string file = Strconv::WideToUtf8(name);
    const int fd = openat(m_native->fd, file.c_str(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        cause = errno == ELOOP ? L"a symbolic link" : Errno(L"openat", errno);
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        cause = Errno(L"fstat", errno);
        close(fd);
        return nullptr;
    }
    if (!IsPlainFile(st, cause)) {
        close(fd);
        return nullptr;
    }
    std::FILE* stream = fdopen(fd, "ab");
    if (stream == nullptr) {
        cause = Errno(L"fdopen", errno);
        close(fd);
        return nullptr;
    }
    size = static_cast<std::uintmax_t>(st.st_size);
    return stream;
}

bool LogFolder::Rename(const std::wstring& from, const std::wstring& to, std::wstring& cause) {
    const std::string source = Strconv::WideToUtf8(from);
    const std::string target = Strconv::WideToUtf8(to);
    return ChangePlainEntry(m_native->fd, source, cause, [&] {
        // rename replaces the name `to`, whatever it is; it follows no link.
        if (renameat(m_native->fd, source.c_str(), m_native->fd, target.c_str()) != 0 &&
            errno != ENOENT) {
            cause = Errno(L"renameat", errno);
            return false;
        }
        return true;
    });
}

bool LogFolder::Remove(const std::wstring& name, std::wstring& cause) {
    const std::string file = Strconv::WideToUtf8(name);
    return ChangePlainEntry(m_native->fd, file, cause, [&] {
        if (unlinkat(m_native->fd, file.c_str(), 0) != 0 && errno != ENOENT) {
            cause = Errno(L"unlinkat", errno);
            return false;
        }
        return true;
    });
}

}  // namespace LogPlatform
