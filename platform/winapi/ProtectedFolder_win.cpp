// The protected folders on Windows: created with a protected DACL, opened as
// themselves, and checked through that handle (type, reparse point, owner,
// every allowing entry of the DACL).
#include <windows.h>
// (first: the other Windows headers build on it)
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <vector>

#include "winapi/ProtectedFolder.h"
#include "winapi/ProtectedFolder_win.h"
#include "winapi/WinApi.h"

namespace WinApi {
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
    // Wine keeps no security descriptor on files: it reports the Unix owner as
    // this process's user and derives the DACL from the Unix mode. There the
    // folder can only be trusted as this user's own, as on other Unix systems.
    TrustedSids() {
        if (RunsUnderWine()) m_processUser = ProcessUser();
    }
    bool Contains(PSID sid) const {
        if (sid == nullptr || !IsValidSid(sid)) return false;
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

// Empty when the owner is trusted and no allowing entry, inherited by what the
// folder will hold or not, lets anyone else write.
std::wstring UntrustedWriters(HANDLE folder) {
    const TrustedSids trusted;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = GetSecurityInfo(folder, SE_FILE_OBJECT,
                                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                        &owner, nullptr, &dacl, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) return Failed(L"GetSecurityInfo", error);
    std::wstring cause;
    if (!trusted.Contains(owner)) {
        cause = L"not owned by SYSTEM or the Administrators";
    } else if (dacl == nullptr) {
        cause = L"no DACL: everyone has full control";
    }
    for (DWORD index = 0; cause.empty() && index < dacl->AceCount; ++index) {
        void* entry = nullptr;
        if (!GetAce(dacl, index, &entry)) {
            cause = Failed(L"GetAce", GetLastError());
            break;
        }
        const ACE_HEADER* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceType == ACCESS_DENIED_ACE_TYPE) continue;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
            cause = L"an access entry of type " + std::to_wstring(header->AceType);
            break;
        }
        const ACCESS_ALLOWED_ACE* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        if ((allowed->Mask & kWriteRights) != 0 &&
            !trusted.Contains(const_cast<DWORD*>(&allowed->SidStart)))
            cause = L"writable by others";
    }
    LocalFree(descriptor);
    return cause;
}

}  // namespace

std::wstring ProtectedFolderFault(HANDLE folder) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(folder, &info))
        return Failed(L"GetFileInformationByHandle", GetLastError());
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return L"a reparse point (a junction or link)";
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return L"not a folder";
    return UntrustedWriters(folder);
}

HANDLE OpenProtectedFolder(const std::wstring& path, uint32_t& error, std::wstring& cause) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedFolderSddl, SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        error = GetLastError();
        cause = Failed(L"ConvertStringSecurityDescriptorToSecurityDescriptorW", error);
        return nullptr;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
    const bool made = CreateDirectoryW(path.c_str(), &attributes) != FALSE;
    const DWORD createError = made ? ERROR_SUCCESS : GetLastError();
    LocalFree(descriptor);
    if (!made && createError != ERROR_ALREADY_EXISTS) {
        error = createError;
        cause = Failed(L"CreateDirectoryW", error);
        return nullptr;
    }
    // The folder itself, not what a junction or symbolic link there points to.
    // Listing access gives the handle a part in sharing: one that reads only
    // attributes and security would not keep the folder from being moved.
    HANDLE folder =
        CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | READ_CONTROL,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        cause = Failed(L"CreateFileW", error);
        return nullptr;
    }
    cause = ProtectedFolderFault(folder);
    if (cause.empty()) {
        error = ERROR_SUCCESS;
        return folder;
    }
    error = ERROR_ACCESS_DENIED;
    CloseHandle(folder);
    return nullptr;
}

std::wstring ProtectedProgramDataFolder(const wchar_t* name, uint32_t& error) {
    PWSTR programData = nullptr;
    const HRESULT found = SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &programData);
    if (FAILED(found)) {
        error = static_cast<uint32_t>(found);
        return {};
    }
    const std::wstring base = std::wstring(programData) + L"\\Orvelle";
    CoTaskMemFree(programData);
    const std::wstring folder = base + L"\\" + name;
    std::wstring cause;
    for (const std::wstring& level : {base, folder}) {
        HANDLE handle = OpenProtectedFolder(level, error, cause);
        if (handle == nullptr) return {};
        CloseHandle(handle);
    }
    return folder;
}

}  // namespace WinApi
