// Language file resolution over the fixture folders: exact file, same base
// script or base language, en-US, none; a file counts only when it parses with a <Strings> root.
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/KtFileUtil.h"
#include "support/LanguageFiles.h"
#include "testkit/TestPaths.h"

namespace {

struct ResolveCase {
    const wchar_t* folder;  // below tests/fixtures/support
    const wchar_t* language;
    const wchar_t* expectedFile;  // empty: none
};

TEST(LanguageFiles, ResolutionOrder) {
    const ResolveCase cases[] = {
        {L"values", L"en-US", L"en-US.xml"},
        {L"values", L"zh-CN", L"zh-CN.xml"},
        {L"values", L"zh-TW", L"zh-TW.xml"},
        {L"values", L"ZH-hk", L"zh-TW.xml"},
        {L"values", L"zh-Hant-MO", L"zh-TW.xml"},
        {L"values", L"zh-SG", L"zh-CN.xml"},
        {L"values", L"zh", L"zh-CN.xml"},
        {L"values", L"fr-FR", L"en-US.xml"},  // unparsable
        {L"values", L"de-DE", L"en-US.xml"},  // root is not <Strings>
        {L"values", L"ja-JP", L"en-US.xml"},
        {L"values", L"", L"en-US.xml"},
        {L"values-zh-only", L"zh-SG", L"zh-CN.xml"},
        {L"values-zh-only", L"zh-HK", L"zh-CN.xml"},
        {L"values-zh-only", L"ja-JP", L""},
        {L"no-such-folder", L"en-US", L""},
    };
    const std::wstring root = TestPaths::SourceDirW() + L"/tests/fixtures/support/";
    for (const ResolveCase& c : cases) {
        const std::wstring folder = root + c.folder + L"/";
        const std::wstring expected = *c.expectedFile ? folder + c.expectedFile : L"";
        EXPECT_EQ(ResolveLanguageFile(folder, c.language), expected)
            << c.folder << L" " << c.language;
        EXPECT_EQ(DE::LanguageResExist(c.language, folder), !expected.empty())
            << c.folder << L" " << c.language;
    }
}

TEST(LanguageFiles, RelativeFolderWithWindowsSeparators) {
    char saved[4096];
    ASSERT_NE(getcwd(saved, sizeof(saved)), nullptr);
    ASSERT_EQ(chdir(TestPaths::SourceDir().c_str()), 0);
    const std::wstring found = ResolveLanguageFile(L"tests\\fixtures\\support\\values\\", L"zh-SG");
    EXPECT_EQ(found, L"tests/fixtures/support/values/zh-CN.xml");
    EXPECT_TRUE(DE::LanguageResExist(L"zh-CN", L"tests\\fixtures\\support\\values"));
    EXPECT_TRUE(DE::FileExistsW(L"tests\\fixtures\\support\\values\\en-US.xml"));
    ASSERT_EQ(chdir(saved), 0);
}

}  // namespace
