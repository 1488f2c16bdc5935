// The conversions through the ANSI code page (CP_ACP) of the Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include "winapi/TextConversion.h"

namespace {

TEST(AnsiConversion, EmbeddedZeroAndEmptyText) {
    EXPECT_EQ(Strconv::NarrowToWide(""), L"");
    EXPECT_EQ(Strconv::WideToNarrow(L""), "");
    const std::string narrow(
        "KB\0"
        "12",
        5);
    EXPECT_EQ(Strconv::NarrowToWide(narrow), std::wstring(L"KB\0"
                                                          L"12",
                                                          5));
    EXPECT_EQ(Strconv::WideToNarrow(std::wstring(L"KB\0"
                                                 L"12",
                                                 5)),
              narrow);
}

TEST(AnsiConversion, CodePageCharactersRoundTrip) {
    std::string narrow;
    std::wstring wide;
    if (GetACP() == 1252) {
        narrow = "Caf\xe9 \x80";  // é and the euro sign in Windows-1252
        wide = L"Caf\u00e9 \u20ac";
    } else if (GetACP() == 936) {
        narrow = "\xb0\xb2\xc8\xab";  // 安全 in GBK
        wide = L"\u5b89\u5168";
    } else {
        GTEST_SKIP() << "no sample text for code page " << GetACP();
    }
    EXPECT_EQ(Strconv::NarrowToWide(narrow), wide);
    EXPECT_EQ(Strconv::WideToNarrow(wide), narrow);
}

TEST(AnsiConversion, UnrepresentableCharacterBecomesTheDefaultCharacter) {
    if (GetACP() != 1252) GTEST_SKIP() << "checked for code page 1252";
    EXPECT_EQ(Strconv::WideToNarrow(L"a\u4e2db"), "a?b");
}

}  // namespace
