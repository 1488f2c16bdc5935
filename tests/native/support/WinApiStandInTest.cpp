// The stand-ins for the Windows system calls.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "testkit/TestPaths.h"
#include "winapi/WinApi.h"
#include "winapi/WinApiTesting.h"

namespace {

class WinApiStandIn : public ::testing::Test {
protected:
    void TearDown() override { WinApi::Testing::Reset(); }
};

TEST_F(WinApiStandIn, NamedMutexReportsAnExistingNameUntilItsLastHandleCloses) {
    HANDLE first = WinApi::CreateMutexW(nullptr, TRUE, L"windows//PC/Orvelle");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(WinApi::GetLastError(), 0u);
    HANDLE second = WinApi::CreateMutexW(nullptr, TRUE, L"windows//PC/Orvelle");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(WinApi::GetLastError(), 183u);
    HANDLE other = WinApi::CreateMutexW(nullptr, TRUE, L"another");
    EXPECT_EQ(WinApi::GetLastError(), 0u);

    EXPECT_TRUE(WinApi::CloseHandle(second));
    WinApi::CreateMutexW(nullptr, TRUE, L"windows//PC/Orvelle");  // `first` still holds it
    EXPECT_EQ(WinApi::GetLastError(), 183u);
    WinApi::Testing::Reset();
    HANDLE fresh = WinApi::CreateMutexW(nullptr, TRUE, L"windows//PC/Orvelle");
    EXPECT_EQ(WinApi::GetLastError(), 0u);
    EXPECT_TRUE(WinApi::CloseHandle(fresh));
    EXPECT_TRUE(WinApi::CloseHandle(first));  // forgotten by Reset: closes quietly
    EXPECT_TRUE(WinApi::CloseHandle(other));

    EXPECT_FALSE(WinApi::CloseHandle(fresh));  // already closed
    EXPECT_EQ(WinApi::GetLastError(), 6u);
}

TEST_F(WinApiStandIn, SetCurrentDirectoryChangesTheProcessDirectory) {
    char saved[4096];
    ASSERT_NE(getcwd(saved, sizeof(saved)), nullptr);
    const std::string folder = TestPaths::MakeScratchDir("cwd");
    const std::wstring wide = std::filesystem::path(folder).wstring();
    EXPECT_TRUE(WinApi::SetCurrentDirectoryW(wide.c_str()));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(folder));
    EXPECT_EQ(WinApi::Testing::CurrentDirectory(), wide);
    EXPECT_FALSE(WinApi::SetCurrentDirectoryW((wide + L"/missing").c_str()));
    EXPECT_EQ(WinApi::Testing::CurrentDirectory(), wide);
    ASSERT_EQ(chdir(saved), 0);
}

TEST_F(WinApiStandIn, MessageBoxIsRecordedAndAnsweredWithOk) {
    EXPECT_EQ(WinApi::MessageBoxW(nullptr, L"text", L"caption", MB_OK | MB_TOPMOST), 1);
    const auto calls = WinApi::Testing::MessageBoxCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, L"text");
    EXPECT_EQ(calls[0].caption, L"caption");
    EXPECT_EQ(calls[0].type, static_cast<UINT>(MB_OK | MB_TOPMOST));
}

TEST_F(WinApiStandIn, ModuleFileNameIsTheExecutableOrTheOverride) {
    wchar_t buffer[4096];
    const uint32_t length = WinApi::GetModuleFileNameW(nullptr, buffer, 4096);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::filesystem::path(std::wstring(buffer, length)),
              std::filesystem::read_symlink("/proc/self/exe"));

    WinApi::Testing::SetModuleFileName(L"/opt/orvelle/OrvelleEx.exe");
    EXPECT_EQ(WinApi::GetModuleFileNameW(nullptr, buffer, 4096), 26u);
    EXPECT_EQ(std::wstring(buffer), L"/opt/orvelle/OrvelleEx.exe");
    EXPECT_EQ(WinApi::GetModuleFileNameW(nullptr, buffer, 5), 5u);  // truncated, as Windows does
    EXPECT_EQ(std::wstring(buffer), L"/opt");
    EXPECT_EQ(WinApi::GetLastError(), 122u);
    WinApi::Testing::SetModuleFileName(L"");
}

}  // namespace
