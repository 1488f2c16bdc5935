// Inputs the fuzz targets once stopped at (tests/fuzz/regressions/), as unit cases.
#include <gtest/gtest.h>

#include "support/TextUtil.h"

namespace {

// regressions/text/overlapping-delimiter-at-the-end: a delimiter that overlaps
// itself is matched from the left, and what is left after the last match stays.
TEST(FuzzRegression, SplitStringMatchesAnOverlappingDelimiterFromTheLeft) {
    std::vector<std::wstring> pieces;
    SplitString(L"a@UI@@UI@=======@UI@UI@", L"@UI@", pieces);
    EXPECT_EQ(pieces, (std::vector<std::wstring>{L"a", L"", L"=======", L"UI@"}));
}

}  // namespace
