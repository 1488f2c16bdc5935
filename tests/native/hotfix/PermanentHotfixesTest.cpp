// The servicing store look-up through the registry stand-in and real manifest
// files: which packages count, what is unclear, the deadline, and that nothing
// is ever opened for more than reading.
#include <gtest/gtest.h>

#include <thread>

#include "hotfix/PermanentHotfixes.h"
#include "testkit/FakeServicingStore.h"
#include "testkit/LogCapture.h"
#include "winapi/RegistryTesting.h"

using WindowsHotfix::GetPermanentHotFixes;

namespace {

const std::wstring kName = L"Package_for_KB5005565~31bf3856ad364e35~amd64~~19041.1237.1.7";
const std::wstring kSecondName = L"Package_1_for_KB5005565~31bf3856ad364e35~amd64~~19041.1237.1.7";
const std::string kPermanent = FakeServicingStore::Manifest(true);
const std::string kRemovable = FakeServicingStore::Manifest(false);

struct Package {
    std::wstring name;
    std::optional<uint32_t> state;
    std::optional<std::string> manifest;
};

struct StoreCase {
    const char* name;
    std::vector<Package> packages;
    bool permanent;  // for KB5005565
};

TEST(PermanentHotfixes, HotfixIsPermanentOnlyWhenEveryInstalledPackageIs) {
    const StoreCase cases[] = {
        {"installed, manifest permanent", {{kName, 0x70, kPermanent}}, true},
        {"state permanent, no manifest", {{kName, 0x80, std::nullopt}}, true},
        {"installed, manifest removable", {{kName, 0x70, kRemovable}}, false},
        {"installed and superseded, both permanent",
         {{kName, 0x70, kPermanent}, {kSecondName, 0x50, kPermanent}},
         true},
        {"installed permanent, superseded removable",
         {{kName, 0x80, std::nullopt}, {kSecondName, 0x50, kRemovable}},
         false},
        {"staged and absent packages do not count",
         {{kName, 0x80, std::nullopt}, {kSecondName, 0x40, kRemovable}, {L"KB5005565_x", 0, {}}},
         true},
        {"nothing installed", {{kName, 0x40, kPermanent}}, false},
        {"malformed manifest", {{kName, 0x70, kPermanent.substr(0, 120)}}, false},
        {"manifest without an assembly",
         {{kName, 0x70, "<package permanence=\"permanent\"/>"}},
         false},
        {"missing manifest", {{kName, 0x70, std::nullopt}}, false},
        {"no state value", {{kName, std::nullopt, kPermanent}}, false},
        {"broken permanent state", {{kName, 0xFFFFFF80u, kPermanent}}, false},
        {"no key", {}, false},
        {"cumulative update under another name",
         {{L"Package_for_RollupFix~31bf3856ad364e35~amd64~~19041.1237.1.7", 0x80, kPermanent}},
         false},
        {"a longer number is another update",
         {{L"Package_for_KB50055651~31bf3856ad364e35~amd64~~1.0.1.0", 0x80, kPermanent}},
         false},
    };
    FakeServicingStore store("PermanentHotfixes.Cases");
    for (const StoreCase& c : cases) {
        SCOPED_TRACE(c.name);
        store.Clear();
        for (const Package& package : c.packages)
            store.AddPackage(package.name, package.state, package.manifest);
        // A neighbour that is permanent must not decide for KB5005565, nor it for the neighbour.
        store.AddPackage(L"Package_for_KB4023057~31bf3856ad364e35~amd64~~1.0.0.0", 0x80, {});

        const auto permanent = GetPermanentHotFixes(
            {{L"KB5005565", L"Security Update", L"9/15/2021"}, {L"KB4023057", L"Update", L""}});

        std::set<std::wstring> expected{L"KB4023057"};
        if (c.permanent) expected.insert(L"KB5005565");
        EXPECT_EQ(permanent, expected);
        const auto opens = WinApi::Testing::RegistryOpens();
        ASSERT_FALSE(opens.empty());
        for (const auto& open : opens) EXPECT_EQ(open.access, 0x20119u) << open.path;
    }
}

TEST(PermanentHotfixes, ListIsDecidedPerIdentifierAndNotAtAllWithoutAStore) {
    FakeServicingStore store("PermanentHotfixes.List");
    const std::vector<HotfixInfo> list = {{L"KB1", L"", L""}, {L"KB2", L"", L""},
                                          {L"KB1", L"", L""}, {L"kb3", L"", L""},
                                          {L"Q4", L"", L""},  {L"", L"", L""}};
    LogCapture capture;
    EXPECT_TRUE(GetPermanentHotFixes(list).empty());
    EXPECT_TRUE(capture.Contains(L"no servicing store to read, ret:2("));

    store.AddPackage(L"Package_for_KB1~a", 0x80, {});
    store.AddPackage(L"Package_for_KB2~a", 0x70, kRemovable);
    store.AddPackage(L"Package_for_KB3~a", 0x70, kPermanent);
    store.AddPackage(L"Package_for_KB4~a", 0x80, {});
    EXPECT_EQ(GetPermanentHotFixes(list), (std::set<std::wstring>{L"KB1", L"kb3"}));
}

TEST(PermanentHotfixes, PastTheDeadlineUndecidedHotfixesStayOut) {
    FakeServicingStore store("PermanentHotfixes.Deadline");
    for (const wchar_t* number : {L"1", L"2", L"3"})
        store.AddPackage(L"Package_for_KB" + std::wstring(number) + L"~a", 0x80, {});
    const std::vector<HotfixInfo> list = {
        {L"KB1", L"", L""}, {L"KB2", L"", L""}, {L"KB3", L"", L""}};
    // A store so slow that the budget is spent while KB2's package key opens.
    WinApi::Testing::SetRegistryOpenHook([](const std::wstring& path) {
        if (path.find(L"package_for_kb2~") != std::wstring::npos)
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    LogCapture capture;
    EXPECT_EQ(GetPermanentHotFixes(list), (std::set<std::wstring>{L"KB1", L"KB2"}));
    EXPECT_TRUE(capture.Contains(L"servicing store look-up out of time at:KB3("));

    // A store too big to list within the budget decides nothing.
    WinApi::Testing::SetRegistryOpenHook(nullptr);
    EXPECT_TRUE(GetPermanentHotFixes(list, std::chrono::milliseconds(0)).empty());
    EXPECT_TRUE(capture.Contains(L"servicing store look-up out of time, packages read:0("));
}

}  // namespace
