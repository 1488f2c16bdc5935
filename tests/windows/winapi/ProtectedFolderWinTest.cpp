// The program's protected folders with Windows' objects, elevated on Windows
// and under Wine (where every folder is the Unix user's, and this process's
// user is trusted as its owner): the scratch folder is made or found, a folder
// is made and held open, and a plain file is refused.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "testkit/TestPaths.h"
#include "winapi/ProtectedFolder.h"
#include "winapi/ProtectedFolder_win.h"

namespace fs = std::filesystem;

namespace {

TEST(ProtectedFolderWin, TheScratchFolderIsHandedOutAsAFolder) {
    uint32_t error = 0;
    const std::wstring folder = WinApi::ProtectedProgramDataFolder(L"Scratch", error);
    ASSERT_FALSE(folder.empty()) << error;
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(fs::path(folder).filename(), L"Scratch");
    EXPECT_EQ(fs::path(folder).parent_path().filename(), L"Orvelle");
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
}

TEST(ProtectedFolderWin, AFolderIsMadeHeldAndAPlainFileRefused) {
    const fs::path folder = fs::path(TestPaths::MakeScratchDir("protected-folder")) / "held";
    uint32_t error = 0;
    std::wstring cause;
    HANDLE held = WinApi::OpenProtectedFolder(folder.wstring(), error, cause);
    ASSERT_NE(held, nullptr) << cause;
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(WinApi::ProtectedFolderFault(held), L"");
    // Held without delete sharing: it cannot be moved away meanwhile.
    EXPECT_FALSE(MoveFileW(folder.c_str(), (folder.wstring() + L"-moved").c_str()));
    CloseHandle(held);

    const fs::path file = folder / "plain.txt";
    std::ofstream(file) << "x";
    cause.clear();
    HANDLE plain = WinApi::OpenProtectedFolder(file.wstring(), error, cause);
    EXPECT_EQ(plain, nullptr);
    EXPECT_EQ(error, static_cast<uint32_t>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(cause, L"not a folder");
}

}  // namespace
