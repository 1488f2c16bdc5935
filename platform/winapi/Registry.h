// Reading the registry: thin functions over RegOpenKeyExW, RegEnumKeyExW,
// RegQueryValueExW and RegCloseKey, with the results Windows gives. There is
// nothing here that writes. Registry_win.cpp forwards to Windows;
// Registry_posix.cpp answers from a tree that tests fill (RegistryTesting.h).
#pragma once

#include <cstdint>

// As <windows.h> declares it, so a Win32 file may include both.
struct HKEY__;
typedef HKEY__* HKEY;

namespace WinApi {

// HKEY_LOCAL_MACHINE: (HKEY)(ULONG_PTR)(LONG)0x80000002, sign-extended.
inline HKEY LocalMachineKey() {
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<int32_t>(0x80000002u)));
}

constexpr uint32_t kKeyRead = 0x20019;         // KEY_READ
constexpr uint32_t kKeyWow64_64Key = 0x0100;   // KEY_WOW64_64KEY: the 64-bit view
constexpr uint32_t kRegSz = 1;                 // REG_SZ
constexpr uint32_t kRegDword = 4;              // REG_DWORD
constexpr uint32_t kErrorSuccess = 0;          // ERROR_SUCCESS
constexpr uint32_t kErrorMoreData = 234;       // ERROR_MORE_DATA
constexpr uint32_t kErrorNoMoreItems = 259;    // ERROR_NO_MORE_ITEMS
constexpr uint32_t kRegistryKeyNotFound = 2;   // ERROR_FILE_NOT_FOUND: no such key
constexpr uint32_t kMaxRegistryKeyName = 255;  // characters, without the terminator

// 0 with *result open (close it with RegCloseKey), or the system error.
uint32_t RegOpenKeyExW(HKEY key, const wchar_t* subKey, uint32_t options, uint32_t access,
                       HKEY* result);
// The name of subkey `index` (in order, from 0): *nameLength is the buffer's size
// in characters on entry and the name's length without its terminator on return.
// kErrorNoMoreItems past the last subkey; kErrorMoreData when the buffer is short.
uint32_t RegEnumKeyExW(HKEY key, uint32_t index, wchar_t* name, uint32_t* nameLength);
// A value's type and data; `data` may be null to ask for the size only. On
// kErrorMoreData *dataSize holds the size needed.
uint32_t RegQueryValueExW(HKEY key, const wchar_t* valueName, uint32_t* type, uint8_t* data,
                          uint32_t* dataSize);
uint32_t RegCloseKey(HKEY key);

}  // namespace WinApi
