// The resources OrvelleEx.exe carries: one icon group (5) with the sizes the
// shell asks for, the version 1.1.1.3 in both parts of the version resource,
// and the one manifest (administrator rights, common controls 6, DPI awareness).
// Reads the staged executable (dist/windows/), which the build produces
// alongside this suite.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "testkit/TestPaths.h"

namespace {

std::wstring StagedExePath() {
    std::wstring path = TestPaths::SourceDirW() + L"/dist/windows/OrvelleEx.exe";
    if (!path.empty() && path[0] == L'/') {
        path = L"Z:" + path;  // the source tree as Wine's drive Z: sees it
    }
    return path;
}

class ExecutableResources : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = LoadLibraryExW(StagedExePath().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(m_module, nullptr) << "cannot load the staged exe, error " << GetLastError();
    }
    void TearDown() override {
        if (m_module) {
            FreeLibrary(m_module);
        }
    }

    std::set<ULONG_PTR> ResourceIds(LPCWSTR type) const {
        std::set<ULONG_PTR> ids;
        EnumResourceNamesW(
            m_module, type,
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
                auto* found = reinterpret_cast<std::set<ULONG_PTR>*>(param);
                found->insert(IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name)
                                                   : ~ULONG_PTR(0));
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&ids));
        return ids;
    }

    std::string ResourceBytes(ULONG_PTR id, LPCWSTR type) const {
        HRSRC info = FindResourceW(m_module, MAKEINTRESOURCEW(id), type);
        HGLOBAL data = info ? LoadResource(m_module, info) : nullptr;
        const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
        return bytes ? std::string(bytes, SizeofResource(m_module, info)) : std::string();
    }

    HMODULE m_module = nullptr;
};

#pragma pack(push, 2)
struct IconDirEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconDir {
    WORD reserved, type, count;
    IconDirEntry entries[1];
};
#pragma pack(pop)

TEST_F(ExecutableResources, CarriesExactlyIconGroupFiveWithEverySize) {
    EXPECT_EQ(ResourceIds(RT_GROUP_ICON), std::set<ULONG_PTR>{5});
    const std::string group = ResourceBytes(5, RT_GROUP_ICON);
    ASSERT_GE(group.size(), sizeof(WORD) * 3);
    const auto* dir = reinterpret_cast<const IconDir*>(group.data());
    ASSERT_EQ(group.size(), sizeof(WORD) * 3 + dir->count * sizeof(IconDirEntry));
    std::set<int> sizes;
    for (int i = 0; i < dir->count; ++i) {
        sizes.insert(dir->entries[i].width == 0 ? 256 : dir->entries[i].width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64, 256}));
}

TEST_F(ExecutableResources, VersionIsOneOneOneThreeInBothParts) {
    const std::wstring path = StagedExePath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(3, 1));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(3, 1));

    for (const wchar_t* key : {L"\\StringFileInfo\\040904B0\\FileVersion",
                               L"\\StringFileInfo\\040904B0\\ProductVersion"}) {
        wchar_t* text = nullptr;
        ASSERT_TRUE(VerQueryValueW(block.data(), key, reinterpret_cast<void**>(&text), &length))
            << key;
        EXPECT_EQ(std::wstring(text), L"1.1.1.3") << key;
    }
}

TEST_F(ExecutableResources, ManifestAsksForAdministratorCommonControlsAndDpiAwareness) {
    EXPECT_EQ(ResourceIds(RT_MANIFEST), std::set<ULONG_PTR>{1});
    const std::string manifest = ResourceBytes(1, RT_MANIFEST);
    for (const char* part : {
             "level=\"requireAdministrator\" uiAccess=\"false\"",
             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
             "processorArchitecture=\"amd64\" publicKeyToken=\"6595b64144ccf1df\"",
             "PerMonitorV2",
         }) {
        EXPECT_NE(manifest.find(part), std::string::npos) << "manifest lacks: " << part;
    }
}

}  // namespace
