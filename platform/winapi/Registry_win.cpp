#include <windows.h>
// (first: the other Windows headers build on it)
#include "winapi/Registry.h"

namespace WinApi {

uint32_t RegOpenKeyExW(HKEY key, const wchar_t* subKey, uint32_t options, uint32_t access,
                       HKEY* result) {
    return static_cast<uint32_t>(::RegOpenKeyExW(key, subKey, options, access, result));
}

uint32_t RegEnumKeyExW(HKEY key, uint32_t index, wchar_t* name, uint32_t* nameLength) {
    DWORD length = *nameLength;
    const LSTATUS status =
        ::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    *nameLength = length;
    return static_cast<uint32_t>(status);
}

uint32_t RegQueryValueExW(HKEY key, const wchar_t* valueName, uint32_t* type, uint8_t* data,
                          uint32_t* dataSize) {
    DWORD valueType = 0;
    DWORD size = dataSize != nullptr ? *dataSize : 0;
    const LSTATUS status = ::RegQueryValueExW(key, valueName, nullptr, &valueType, data,
                                              dataSize != nullptr ? &size : nullptr);
    if (type != nullptr) *type = valueType;
    if (dataSize != nullptr) *dataSize = size;
    return static_cast<uint32_t>(status);
}

uint32_t RegCloseKey(HKEY key) {
    return static_cast<uint32_t>(::RegCloseKey(key));
}

}  // namespace WinApi
