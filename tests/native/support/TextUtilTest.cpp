// Splitting, placeholder substitution and code-page conversions.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "support/TextUtil.h"

namespace {

struct SplitCase {
    std::wstring text;
    std::vector<std::wstring> pieces;
};

TEST(TextUtil, SplitStringKeepsInnerEmptyPiecesButNoTrailingOne) {
    const SplitCase cases[] = {
        {L"a@UI@b", {L"a", L"b"}},
        {L"@UI@b", {L"", L"b"}},
        {L"a@UI@", {L"a"}},
        {L"a@UI@@UI@b", {L"a", L"", L"b"}},
        {L"", {}},
        {L"plain", {L"plain"}},
        {L"@UI@", {L""}},
        {L"a@UI", {L"a@UI"}},
    };
    for (const SplitCase& c : cases) {
        std::vector<std::wstring> pieces;
        SplitString(c.text, L"@UI@", pieces);
        EXPECT_EQ(pieces, c.pieces) << c.text;
    }
}

TEST(TextUtil, SplitStringAppendsToWhatTheListHolds) {
    std::vector<std::wstring> pieces{L"kept"};
    SplitString(L"x$UI$y", L"$UI$", pieces);
    EXPECT_EQ(pieces, (std::vector<std::wstring>{L"kept", L"x", L"y"}));
    SplitString(L"text", L"", pieces);  // an empty delimiter ends too
    EXPECT_EQ(pieces.back(), L"text");
}

struct FormatCase {
    std::wstring source, argument, expected;
};

TEST(TextUtil, FormatStringReplacesPlaceholdersInOrder) {
    const FormatCase cases[] = {
        {L"A{0}B", L"x", L"AxB"},
        {L"{0}-{0}", L"x", L"x-x"},
        {L"{0}-{0}-{0}", L"p@UI@k&UI&q", L"p-q-p"},
        {L"{0}-{0}", L"p@UI@", L"{0}-{0}"},  // splits into one piece only
        {L"no placeholder", L"p@UI@k&UI&q", L"no placeholder"},
        {L"{0}{0}", L"a@UI@b@UI@c", L"{0}{0}"},                       // three pieces: unchanged
        {L"{0}|{0}|{0}", L"p@UI@k&UI&q$UI$bad$UI$m&UI&r", L"p|q|r"},  // malformed entry skipped
        {L"{0}:{0}", L"p@UI@k&UI&q@UI@", L"p:q"},  // trailing marker still two pieces
        {L"{0}{0}", L"x{0}", L"x{0}x{0}"},         // inserted text is not searched again
        {L"Load failed. {0}", L"{a}Retry{/a}", L"Load failed. {a}Retry{/a}"},
        {L"", L"x", L""},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(FormatString(c.source, c.argument, L"{0}"), c.expected)
            << c.source << L" / " << c.argument;
}

// Runs the body with LC_CTYPE set to `locale`, restoring the old one after.
template <typename Body>
bool WithCtype(const char* locale, Body body) {
    const std::string old = std::setlocale(LC_CTYPE, nullptr);
    if (std::setlocale(LC_CTYPE, locale) == nullptr) return false;
    body();
    std::setlocale(LC_CTYPE, old.c_str());
    return true;
}

TEST(TextConversion, EmptyAndAsciiWithEmbeddedZeroRoundTrip) {
    EXPECT_EQ(Strconv::NarrowToWide(""), L"");
    EXPECT_EQ(Strconv::WideToNarrow(L""), "");
    const std::string narrow("HotFix\0ID", 9);
    const std::wstring wide = Strconv::NarrowToWide(narrow);
    ASSERT_EQ(wide.size(), 9u);
    EXPECT_EQ(wide, std::wstring(L"HotFix\0ID", 9));
    EXPECT_EQ(Strconv::WideToNarrow(wide), narrow);
}

TEST(TextConversion, Utf8CodePageRoundTripsChineseText) {
    const bool ran = WithCtype("C.UTF-8", [] {
        const std::string narrow =
            "\xe5\xae\x89\xe5\x85\xa8\xe6\x9b\xb4\xe6\x96\xb0 KB5005565";  // 安全更新
        const std::wstring wide = Strconv::NarrowToWide(narrow);
        EXPECT_EQ(wide, L"\u5b89\u5168\u66f4\u65b0 KB5005565");
        EXPECT_EQ(Strconv::WideToNarrow(wide), narrow);
        EXPECT_EQ(Strconv::NarrowToWide("ab\xff"
                                        "c"),
                  L"ab\ufffd"
                  L"c");  // an invalid byte, not an empty string
    });
    if (!ran) GTEST_SKIP() << "C.UTF-8 locale missing";
}

TEST(TextConversion, CharactersTheCodePageLacksBecomeQuestionMarks) {
    const bool ran = WithCtype("C", [] { EXPECT_EQ(Strconv::WideToNarrow(L"a\u00e9b"), "a?b"); });
    ASSERT_TRUE(ran);
}

}  // namespace

namespace {

TEST(TextUtil, SplitEveryKeepsEveryPieceAndTrimStringTakesOnlyTheEnds) {
    const std::pair<std::wstring, std::vector<std::wstring>> splits[] = {
        {L"", {L""}},
        {L"9/15/2021", {L"9", L"15", L"2021"}},
        {L"a//b/", {L"a", L"", L"b", L""}},
        {L"/", {L"", L""}},
    };
    for (const auto& [text, pieces] : splits) EXPECT_EQ(SplitEvery(text, L'/'), pieces) << text;

    EXPECT_EQ(TrimString(L" \t 16, 0 \r\n"), L"16, 0");
    EXPECT_EQ(TrimString(L" \t\n"), L"");
    EXPECT_EQ(TrimString(L"\r9/15/2021 \t", L" \t"), L"\r9/15/2021");  // only the blanks named
}

}  // namespace

namespace {

TEST(TextUtil, FillNumberedPlaceholdersReplacesOnlyNumbersWithAValue) {
    EXPECT_EQ(FillNumberedPlaceholders(L"{1} of {0}", {3, 12}), L"12 of 3");
    EXPECT_EQ(FillNumberedPlaceholders(L"{a}{0}{/a} {7} {", {5}), L"{a}5{/a} {7} {");
    EXPECT_EQ(FillNumberedPlaceholders(L"no value {0}", {}), L"no value {0}");
}

}  // namespace
