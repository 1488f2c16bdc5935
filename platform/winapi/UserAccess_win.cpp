#include <windows.h>
// (first: the other Windows headers build on it)
#include <aclapi.h>

#include "winapi/UserAccess.h"
#include "winapi/WinApi.h"

namespace WinApi {
namespace {

constexpr ACCESS_MASK kChangeRights =
    FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;

}  // namespace

HANDLE OpenLinkedToken(uint32_t& error) {
    // Wine maps every file to the Unix user, whatever a Windows token says.
    if (RunsUnderWine()) {
        error = ERROR_NOT_SUPPORTED;
        return nullptr;
    }
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) {
        error = GetLastError();
        return nullptr;
    }
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    TOKEN_LINKED_TOKEN linked = {};
    DWORD size = 0;
    HANDLE checked = nullptr;
    error = ERROR_NO_SUCH_LOGON_SESSION;  // what Windows says of a token with none linked
    if (GetTokenInformation(own, TokenElevationType, &type, sizeof(type), &size) &&
        type == TokenElevationTypeFull &&
        GetTokenInformation(own, TokenLinkedToken, &linked, sizeof(linked), &size)) {
        // AccessCheck wants an impersonation token; Windows links one (at the
        // identification level) unless the caller holds SeTcbPrivilege.
        error = 0;
        if (DuplicateToken(linked.LinkedToken, SecurityIdentification, &checked))
            CloseHandle(linked.LinkedToken);
        else
            checked = linked.LinkedToken;
    } else if (type == TokenElevationTypeFull) {
        error = GetLastError();
    }
    CloseHandle(own);
    return checked;
}

bool UserMayChange(HANDLE token, const std::wstring& path, bool& mayChange, uint32_t& error) {
    mayChange = false;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    error = GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT,
                                  OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                      DACL_SECURITY_INFORMATION | LABEL_SECURITY_INFORMATION,
                                  nullptr, nullptr, nullptr, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) return false;
    GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                               FILE_ALL_ACCESS};
    PRIVILEGE_SET privileges;
    DWORD privilegesSize = sizeof(privileges);
    DWORD granted = 0;
    BOOL status = FALSE;
    const BOOL checked = AccessCheck(descriptor, token, MAXIMUM_ALLOWED, &mapping, &privileges,
                                     &privilegesSize, &granted, &status);
    error = checked ? 0 : GetLastError();
    LocalFree(descriptor);
    if (!checked) return false;
    mayChange = status && (granted & kChangeRights) != 0;
    return true;
}

}  // namespace WinApi
