// What the logger needs from the system: the machine-wide folder its logs go
// beneath, a log folder that nothing unprivileged can redirect, the calling
// thread's number and the local time. One file per platform.
//
// The program runs elevated, so a log folder that another user (or the same
// user's unelevated programs) could change would let them steer where it
// writes, renames and deletes: a junction or symbolic link for the folder, a
// link for a log file. LogFolder refuses both, and it handles the files by
// handle (Windows) or relative to the folder's descriptor (elsewhere), so what
// was checked is what is written, moved and deleted.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

namespace LogPlatform {

// %ProgramData% on Windows (the machine's fixed known folder, never an
// environment variable); $XDG_STATE_HOME or ~/.local/state elsewhere. Empty
// when it cannot be determined.
std::filesystem::path StateBaseFolder();
std::uint64_t CurrentThreadNumber();
std::tm LocalTime(std::time_t when);

// One folder the logger writes in, held open for as long as the object lives
// (on Windows without sharing its deletion, so it cannot be moved away).
class LogFolder {
public:
    // The folder at `path`. Missing, it is created so that only SYSTEM and the
    // Administrators have access, inheriting nothing (elsewhere: mode 0700).
    // Present, it must be a folder and not a reparse point or symbolic link,
    // owned by SYSTEM or the Administrators (elsewhere: this user or root),
    // with no access that lets anyone else write (elsewhere: no group or other
    // write bit). Null otherwise, with the reason in `cause`.
    static std::unique_ptr<LogFolder> Open(const std::filesystem::path& path, std::wstring& cause);
    ~LogFolder();
    LogFolder(const LogFolder&) = delete;
    LogFolder& operator=(const LogFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // The file `name` in this folder, created when missing, for appending;
    // `size` is its length. Refuses (null, with `cause`) anything but a plain
    // file with a single link: no symbolic link, reparse point or hard link.
    std::FILE* OpenForAppend(const std::wstring& name, std::uintmax_t& size, std::wstring& cause);
    // Renames `from` to `to` in this folder, replacing `to` (a link there is
    // replaced, never followed). True when done or `from` is missing; false,
    // with `cause`, when `from` is not a plain file with a single link.
    bool Rename(const std::wstring& from, const std::wstring& to, std::wstring& cause);
    // Deletes `name`, refusing as Rename does; true when done or missing.
    bool Remove(const std::wstring& name, std::wstring& cause);

    struct Native;

private:
    LogFolder(std::filesystem::path path, Native* native)
        : m_path(std::move(path)), m_native(native) {}
    std::filesystem::path m_path;
    Native* m_native;  // owned: the platform's handle of the folder
};

}  // namespace LogPlatform
