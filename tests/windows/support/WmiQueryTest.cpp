// The real WMI client under Wine, whose Win32_QuickFixEngineering holds one
// instance: KB1234567, "Update", "22/2/2022".
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <thread>

#include "hotfix/WindowsHotfixHelper.h"
#include "support/WMIHelper.h"

namespace {

const HotfixInfo kWineRecord{L"KB1234567", L"Update", L"22/2/2022"};

void ExpectWineRecord(const std::vector<HotfixInfo>& list) {
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].HotFixID, kWineRecord.HotFixID);
    EXPECT_EQ(list[0].Description, kWineRecord.Description);
    EXPECT_EQ(list[0].InstalledOn, kWineRecord.InstalledOn);
}

TEST(WmiQuery, EnumerationReturnsTheSystemsHotfix) {
    std::vector<HotfixInfo> list;
    EXPECT_EQ(WindowsHotfix::WindowsHotfixHelper::GetInstance()->GetInstalledHotFixes(list), 0);
    ExpectWineRecord(list);
}

TEST(WmiQuery, WorksOnAThreadAlreadyInAnotherComMode) {
    std::vector<HotfixInfo> list;
    bool selected = false;
    HRESULT afterwards = E_FAIL;
    std::thread([&] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        selected =
            WMIHelper(L"ROOT\\CIMV2").SelectStrA(L"SELECT * FROM Win32_QuickFixEngineering", list);
        // Still apartment-threaded: the query neither undid nor changed this thread's COM.
        afterwards = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        CoUninitialize();
        CoUninitialize();
    }).join();
    EXPECT_TRUE(selected);
    EXPECT_EQ(afterwards, S_FALSE);
    ExpectWineRecord(list);
}

TEST(WmiQuery, ComIsUndoneWhenTheQueryInitialisedIt) {
    HRESULT afterwards = E_FAIL;
    std::thread([&] {
        std::vector<HotfixInfo> list;
        WMIHelper(L"ROOT\\CIMV2").SelectStrA(L"SELECT * FROM Win32_QuickFixEngineering", list);
        afterwards =
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // S_OK: nothing left initialised
        if (SUCCEEDED(afterwards)) CoUninitialize();
    }).join();
    EXPECT_EQ(afterwards, S_OK);
}

TEST(WmiQuery, UnreachableNamespaceOrBadQueryFailsAndLeavesTheListAlone) {
    std::vector<HotfixInfo> list{kWineRecord};
    EXPECT_FALSE(WMIHelper(L"ROOT\\NoSuchNamespace")
                     .SelectStrA(L"SELECT * FROM Win32_QuickFixEngineering", list));
    EXPECT_FALSE(WMIHelper(L"ROOT\\CIMV2").SelectStrA(L"SELECT FROM WHERE", list));
    EXPECT_EQ(list.size(), 1u);
}

}  // namespace
