// The servicing store's package reader (WindowsHotfix::ServicingPackages) on
// whatever the package keys may be named and hold: every package it finds for
// an update number names that number after "KB", or is present and names it
// in its manifest; none is found twice; a state is read only from a DWORD.
// Input: records separated by the byte 0x1E (a manifest has lines of its own).
// The first holds the update numbers asked for, separated by spaces; then one
// package a record: its key name, a tab, its CurrentState ("d" and up to four
// bytes: a REG_DWORD of that size; "s" and text: a REG_SZ; nothing: none
// written, so a key named before keeps its value), a tab, its manifest
// (nothing: none written).
#include <cwctype>
#include <map>
#include <set>
#include <string>

#include "FuzzSupport.h"
#include "hotfix/KbNumber.h"
#include "hotfix/ServicingPackages.h"
#include "testkit/FakeServicingStore.h"
#include "winapi/Registry.h"
#include "winapi/RegistryTesting.h"

namespace {

const std::wstring kPackagesKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages\\";
constexpr size_t kMaxPackages = 32;
constexpr char kRecord = '\x1e';
constexpr uint32_t kRegSz = 1;  // REG_SZ
FakeServicingStore* g_store = nullptr;

struct Written {
    bool dword = false;  // a REG_DWORD of four bytes
    uint32_t state = 0;
};

bool NamesNumber(const std::wstring& name, const std::wstring& number) {
    const std::wstring kb = L"kb" + number;
    for (size_t i = 0; i + kb.size() <= name.size(); ++i) {
        bool same = true;
        for (size_t k = 0; k < kb.size() && same; ++k)
            same = static_cast<wchar_t>(std::towlower(name[i + k])) == kb[k];
        const size_t end = i + kb.size();
        if (same && (end == name.size() || name[end] < L'0' || name[end] > L'9')) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_store = new FakeServicingStore("fuzz-servicing");  // lives for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    g_store->Clear();
    std::set<std::wstring> numbers;
    std::string asked = FuzzSupport::TakeField(input, kRecord);
    while (!asked.empty()) {
        const std::wstring number = FuzzSupport::DecodeText(FuzzSupport::TakeField(asked, ' '));
        if (!number.empty() && number.find_first_not_of(L"0123456789") == std::wstring::npos)
            numbers.insert(number);
    }
    // Registry names compare without case: the last record of a name wins, as a
    // key written twice would hold its last value.
    std::map<std::wstring, Written> written;
    std::map<std::wstring, std::wstring> byLowerName;
    for (size_t count = 0; !input.empty() && count < kMaxPackages; ++count) {
        std::string line = FuzzSupport::TakeField(input, kRecord);
        std::wstring name = FuzzSupport::DecodeText(FuzzSupport::TakeField(line, '\t'));
        const std::string state = FuzzSupport::TakeField(line, '\t');
        // A key's name holds no backslash or zero character, and at most 255 characters.
        if (name.empty() || name.size() > WinApi::kMaxRegistryKeyName ||
            name.find_first_of(std::wstring(L"\\\0", 2)) != std::wstring::npos)
            continue;
        std::wstring lower;
        for (wchar_t c : name) lower += static_cast<wchar_t>(std::towlower(c));
        if (byLowerName.count(lower)) name = byLowerName[lower];
        byLowerName[lower] = name;
        g_store->AddPackage(name, std::nullopt,
                            line.empty() ? std::nullopt : std::optional<std::string>(line));
        // A record without a state leaves the value an earlier record of the key wrote.
        Written value = written[name];
        if (!state.empty() && state[0] == 'd') {
            std::vector<uint8_t> bytes(state.begin() + 1,
                                       state.begin() + std::min<size_t>(5, state.size()));
            WinApi::Testing::SetRegistryValue(kPackagesKey + name, L"CurrentState",
                                              WinApi::kRegDword, bytes);
            value = Written{bytes.size() == 4, 0};
            for (size_t i = 0; i < bytes.size(); ++i) value.state |= uint32_t(bytes[i]) << (8 * i);
        } else if (!state.empty() && state[0] == 's') {
            WinApi::Testing::SetRegistryValue(kPackagesKey + name, L"CurrentState", kRegSz,
                                              std::vector<uint8_t>(state.begin() + 1, state.end()));
            value = Written{};
        }
        written[name] = value;
    }

    WindowsHotfix::ServicingPackages store(std::chrono::seconds(20));
    FUZZ_CHECK(store.Find(numbers) || written.empty());
    std::set<std::wstring> namedFound;
    for (const std::wstring& number : numbers) {
        std::set<WindowsHotfix::StorePackage*> seen;
        for (WindowsHotfix::StorePackage* package : store.PackagesOf(number)) {
            FUZZ_CHECK(seen.insert(package).second);
            FUZZ_CHECK(written.count(package->name) == 1);
            const Written& value = written[package->name];
            const std::optional<uint32_t>& state = store.State(*package);
            FUZZ_CHECK(state.has_value() == value.dword);
            FUZZ_CHECK(!state || *state == value.state);
            if (NamesNumber(package->name, number)) {
                namedFound.insert(package->name + L"|" + number);
                continue;
            }
            FUZZ_CHECK(state && WindowsHotfix::IsPresentState(*state));
            FUZZ_CHECK(ExtractKbNumber(store.Manifest(*package).identifier) == number);
        }
    }
    // Every package whose name gives an asked number is found for it.
    for (const auto& entry : written)
        for (const std::wstring& number : numbers)
            if (NamesNumber(entry.first, number))
                FUZZ_CHECK(namedFound.count(entry.first + L"|" + number) == 1);
    return 0;
}
