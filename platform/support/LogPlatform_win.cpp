// The logger's system side on Windows. The folder lies beneath %ProgramData%
// (a fixed known folder: no user's setting moves it), is created with a
// protected DACL for SYSTEM and the Administrators only, and is held open
// without delete sharing, so it cannot be renamed or replaced while the program
// runs. Every file is opened with FILE_FLAG_OPEN_REPARSE_POINT (a link is
// opened as itself, never followed), checked through its handle (no reparse
// point, one link), and renamed or deleted through that same handle.
#include <windows.h>
// (first: the other Windows headers build on it)
#include <aclapi.h>
#include <fcntl.h>
#include <io.h>
#include <sddl.h>
#include <shlobj.h>

#include <vector>

#include "support/LogPlatform.h"

namespace LogPlatform {

struct LogFolder::Native {
    HANDLE handle = INVALID_HANDLE_VALUE;
};

namespace {

// SYSTEM and the Administrators, full control for the folder and all it holds;
// "P": nothing inherited from %ProgramData%, where every user may add folders.
const wchar_t* const kProtectedFolderSddl = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// Any right that changes the folder or what is in it.
const ACCESS_MASK kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                 FILE_DELETE_CHILD | FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC |
                                 WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL | MAXIMUM_ALLOWED;

std::wstring Failed(const wchar_t* call, DWORD error) {
    return std::wstring(call) + L" error:" + std::to_wstring(error);
}

// Wine keeps no security descriptor on files: it reports the Unix owner as
// this process's user and derives the DACL from the Unix mode. There the folder
// can only be trusted as this user's own, as on other Unix systems; on Windows
// (whose ntdll has no such export) never.
bool FileSecurityIsUnixModes() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The user of this process's token (a TOKEN_USER), empty on failure.
std::vector<unsigned char> ProcessUser() {
    std::vector<unsigned char> user;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return user;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    user.resize(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size)) user.clear();
    CloseHandle(token);
    return user;
}

// SYSTEM and the Administrators; under Wine also this process's user.
class TrustedSids {
public:
    TrustedSids() {
        if (FileSecurityIsUnixModes()) m_processUser = ProcessUser();
    }
    bool Contains(PSID sid) const {
        if (IsWellKnownSid(sid, WinLocalSystemSid) ||
            IsWellKnownSid(sid, WinBuiltinAdministratorsSid))
            return true;
        if (m_processUser.empty()) return false;
        const TOKEN_USER* user = reinterpret_cast<const TOKEN_USER*>(m_processUser.data());
        return EqualSid(sid, user->User.Sid) != FALSE;
    }

private:
    std::vector<unsigned char> m_processUser;
};

// Owner SYSTEM or Administrators, and no allowing entry that lets anyone else write.
bool OnlyAdministratorsMayWrite(HANDLE folder, std::wstring& cause) {
    const TrustedSids trusted;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = GetSecurityInfo(folder, SE_FILE_OBJECT,
                                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                        &owner, nullptr, &dacl, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) {
        cause = Failed(L"GetSecurityInfo", error);
        return false;
    }
    bool safe = true;
    if (owner == nullptr || !trusted.Contains(owner)) {
        cause = L"not owned by SYSTEM or the Administrators";
        safe = false;
    } else if (dacl == nullptr) {
        cause = L"no DACL: everyone has full control";
        safe = false;
    }
    for (DWORD index = 0; safe && index < dacl->AceCount; ++index) {
        void* entry = nullptr;
        if (!GetAce(dacl, index, &entry)) {
            cause = Failed(L"GetAce", GetLastError());
            safe = false;
            break;
        }
        const ACE_HEADER* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceType == ACCESS_DENIED_ACE_TYPE) continue;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
            cause = L"an access entry of type " + std::to_wstring(header->AceType);
            safe = false;
            break;
        }
        const ACCESS_ALLOWED_ACE* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        if ((allowed->Mask & kWriteRights) != 0 &&
            !trusted.Contains(const_cast<DWORD*>(&allowed->SidStart))) {
            cause = L"writable by others";
            safe = false;
        }
    }
    LocalFree(descriptor);
    return safe;
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
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedFolderSddl, SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        cause = Failed(L"ConvertStringSecurityDescriptorToSecurityDescriptorW", GetLastError());
        return nullptr;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
    const bool made = CreateDirectoryW(path.c_str(), &attributes) != FALSE;
    const DWORD createError = made ? ERROR_SUCCESS : GetLastError();
    LocalFree(descriptor);
    if (!made && createError != ERROR_ALREADY_EXISTS) {
        cause = Failed(L"CreateDirectoryW", createError);
        return nullptr;
    }
    // The folder itself, not what a junction or symbolic link there points to.
    HANDLE folder = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES | READ_CONTROL,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        cause = Failed(L"CreateFileW", GetLastError());
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(folder, &info)) {
        cause = Failed(L"GetFileInformationByHandle", GetLastError());
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        cause = L"a reparse point (a junction or link)";
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        cause = L"not a folder";
    } else if (OnlyAdministratorsMayWrite(folder, cause)) {
        return std::unique_ptr<LogFolder>(new LogFolder(path, new Native{folder}));
    }
    CloseHandle(folder);
    return nullptr;
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
