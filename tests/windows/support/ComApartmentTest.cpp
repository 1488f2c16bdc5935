// COM for the ShellExecute calls under Wine: apartment-threaded while the
// object lives on a fresh thread; a thread already in multithreaded COM keeps
// it; either way the thread's initialisations stay balanced.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <thread>

#include "winapi/ComApartment.h"

namespace {

// The thread's apartment, or -1 when COM is not initialised on it.
int Apartment() {
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    return CoGetApartmentType(&type, &qualifier) == S_OK ? static_cast<int>(type) : -1;
}

TEST(ComApartment, SingleThreadedOnAFreshThreadAndGoneAfter) {
    int during = -2, after = -2;
    bool ready = false;
    std::thread([&] {
        {
            const WinApi::ComApartment com;
            ready = com.IsReady();
            during = Apartment();
        }
        after = Apartment();
    }).join();
    EXPECT_TRUE(ready);
    EXPECT_TRUE(during == APTTYPE_STA || during == APTTYPE_MAINSTA)
        << during;  // the first STA is the main one
    EXPECT_EQ(after, -1);
}

TEST(ComApartment, AThreadInMultithreadedComKeepsIt) {
    HRESULT result = S_OK;
    bool ready = false;
    int during = -2, afterwards = -2, balanced = -2;
    std::thread([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            const WinApi::ComApartment com;
            result = com.Result();
            ready = com.IsReady();
            during = Apartment();
        }
        afterwards = Apartment();
        CoUninitialize();
        balanced = Apartment();
    }).join();
    EXPECT_EQ(result, RPC_E_CHANGED_MODE);
    EXPECT_TRUE(ready);
    EXPECT_EQ(during, APTTYPE_MTA);
    EXPECT_EQ(afterwards, APTTYPE_MTA);
    EXPECT_EQ(balanced, -1);
}

}  // namespace
