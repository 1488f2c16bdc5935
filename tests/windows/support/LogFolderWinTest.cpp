// The log folder's Win32 side under Wine: the folder is created and held, a
// hard-linked log file is refused, and the rotation renames and deletes
// through handles. (Wine keeps no DACLs, ignoring the one a folder is created
// with, and makes no junctions: the owner, DACL and reparse-point checks need
// Windows; the end-to-end scenario shows a folder whose Unix mode lets
// everyone write refused.)
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/LogPlatform.h"

namespace fs = std::filesystem;
using LogPlatform::LogFolder;

namespace {

fs::path Scratch(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const fs::path folder = fs::path(temp) / (std::wstring(L"orvelle-logfolder-") + name);
    std::error_code ec;
    fs::remove_all(folder, ec);
    return folder;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(LogFolderWin, CreatesTheFolderAndRotatesThroughHandles) {
    const fs::path folder = Scratch(L"rotate");
    std::wstring cause;
    std::unique_ptr<LogFolder> logs = LogFolder::Open(folder, cause);
    ASSERT_NE(logs, nullptr) << cause;
    EXPECT_TRUE(fs::is_directory(folder));

    std::uintmax_t size = 99;
    std::FILE* file = logs->OpenForAppend(L"Orvelle.log", size, cause);
    ASSERT_NE(file, nullptr) << cause;
    EXPECT_EQ(size, 0u);
    std::fputs("first\n", file);
    std::fclose(file);
    file = logs->OpenForAppend(L"Orvelle.log", size, cause);
    ASSERT_NE(file, nullptr) << cause;
    EXPECT_EQ(size, 6u);
    std::fputs("second\n", file);
    std::fclose(file);
    EXPECT_EQ(ReadAll(folder / "Orvelle.log"), "first\nsecond\n");

    std::ofstream(folder / "Orvelle.1.log", std::ios::binary) << "older\n";
    EXPECT_TRUE(logs->Rename(L"Orvelle.log", L"Orvelle.1.log", cause)) << cause;  // replaces it
    EXPECT_EQ(ReadAll(folder / "Orvelle.1.log"), "first\nsecond\n");
    EXPECT_FALSE(fs::exists(folder / "Orvelle.log"));
    EXPECT_TRUE(logs->Rename(L"Orvelle.log", L"Orvelle.2.log", cause));  // missing: nothing to do
    EXPECT_TRUE(logs->Remove(L"Orvelle.1.log", cause)) << cause;
    EXPECT_FALSE(fs::exists(folder / "Orvelle.1.log"));
    EXPECT_TRUE(logs->Remove(L"Orvelle.1.log", cause));
}

TEST(LogFolderWin, RefusesAHardLinkedLogFile) {
    const fs::path folder = Scratch(L"hardlink");
    std::wstring cause;
    std::unique_ptr<LogFolder> logs = LogFolder::Open(folder, cause);
    ASSERT_NE(logs, nullptr) << cause;
    const fs::path outside = Scratch(L"hardlink-outside.txt");
    std::ofstream(outside, std::ios::binary) << "not the log's\n";
    ASSERT_TRUE(CreateHardLinkW((folder / "Orvelle.log").c_str(), outside.c_str(), nullptr));

    std::uintmax_t size = 0;
    EXPECT_EQ(logs->OpenForAppend(L"Orvelle.log", size, cause), nullptr);
    EXPECT_EQ(cause, L"a file with 2 links");
    EXPECT_FALSE(logs->Rename(L"Orvelle.log", L"Orvelle.1.log", cause));
    EXPECT_FALSE(logs->Remove(L"Orvelle.log", cause));
    EXPECT_EQ(ReadAll(outside), "not the log's\n");
    fs::remove(outside);
}

}  // namespace
