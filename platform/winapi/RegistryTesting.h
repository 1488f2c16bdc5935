// Test controls of the registry stand-in (non-Windows builds only): a tree of
// keys below HKEY_LOCAL_MACHINE that a test fills, named by their path from
// there ("SOFTWARE\Microsoft\..."), compared without regard to case as Windows
// compares them. Subkeys are enumerated in the order of their lower-cased names.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace WinApi {
namespace Testing {

// Creates the key and any missing parent.
void AddRegistryKey(const std::wstring& path);
// Creates the key as AddRegistryKey does and sets one value (type as REG_*).
void SetRegistryValue(const std::wstring& keyPath, const std::wstring& name, uint32_t type,
                      std::vector<uint8_t> data);
// Runs on the caller's thread inside each later RegOpenKeyExW, before it
// answers, with the lower-cased path being opened (empty: none); a test's
// slow store.
void SetRegistryOpenHook(std::function<void(const std::wstring& path)> hook);

struct RegistryOpen {
    std::wstring path;
    uint32_t access = 0;
};
// Every RegOpenKeyExW since the last reset, found or not, in order (paths
// lower-cased).
std::vector<RegistryOpen> RegistryOpens();
// Empties the tree and forgets the hook and the records.
void ResetRegistry();

}  // namespace Testing
}  // namespace WinApi
