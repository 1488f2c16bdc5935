// The servicing store's manifest reader (WindowsHotfix::ReadPackageManifest)
// on whatever a ".mum" file may hold. Input: the file's bytes.
#include <string>

#include "FuzzSupport.h"
#include "hotfix/PackageManifest.h"
#include "testkit/FakeServicingStore.h"
#include "winapi/WinApi.h"

namespace {

const std::wstring kPackage = L"Package_for_RollupFix~31bf3856ad364e35~amd64~~19041.3570.1.12";
FakeServicingStore* g_store = nullptr;

std::wstring WindowsFolder() {
    wchar_t folder[1024];
    const uint32_t length = WinApi::GetSystemWindowsDirectoryW(folder, 1024);
    return std::wstring(folder, length);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_store = new FakeServicingStore("fuzz-manifest");  // lives for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    g_store->Clear();
    g_store->AddPackage(kPackage, 0x70u, bytes);
    const WindowsHotfix::PackageManifest manifest =
        WindowsHotfix::ReadPackageManifest(WindowsFolder(), kPackage);
    // An unread manifest says nothing; a larger one is read only as far as its head.
    if (!manifest.readable) FUZZ_CHECK(manifest.identifier.empty() && !manifest.permanent);
    if (manifest.readable && size > WindowsHotfix::kManifestHeadBytes)
        FUZZ_CHECK(bytes.find("<package", 0) < WindowsHotfix::kManifestHeadBytes);
    if (manifest.permanent) FUZZ_CHECK(bytes.find("permanent") != std::string::npos);
    return 0;
}
