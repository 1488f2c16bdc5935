// The single-instance lock and the process check with Windows' own objects
// (under Wine in the suite): the lock's mutex carries the Administrators' SD, a
// plain mutex of the same name counts as a stranger's, and this elevated
// process is recognised as running its own executable. Wine also shows what a
// PC without private namespaces and without a linked token does.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "winapi/SingleInstance.h"
#include "winapi/UserAccess.h"

namespace {

std::wstring UniqueName(const wchar_t* what) {
    return std::wstring(L"orvelle-test-") + what + L"-" + std::to_wstring(GetCurrentProcessId());
}

TEST(SingleInstanceWin, TheLockIsAdministratorsOwnAndASecondLockFindsIt) {
    const std::wstring name = UniqueName(L"lock");
    const WinApi::InstanceLock first = WinApi::LockSingleInstance(name.c_str());
    ASSERT_NE(first.mutex, nullptr);
    EXPECT_FALSE(first.alreadyRunning);
    EXPECT_FALSE(first.squatted);
    const WinApi::InstanceLock second = WinApi::LockSingleInstance(name.c_str());
    EXPECT_TRUE(second.alreadyRunning);
    EXPECT_FALSE(second.squatted);
    CloseHandle(second.mutex);
    CloseHandle(first.mutex);
}

TEST(SingleInstanceWin, APlainMutexOfTheNameIsAStrangersAndIgnored) {
    const std::wstring name = UniqueName(L"squat");
    HANDLE squatter = CreateMutexW(nullptr, TRUE, name.c_str());
    ASSERT_NE(squatter, nullptr);
    const WinApi::InstanceLock lock = WinApi::LockSingleInstance(name.c_str());
    EXPECT_TRUE(lock.squatted);
    EXPECT_FALSE(lock.alreadyRunning);
    // With a private namespace the lock is held there; without one (Wine) none is held.
    EXPECT_EQ(lock.mutex == nullptr, lock.error != 0);
    if (lock.mutex != nullptr) CloseHandle(lock.mutex);
    CloseHandle(squatter);
}

TEST(SingleInstanceWin, ThisProcessRunsItsOwnExecutableElevated) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    std::wstring upper(path, length);
    CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
    uint32_t error = 0;
    EXPECT_TRUE(WinApi::IsElevatedProcessOf(GetCurrentProcessId(), upper, error)) << error;
    EXPECT_FALSE(WinApi::IsElevatedProcessOf(GetCurrentProcessId(),
                                             L"C:\\Users\\Public\\OrvelleEx.exe", error));
}

// Wine links a token but guards no file with it, so the check has none.
TEST(UserAccessWin, UnderWineThereIsNoLinkedTokenToAsk) {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr)
        GTEST_SKIP() << "not under Wine";
    uint32_t error = 0;
    EXPECT_EQ(WinApi::OpenLinkedToken(error), nullptr);
    EXPECT_EQ(error, static_cast<uint32_t>(ERROR_NOT_SUPPORTED));
}

}  // namespace
