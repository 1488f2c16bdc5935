// File tests, paths beside the executable and the tinyxml2 wrappers.
#include <gtest/gtest.h>

#include <fstream>

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

// Every file of the program is read through one reader that takes at most
// 1 MiB: a larger catalogue, layout or language file reads as missing, logged.
TEST(KtXml, FilesAboveOneMebibyteReadAsMissing) {
    const std::string folder = TestPaths::MakeScratchDir("KtXml.FilesAboveOneMebibyte");
    const std::string head = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Hotfix><!--";
    const std::string tail = "--></Hotfix>\n";
    for (const size_t size : {size_t{1024 * 1024}, size_t{1024 * 1024 + 1}}) {
        SCOPED_TRACE(size);
        const std::string path = folder + "/catalogue-" + std::to_string(size) + ".xml";
        std::ofstream(path, std::ios::binary)
            << head << std::string(size - head.size() - tail.size(), ' ') << tail;
        LogCapture log;
        KtXMLDocument document;
        const bool read = document.LoadFile(path) == 0;
        EXPECT_EQ(read, size <= 1024 * 1024);
        EXPECT_EQ(document.FirstNode("Hotfix").IsElementNull(), !read);
        EXPECT_EQ(log.Matching(L"file too large, read as missing! path:").size(), read ? 0u : 1u);
    }
}

}  // namespace
