// The program-data folder of the program's own with Windows' objects: on
// Windows, elevated, it is made (or found) protected; under Wine every folder
// is the Unix user's, owned by the user's SID, so the one found is refused as
// someone else's, which is the path a folder made by another user takes.
#include <gtest/gtest.h>
#include <windows.h>

#include "winapi/ProtectedFolder.h"

namespace {

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(ProtectedFolderWin, OnlyAFolderOfAdministratorsIsHandedOut) {
    uint32_t error = 0;
    const std::wstring folder = WinApi::ProtectedProgramDataFolder(L"Scratch", error);
    if (UnderWine()) {
        EXPECT_TRUE(folder.empty()) << "a folder owned by the user was taken";
        EXPECT_EQ(error, static_cast<uint32_t>(ERROR_ACCESS_DENIED));
        return;
    }
    ASSERT_FALSE(folder.empty()) << error;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
}

}  // namespace
