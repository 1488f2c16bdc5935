// Inputs the fuzz targets once stopped at (tests/fuzz/regressions/), as unit cases.
#include <gtest/gtest.h>

#include "hotfix/ServicingPackages.h"
#include "support/TextUtil.h"
#include "testkit/FakeServicingStore.h"

namespace {

// regressions/text/overlapping-delimiter-at-the-end: a delimiter that overlaps
// itself is matched from the left, and what is left after the last match stays.
TEST(FuzzRegression, SplitStringMatchesAnOverlappingDelimiterFromTheLeft) {
    std::vector<std::wstring> pieces;
    SplitString(L"a@UI@@UI@=======@UI@UI@", L"@UI@", pieces);
    EXPECT_EQ(pieces, (std::vector<std::wstring>{L"a", L"", L"=======", L"UI@"}));
}

// regressions/servicing/package-name-naming-its-number-twice: a key name that
// holds "KB5034441" twice (in two cases) is still one package of that update.
TEST(FuzzRegression, APackageNamingItsNumberTwiceIsOnePackageOfIt) {
    FakeServicingStore fake("FuzzRegression.Servicing");
    const std::wstring name =
        L"Package_for_KB5034441~31bf3856ad364e35~amd64~~10 "
        L"package_for_kb5034441~31bf3856ad364e35~amd64~~10.0.1.0";
    fake.AddPackage(name, 0x70, {});
    WindowsHotfix::ServicingPackages store(std::chrono::seconds(20));
    ASSERT_TRUE(store.Find({L"5034441"}));
    const std::vector<WindowsHotfix::StorePackage*> packages = store.PackagesOf(L"5034441");
    ASSERT_EQ(packages.size(), 1u);
    EXPECT_EQ(packages[0]->name, name);
}

}  // namespace
