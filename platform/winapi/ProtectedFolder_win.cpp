#include <windows.h>
// (first: the other Windows headers build on it)
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include "winapi/ProtectedFolder.h"

namespace WinApi {
namespace {

// SYSTEM and Administrators full control, owner Administrators, not inherited.
const wchar_t kProtectedSddl[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

constexpr ACCESS_MASK kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                      FILE_DELETE_CHILD | FILE_WRITE_ATTRIBUTES | DELETE |
                                      WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

bool IsSystemOrAdministrators(PSID sid) {
    return sid != nullptr && IsValidSid(sid) &&
           (IsWellKnownSid(sid, WinLocalSystemSid) ||
            IsWellKnownSid(sid, WinBuiltinAdministratorsSid));
}

// True when no entry lets anyone but SYSTEM and Administrators change the folder.
bool OnlyAdministratorsMayChange(PACL dacl) {
    if (dacl == nullptr) return false;  // a null DACL grants everyone everything
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&header))) return false;
        if (header->AceType == ACCESS_DENIED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) return false;
        auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        if ((ace->Mask & kChangeRights) != 0 && !IsSystemOrAdministrators(&ace->SidStart))
            return false;
    }
    return true;
}

// 0 when the folder at `path` is a real folder (no link) that only SYSTEM
// and Administrators can change; the handle is opened without following links.
uint32_t CheckFolder(const std::wstring& path) {
    HANDLE folder =
        CreateFileW(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return GetLastError();
    uint32_t error = ERROR_ACCESS_DENIED;
    BY_HANDLE_FILE_INFORMATION info;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetFileInformationByHandle(folder, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
        GetSecurityInfo(folder, SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                        &dacl, nullptr, &descriptor) == ERROR_SUCCESS &&
        IsSystemOrAdministrators(owner) && OnlyAdministratorsMayChange(dacl))
        error = ERROR_SUCCESS;
    if (descriptor != nullptr) LocalFree(descriptor);
    CloseHandle(folder);
    return error;
}

// Creates the folder protected, or checks the one that is there.
uint32_t MakeProtected(const std::wstring& path, PSECURITY_DESCRIPTOR descriptor) {
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
    if (!CreateDirectoryW(path.c_str(), &attributes) && GetLastError() != ERROR_ALREADY_EXISTS)
        return GetLastError();
    return CheckFolder(path);
}

}  // namespace

std::wstring ProtectedProgramDataFolder(const wchar_t* name, uint32_t& error) {
    PWSTR programData = nullptr;
    const HRESULT found = SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &programData);
    if (FAILED(found)) {
        error = static_cast<uint32_t>(found);
        return {};
    }
    const std::wstring base = std::wstring(programData) + L"\\Orvelle";
    CoTaskMemFree(programData);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedSddl, SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        error = GetLastError();
        return {};
    }
    const std::wstring folder = base + L"\\" + name;
    error = MakeProtected(base, descriptor);
    if (error == ERROR_SUCCESS) error = MakeProtected(folder, descriptor);
    LocalFree(descriptor);
    return error == ERROR_SUCCESS ? folder : std::wstring();
}

}  // namespace WinApi
