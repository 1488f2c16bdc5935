// The registry on other systems: HKEY_LOCAL_MACHINE is a tree in memory that
// tests fill (RegistryTesting.h); open keys are handles of the shared table.
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "winapi/PosixStandIn.h"
#include "winapi/Registry.h"
#include "winapi/RegistryTesting.h"
#include "winapi/TextConversion.h"

namespace WinApi {
namespace {

struct Value {
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct Key {
    std::wstring name;                     // the last part of its path, as added
    std::map<std::wstring, Value> values;  // by lower-cased name
};

// Leaked on purpose, like the other stand-ins' state (see PosixStandIn.h).
struct RegistryState {
    std::map<std::wstring, Key> keys;  // by lower-cased path; "" is HKEY_LOCAL_MACHINE
    std::function<void(const std::wstring&)> openHook;
    std::vector<Testing::RegistryOpen> opens;
    // Where the last RegEnumKeyExW stopped, so that enumerating a key by rising
    // index costs what it costs Windows (once per subkey), not once per earlier one.
    struct Cursor {
        std::wstring path;
        uint32_t index = 0;
        std::map<std::wstring, Key>::iterator at;
        uint64_t generation = 0;
        bool valid = false;
    } cursor;
    uint64_t generation = 0;  // changes whenever a key is added or the tree emptied
};

PosixStandIn::Guarded<RegistryState>& State() {
    return PosixStandIn::Guarded<RegistryState>::Leaked();
}

std::wstring Join(const std::wstring& parent, const std::wstring& child) {
    if (parent.empty()) return child;
    if (child.empty()) return parent;
    return parent + L"\\" + child;
}

class OpenKey : public PosixStandIn::HandleObject {
public:
    explicit OpenKey(std::wstring path) : m_path(std::move(path)) {}
    const std::wstring& path() const { return m_path; }

private:
    const std::wstring m_path;  // lower-cased
};

// The lower-cased path of an open key; false for an unknown handle.
bool PathOf(HKEY key, std::wstring& path) {
    if (key == LocalMachineKey()) {
        path.clear();
        return true;
    }
    auto open = std::dynamic_pointer_cast<OpenKey>(PosixStandIn::FindHandle(key));
    if (!open) return false;
    path = open->path();
    return true;
}

// `registry` is the state the caller holds locked.
void AddKeyLocked(RegistryState& registry, const std::wstring& path) {
    registry.keys.emplace(L"", Key{});
    std::wstring sofar;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find(L'\\', start), path.size());
        const std::wstring part = path.substr(start, end - start);
        if (!part.empty()) {
            sofar = Join(sofar, part);
            if (registry.keys.emplace(Strconv::LowerCase(sofar), Key{part, {}}).second)
                ++registry.generation;
        }
        start = end + 1;
    }
}

}  // namespace

uint32_t RegOpenKeyExW(HKEY key, const wchar_t* subKey, uint32_t, uint32_t access, HKEY* result) {
    std::wstring base;
    if (result == nullptr || !PathOf(key, base)) return kErrorInvalidHandle;
    const std::wstring path = Join(base, subKey != nullptr ? Strconv::LowerCase(subKey) : L"");
    std::function<void(const std::wstring&)> hook;
    {
        auto state = State().Locked();
        state->opens.push_back({path, access});
        hook = state->openHook;
    }
    if (hook) hook(path);
    {
        auto state = State().Locked();
        if (state->keys.count(path) == 0) return kErrorFileNotFound;
    }
    *result = reinterpret_cast<HKEY>(PosixStandIn::RegisterHandle(std::make_shared<OpenKey>(path)));
    return kErrorSuccess;
}

uint32_t RegEnumKeyExW(HKEY key, uint32_t index, wchar_t* name, uint32_t* nameLength) {
    std::wstring path;
    if (!PathOf(key, path) || nameLength == nullptr) return kErrorInvalidHandle;
    const std::wstring prefix = path.empty() ? L"" : path + L"\\";
    auto state = State().Locked();
    RegistryState::Cursor& cursor = state->cursor;
    uint32_t position = 0;
    auto it = state->keys.lower_bound(prefix);
    if (cursor.valid && cursor.path == path && cursor.generation == state->generation &&
        index == cursor.index + 1) {
        position = cursor.index;
        it = std::next(cursor.at);
        ++position;
    }
    for (; it != state->keys.end(); ++it) {
        if (it->first.compare(0, prefix.size(), prefix) != 0) break;
        const std::wstring& full = it->first;
        if (full.size() == prefix.size() || full.find(L'\\', prefix.size()) != std::wstring::npos)
            continue;
        if (position++ != index) continue;
        cursor = {path, index, it, state->generation, true};
        const std::wstring& found = it->second.name;
        if (name == nullptr || found.size() + 1 > *nameLength) return kErrorMoreData;
        found.copy(name, found.size());
        name[found.size()] = L'\0';
        *nameLength = static_cast<uint32_t>(found.size());
        return kErrorSuccess;
    }
    return kErrorNoMoreItems;
}

uint32_t RegQueryValueExW(HKEY key, const wchar_t* valueName, uint32_t* type, uint8_t* data,
                          uint32_t* dataSize) {
    std::wstring path;
    if (!PathOf(key, path)) return kErrorInvalidHandle;
    auto state = State().Locked();
    auto found = state->keys.find(path);
    if (found == state->keys.end()) return kErrorFileNotFound;
    auto value =
        found->second.values.find(Strconv::LowerCase(valueName != nullptr ? valueName : L""));
    if (value == found->second.values.end()) return kErrorFileNotFound;
    if (type != nullptr) *type = value->second.type;
    if (dataSize == nullptr) return kErrorSuccess;
    const uint32_t size = static_cast<uint32_t>(value->second.data.size());
    const bool fits = *dataSize >= size;
    *dataSize = size;
    if (data == nullptr) return kErrorSuccess;
    if (!fits) return kErrorMoreData;
    std::copy(value->second.data.begin(), value->second.data.end(), data);
    return kErrorSuccess;
}

uint32_t RegCloseKey(HKEY key) {
    if (key == LocalMachineKey()) return kErrorSuccess;
    return PosixStandIn::TakeHandle(key) ? kErrorSuccess : kErrorInvalidHandle;
}

namespace Testing {

void AddRegistryKey(const std::wstring& path) {
    auto state = State().Locked();
    AddKeyLocked(*state, path);
}

void SetRegistryValue(const std::wstring& keyPath, const std::wstring& name, uint32_t type,
                      std::vector<uint8_t> data) {
    auto state = State().Locked();
    AddKeyLocked(*state, keyPath);
    state->keys[Strconv::LowerCase(keyPath)].values[Strconv::LowerCase(name)] =
        Value{type, std::move(data)};
}

void SetRegistryOpenHook(std::function<void(const std::wstring& path)> hook) {
    auto state = State().Locked();
    state->openHook = std::move(hook);
}

std::vector<RegistryOpen> RegistryOpens() {
    return State().Locked()->opens;
}

void ResetRegistry() {
    auto state = State().Locked();
    state->keys.clear();
    ++state->generation;
    state->cursor.valid = false;
    state->openHook = nullptr;
    state->opens.clear();
}

}  // namespace Testing
}  // namespace WinApi
