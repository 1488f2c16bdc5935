#include <windows.h>
// (first: the other Windows headers build on it)
#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "winapi/SingleInstance.h"

namespace WinApi {
namespace {

// Owner Administrators; full access for SYSTEM and Administrators, nobody else.
const wchar_t kInstanceSddl[] = L"O:BAD:P(A;;GA;;;SY)(A;;GA;;;BA)";
const wchar_t kNamespace[] = L"Orvelle";

bool IsSystemOrAdministrators(PSID sid) {
    return sid != nullptr && IsValidSid(sid) &&
           (IsWellKnownSid(sid, WinLocalSystemSid) ||
            IsWellKnownSid(sid, WinBuiltinAdministratorsSid));
}

bool OwnedByAdministrators(HANDLE object) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const bool owned = GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                       nullptr, nullptr, nullptr, &descriptor) == ERROR_SUCCESS &&
                       IsSystemOrAdministrators(owner);
    if (descriptor != nullptr) LocalFree(descriptor);
    return owned;
}

// The descriptor of kInstanceSddl, freed with the object.
class InstanceSecurity {
public:
    InstanceSecurity() {
        ConvertStringSecurityDescriptorToSecurityDescriptorW(kInstanceSddl, SDDL_REVISION_1,
                                                             &m_descriptor, nullptr);
        m_attributes = {sizeof(m_attributes), m_descriptor, FALSE};
    }
    ~InstanceSecurity() {
        if (m_descriptor != nullptr) LocalFree(m_descriptor);
    }
    SECURITY_ATTRIBUTES* Attributes() { return m_descriptor ? &m_attributes : nullptr; }

private:
    PSECURITY_DESCRIPTOR m_descriptor = nullptr;
    SECURITY_ATTRIBUTES m_attributes = {};
};

// The private namespace bound to Administrators: created, or opened when
// another instance made it. It stays open for the life of the process (the
// names in it live only while a handle of it is open). Null when Windows gives
// none (Wine has no boundary descriptors).
HANDLE PrivateNamespace(SECURITY_ATTRIBUTES* attributes, bool create, uint32_t& error) {
    HANDLE boundary = CreateBoundaryDescriptorW(kNamespace, 0);
    if (boundary == nullptr) {
        error = GetLastError() != 0 ? GetLastError() : ERROR_NOT_SUPPORTED;
        return nullptr;
    }
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof(sid);
    HANDLE space = nullptr;
    if (CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sidSize) &&
        AddSIDToBoundaryDescriptor(&boundary, sid)) {
        space = create ? CreatePrivateNamespaceW(attributes, boundary, kNamespace) : nullptr;
        if (space == nullptr && (!create || GetLastError() == ERROR_ALREADY_EXISTS))
            space = OpenPrivateNamespaceW(boundary, kNamespace);
    }
    if (space == nullptr) error = GetLastError();
    DeleteBoundaryDescriptor(boundary);
    return space;
}

std::wstring PrivateName(const wchar_t* name) {
    return std::wstring(kNamespace) + L"\\" + name;
}

}  // namespace

InstanceLock LockSingleInstance(const wchar_t* name) {
    InstanceSecurity security;
    InstanceLock lock;
    lock.mutex = CreateMutexW(security.Attributes(), TRUE, name);
    const DWORD created = GetLastError();
    if (lock.mutex != nullptr && created != ERROR_ALREADY_EXISTS) {
        // Ours. An instance that started while a stranger held the name keeps
        // its lock in the private namespace: it is still the first.
        uint32_t ignored = 0;
        if (HANDLE space = PrivateNamespace(nullptr, false, ignored)) {
            if (HANDLE other = OpenMutexW(SYNCHRONIZE, FALSE, PrivateName(name).c_str())) {
                CloseHandle(other);
                lock.alreadyRunning = true;
            }
            ClosePrivateNamespace(space, 0);
        }
        return lock;
    }
    if (lock.mutex != nullptr && OwnedByAdministrators(lock.mutex)) {
        lock.alreadyRunning = true;
        return lock;
    }
    // A stranger's mutex (or one this process may not even open): ignored.
    if (lock.mutex != nullptr) CloseHandle(lock.mutex);
    lock.mutex = nullptr;
    lock.squatted = true;
    if (PrivateNamespace(security.Attributes(), true, lock.error) == nullptr) return lock;
    lock.mutex = CreateMutexW(security.Attributes(), TRUE, PrivateName(name).c_str());
    lock.error = lock.mutex == nullptr ? GetLastError() : 0;
    lock.alreadyRunning = lock.mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    return lock;
}

bool IsElevatedProcessOf(uint32_t processId, const std::wstring& executablePath, uint32_t& error) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        error = GetLastError();
        return false;
    }
    bool same = false;
    std::vector<wchar_t> image(32768);
    DWORD length = static_cast<DWORD>(image.size());
    HANDLE token = nullptr;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (QueryFullProcessImageNameW(process, 0, image.data(), &length) &&
        CompareStringOrdinal(image.data(), static_cast<int>(length), executablePath.c_str(),
                             static_cast<int>(executablePath.size()), TRUE) == CSTR_EQUAL &&
        OpenProcessToken(process, TOKEN_QUERY, &token) &&
        GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size)) {
        same = elevation.TokenIsElevated != 0;
        error = 0;
    } else {
        error = GetLastError();
    }
    if (token != nullptr) CloseHandle(token);
    CloseHandle(process);
    return same;
}

}  // namespace WinApi
