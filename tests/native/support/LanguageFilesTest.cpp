// Language file resolution over the fixture folders: exact file, same base
// script or base language, en-US, none; a file counts only when it parses with a <Strings> root.
#include <gtest/gtest.h>
#include <unistd.h>

#include <utility>
#include <vector>

#include "support/KtFileUtil.h"
#include "support/LanguageFiles.h"
#include "testkit/TestPaths.h"

namespace {

// Each folder below tests/fixtures/support with the file each language finds there.
struct ResolveCase {
    const wchar_t* folder;
    std::vector<std::pair<const wchar_t*, const wchar_t*>> found;  // language, file ("": none)
};

TEST(LanguageFiles, ResolutionOrder) {
    const ResolveCase cases[] = {
        {L"values",
         {{L"en-US", L"en-US.xml"},
          {L"zh-CN", L"zh-CN.xml"},
          {L"zh-TW", L"zh-TW.xml"},
          {L"ZH-hk", L"zh-TW.xml"},
          {L"zh-Hant-MO", L"zh-TW.xml"},
          {L"zh-SG", L"zh-CN.xml"},
          {L"zh", L"zh-CN.xml"},
          {L"fr-FR", L"en-US.xml"},  // unparsable
          {L"de-DE", L"en-US.xml"},  // root is not <Strings>
          {L"ja-JP", L"en-US.xml"},
          {L"", L"en-US.xml"}}},
        {L"values-zh-only", {{L"zh-SG", L"zh-CN.xml"}, {L"zh-HK", L"zh-CN.xml"}, {L"ja-JP", L""}}},
        {L"no-such-folder", {{L"en-US", L""}}},
    };
    const std::wstring root = TestPaths::SourceDirW() + L"/tests/fixtures/support/";
    for (const ResolveCase& c : cases) {
        const std::wstring folder = root + c.folder + L"/";
        for (const auto& [language, file] : c.found) {
            const std::wstring expected = *file ? folder + file : L"";
            EXPECT_EQ(ResolveLanguageFile(folder, language), expected)
                << c.folder << L" " << language;
            EXPECT_EQ(DE::LanguageResExist(language, folder), !expected.empty())
                << c.folder << L" " << language;
        }
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
