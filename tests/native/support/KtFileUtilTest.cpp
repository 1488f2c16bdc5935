// File tests, paths beside the executable and the tinyxml2 wrappers.
#include <gtest/gtest.h>

#include "support/KtFileUtil.h"
#include "testkit/LogCapture.h"
#include "testkit/TestPaths.h"
#include "winapi/WinApiTesting.h"

namespace {

const std::string kSample = TestPaths::SourceDir() + "/tests/fixtures/support/sample.xml";

TEST(KtFileUtil, FileExistsOnlyForFiles) {
    EXPECT_TRUE(DE::FileExistsA(kSample));
    EXPECT_TRUE(DE::FileExistsW(TestPaths::SourceDirW() + L"/tests/fixtures/support/sample.xml"));
    EXPECT_FALSE(DE::FileExistsA(kSample + ".missing"));
    EXPECT_FALSE(
        DE::FileExistsW(TestPaths::SourceDirW() + L"/tests/fixtures/support"));  // a folder
    EXPECT_FALSE(DE::FileExistsA(""));
}

TEST(KtFileUtil, SelfFullFilePathUsesTheExecutablesFolder) {
    std::wstring path;
    WinApi::Testing::SetModuleFileName(L"/opt/orvelle/OrvelleEx.exe");
    ASSERT_TRUE(FileInfo::GetSelfFullFilePath(path, L"config\\HotfixDestriptionDes.xml"));
    EXPECT_EQ(path, L"/opt/orvelle/config/HotfixDestriptionDes.xml");

    WinApi::Testing::SetModuleFileName(L"");  // the real test executable
    ASSERT_TRUE(FileInfo::GetSelfFullFilePath(path, L"x.txt"));
    EXPECT_EQ(path.substr(path.size() - 6), L"/x.txt");
    EXPECT_EQ(path[0], L'/');

    WinApi::Testing::SetModuleFileName(L"OrvelleEx.exe");
    LogCapture capture;
    std::wstring untouched = L"kept";
    EXPECT_FALSE(FileInfo::GetSelfFullFilePath(untouched, L"x.txt"));
    EXPECT_EQ(untouched, L"kept");
    EXPECT_EQ(capture.Records().size(), 1u);
    WinApi::Testing::SetModuleFileName(L"");
}

TEST(KtXml, WalksElementsByNameOrAnyAndReadsAttributes) {
    KtXMLDocument document;
    ASSERT_EQ(document.LoadFile(kSample), 0);
    ASSERT_FALSE(document.IsDocumentNull());
    const KtXmlElement root = document.FirstNode("");
    ASSERT_FALSE(root.IsElementNull());
    EXPECT_EQ(root.Name(), "Root");
    EXPECT_TRUE(document.FirstNode("Other").IsElementNull());
    EXPECT_EQ(root.Attribute("b"), "two");
    EXPECT_EQ(root.Attribute("missing"), "");

    const KtXmlElement first = root.FirstNode("First");
    EXPECT_EQ(first.Text(), "one");
    EXPECT_EQ(first.NextSiblingElement("").Name(), "Second");
    EXPECT_EQ(first.NextSiblingElement("First").Text(), "three");
    EXPECT_TRUE(first.NextSiblingElement("First").NextSiblingElement("").IsElementNull());

    KtXmlAttribute attribute = root.FirstAttribute();
    EXPECT_EQ(attribute.Name() + "=" + attribute.Value(), "a=1");
    EXPECT_TRUE(attribute.Next().Next().IsAttributeNull());
}

TEST(KtXml, NullWrappersAndFailedLoadsAreHarmless) {
    const KtXmlElement none;
    EXPECT_TRUE(none.IsElementNull());
    EXPECT_TRUE(none.FirstNode("").IsElementNull());
    EXPECT_TRUE(none.NextSiblingElement("x").IsElementNull());
    EXPECT_EQ(none.Attribute("a"), "");
    EXPECT_TRUE(KtXmlAttribute().Next().IsAttributeNull());

    KtXMLDocument missing;
    EXPECT_NE(missing.LoadFile(kSample + ".missing"), 0);
    EXPECT_TRUE(missing.FirstNode("").IsElementNull());
    KtXMLDocument broken;
    EXPECT_NE(broken.Parse("<a><b></a>"), 0);
    EXPECT_TRUE(broken.IsDocumentNull());
}

}  // namespace
