// The logger's system side on Windows. The folder lies beneath %ProgramData%
// (a fixed known folder: no user's setting moves it), is made or checked as a
// protected folder (WinApi::OpenProtectedFolder: a protected DACL for SYSTEM
// and the Administrators only) and is held open without delete sharing, so it
// cannot be renamed or replaced while the program runs. Every file is opened
// with FILE_FLAG_OPEN_REPARSE_POINT (a link is opened as itself, never
// followed), checked through its handle (no reparse point, one link), and
// renamed or deleted through that same handle.
#include <windows.h>
// (first: the other Windows headers build on it)
#include <fcntl.h>
#include <io.h>
#include <shlobj.h>

#include <vector>

#include "support/LogPlatform.h"
#include "winapi/ProtectedFolder_win.h"

namespace LogPlatform {

struct LogFolder::Native {
    HANDLE handle = INVALID_HANDLE_VALUE;
};

namespace {

std::wstring Failed(const wchar_t* call, DWORD error) {
    return std::wstring(call) + L" error:" + std::to_wstring(error);
}

std::wstring InFolder(const std::filesystem::path& folder, const std::wstring& name) {
    return (folder / name).wstring();
}

// The file `path` opened as itself (a link is not followed) with `access`, if
// it is a plain file with one link. INVALID_HANDLE_VALUE otherwise: `missing`
// tells an absent file from a refused one (`cause`).
HANDLE OpenPlainFile(const std::wstring& path, DWORD access, DWORD disposition, bool& missing,
                     std::wstring& cause, BY_HANDLE_FILE_INFORMATION& info) {
    missing = false;
    HANDLE file =
        CreateFileW(path.c_str(), access | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, disposition,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        cause = Failed(L"CreateFileW", error);
        return INVALID_HANDLE_VALUE;
    }
    if (!GetFileInformationByHandle(file, &info)) {
        cause = Failed(L"GetFileInformationByHandle", GetLastError());
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        cause = L"a reparse point (a link)";
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        cause = L"not a plain file";
    } else if (info.nNumberOfLinks != 1) {
        cause = L"a file with " + std::to_wstring(info.nNumberOfLinks) + L" links";
    } else {
        return file;
    }
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

std::filesystem::path StateBaseFolder() {
    PWSTR folder = nullptr;
    std::filesystem::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &folder))) result = folder;
    CoTaskMemFree(folder);
    return result;
}

std::uint64_t CurrentThreadNumber() {
    return GetCurrentThreadId();
}

std::tm LocalTime(std::time_t when) {
    std::tm parts{};
    localtime_s(&parts, &when);
    return parts;
}

std::unique_ptr<LogFolder> LogFolder::Open(const std::filesystem::path& path, std::wstring& cause) {
    uint32_t error = 0;
    HANDLE folder = WinApi::OpenProtectedFolder(path.wstring(), error, cause);
    if (folder == nullptr) return nullptr;
    return std::unique_ptr<LogFolder>(new LogFolder(path, new Native{folder}));
}

LogFolder::~LogFolder() {
    CloseHandle(m_native->handle);
    delete m_native;
}

std::FILE* LogFolder::OpenForAppend(const std::wstring& name, std::uintmax_t& size,
                                    std::wstring& cause) {
    bool missing = false;
    BY_HANDLE_FILE_INFORMATION info;
    HANDLE file = OpenPlainFile(InFolder(m_path, name), FILE_APPEND_DATA | SYNCHRONIZE, OPEN_ALWAYS,
                                missing, cause, info);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    const int fd =
        _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_APPEND | _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        cause = L"_open_osfhandle failed";
        CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, "ab");
    if (stream == nullptr) {
        cause = L"_fdopen failed";
        _close(fd);  // closes the handle too
        return nullptr;
    }
    size = (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return stream;
}

bool LogFolder::Rename(const std::wstring& from, const std::wstring& to, std::wstring& cause) {
    bool missing = false;
    BY_HANDLE_FILE_INFORMATION info;
    HANDLE file = OpenPlainFile(InFolder(m_path, from), DELETE | SYNCHRONIZE, OPEN_EXISTING,
                                missing, cause, info);
    if (file == INVALID_HANDLE_VALUE) return missing;
    // Replacing `to` replaces that name, whatever it is: a link there is not followed.
    const std::wstring target = InFolder(m_path, to);
    const DWORD nameBytes = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    FILE_RENAME_INFO* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = nameBytes;
    memcpy(rename->FileName, target.c_str(), nameBytes);
    const bool done = SetFileInformationByHandle(file, FileRenameInfo, rename,
                                                 static_cast<DWORD>(buffer.size())) != FALSE;
    if (!done) cause = Failed(L"SetFileInformationByHandle(FileRenameInfo)", GetLastError());
    CloseHandle(file);
    return done;
}

bool LogFolder::Remove(const std::wstring& name, std::wstring& cause) {
    bool missing = false;
    BY_HANDLE_FILE_INFORMATION info;
    HANDLE file = OpenPlainFile(InFolder(m_path, name), DELETE | SYNCHRONIZE, OPEN_EXISTING,
                                missing, cause, info);
    if (file == INVALID_HANDLE_VALUE) return missing;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    const bool done = SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                                 sizeof(disposition)) != FALSE;
    if (!done) cause = Failed(L"SetFileInformationByHandle(FileDispositionInfo)", GetLastError());
    CloseHandle(file);
    return done;
}

}  // namespace LogPlatform
