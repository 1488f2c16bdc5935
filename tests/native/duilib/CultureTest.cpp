// UICulture: which language file serves a language, the texts of keys, and
// placeholders in GetFormatString.
#include "DuiTestEnv.h"
#include "testkit/LogCapture.h"

using namespace DuiLib;
using DuiTest::FixturePath;

namespace {

class CultureTest : public DuiTest::ToolkitTest {
protected:
    UICulture* culture = UICulture::GetInstance();
};

struct LanguageCase {
    const wchar_t* folder;
    const wchar_t* asked;
    bool loads;
    const wchar_t* title;  // IDS_APP_TITLE as shown afterwards
};

class LanguageResolutionTest : public CultureTest,
                               public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageResolutionTest, TheClosestShippedLanguageServes) {
    const LanguageCase& c = GetParam();
    culture->SetLanguagePath(FixturePath(c.folder));
    EXPECT_EQ(culture->SetLanguage(c.asked, true), c.loads);
    EXPECT_EQ(culture->GetString(L"IDS_APP_TITLE"), c.title);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, LanguageResolutionTest,
    ::testing::Values(LanguageCase{L"res/values/", L"en-US", true, L"Orvelle Test"},
                      LanguageCase{L"res/values/", L"zh-CN", true, L"测试标题"},
                      LanguageCase{L"res\\values\\", L"zh-TW", true, L"测试标题"},
                      LanguageCase{L"res/values/", L"fr-FR", true, L"Orvelle Test"},
                      LanguageCase{L"res/values/", L"", true, L"Orvelle Test"},
                      LanguageCase{L"values-zh-only/", L"de-DE", false, L""},
                      LanguageCase{L"values-empty/", L"en-US", false, L""},
                      LanguageCase{L"no-such-folder/", L"en-US", false, L""}));

TEST_F(CultureTest, TheLoadedLanguageIsTheFilesOwn) {
    culture->SetLanguage(L"zh-TW", true);
    EXPECT_EQ(culture->GetLanguage(), L"zh-CN");
}

TEST_F(CultureTest, WithoutAnyLanguageFileTheMissingResourceBoxIsStillReadable) {
    culture->SetLanguagePath(FixturePath(L"values-empty/"));
    ASSERT_FALSE(culture->SetLanguage(L"en-US", true));
    EXPECT_FALSE(culture->GetString(L"IDS_RES_FILE_NOT_EXIST_TIPS").IsEmpty());
    EXPECT_EQ(culture->GetString(L"IDS_PROMPT_TIPS"), L"Prompt");
    // A language file's own text wins over the built-in one.
    culture->SetLanguagePath(FixturePath(L"res/values/"));
    culture->SetLanguage(L"en-US", true);
    EXPECT_EQ(culture->GetString(L"IDS_PROMPT_TIPS"), L"Notice");
}

TEST_F(CultureTest, EmptyAndUnknownKeysGiveEmptyTextAndAnUnknownKeyIsLoggedOnce) {
    LogCapture log;
    EXPECT_EQ(culture->GetString(L""), L"");
    EXPECT_EQ(culture->GetString(static_cast<LPCTSTR>(nullptr)), L"");
    EXPECT_EQ(culture->GetString(L"IDS_NOPE"), L"");
    EXPECT_EQ(culture->GetString(L"IDS_NOPE"), L"");
    ASSERT_EQ(log.Matching(L"IDS_NOPE").size(), 1u);
    EXPECT_EQ(log.Matching(L"IDS_NOPE")[0].text,
              L"unknown language key:IDS_NOPE(UICulture::GetString)");
    EXPECT_EQ(log.Records().size(), 1u);
}

struct FormatCase {
    const wchar_t* key;
    std::vector<int> values;
    const wchar_t* expected;
};

class FormatStringTest : public CultureTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatStringTest, NumberedPlaceholdersTakeTheValuesInOrder) {
    EXPECT_EQ(culture->GetFormatString(GetParam().key, GetParam().values, 0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Placeholders, FormatStringTest,
    ::testing::Values(FormatCase{L"IDS_COUNT", {3, 12}, L"3 of 12 installed"},
                      FormatCase{L"IDS_COUNT", {-1, 1000000}, L"-1 of 1000000 installed"},
                      // A placeholder without a value and link markup stay as they are.
                      FormatCase{L"IDS_COUNT", {7}, L"7 of {1} installed"},
                      FormatCase{L"IDS_TWICE", {5}, L"5, again 5; {a}link{/a} and {2}"},
                      FormatCase{L"IDS_APP_TITLE", {1, 2}, L"Orvelle Test"},
                      FormatCase{L"IDS_ABSENT", {1}, L""}));

}  // namespace
