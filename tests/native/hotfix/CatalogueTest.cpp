// XmlHelper::GetValueDesc against real catalogue files in a scratch folder
// that stands as the executable's folder.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <optional>

#include "hotfix/XmlHelper.h"
#include "testkit/LogCapture.h"
#include "testkit/TestPaths.h"
#include "winapi/TextConversion.h"
#include "winapi/WinApiTesting.h"

namespace fs = std::filesystem;

namespace {

const std::wstring kName = L"(XmlHelper::GetValueDesc)";

struct CatalogueCase {
    const char* name;
    std::optional<std::string> file;  // nullopt: no catalogue file at all
    std::wstring category;
    std::wstring expected;
    std::wstring line;  // empty: nothing logged
    LOG_MESSAGE_LEVEL level;
};

class Catalogue : public ::testing::Test {
protected:
    void TearDown() override { WinApi::Testing::SetModuleFileName(L""); }

    // A fresh executable folder holding `file` as config\HotfixDestriptionDes.xml.
    void InstallCatalogue(const std::string& folderName, const std::optional<std::string>& file) {
        const fs::path folder = TestPaths::MakeScratchDir(folderName);
        fs::create_directories(folder / "config");
        if (file)
            std::ofstream(folder / "config" / "HotfixDestriptionDes.xml", std::ios::binary)
                << *file;
        WinApi::Testing::SetModuleFileName((folder / "OrvelleEx.exe").wstring());
    }
};

TEST_F(Catalogue, LookupCasesEachWithTheirLine) {
    const std::string twoEntries =
        "<Catalogue><Value detail=\"Update\" desc=\"IDS_FIRST\"/><Value detail=\"Update\" "
        "desc=\"IDS_SECOND\"/>"
        "<Value detail=\"\" desc=\"IDS_EMPTY\"/></Catalogue>";
    const std::string foreignSiblings =
        "<Root><Before detail=\"Hotfix\" desc=\"IDS_BEFORE\"/><Value detail=\"Update\" "
        "desc=\"IDS_U\"/>"
        "<After detail=\"Hotfix\" desc=\"IDS_AFTER\"/></Root>";
    const CatalogueCase cases[] = {
        {"found", twoEntries, L"Update", L"IDS_FIRST", L"find value success!", LOG_INFO},
        {"case differs", twoEntries, L"update", L"", L"", LOG_INFO},
        {"blank differs", twoEntries, L"Update ", L"", L"", LOG_INFO},
        {"empty category", twoEntries, L"", L"IDS_EMPTY", L"find value success!", LOG_INFO},
        {"after a foreign sibling", foreignSiblings, L"Hotfix", L"IDS_AFTER",
         L"find value success!", LOG_INFO},
        {"no match", foreignSiblings, L"Service Pack", L"", L"", LOG_INFO},
        {"no Value child", "<Root><Other detail=\"Update\" desc=\"IDS_X\"/></Root>", L"Update", L"",
         L"", LOG_INFO},
        {"missing file", std::nullopt, L"Update", L"", L"hotfix description xml file is not exist!",
         LOG_ERROR},
        {"unparsable", "<Root><Value detail=\"Update\" desc=", L"Update", L"",
         L"hotfix description xml file fail!", LOG_ERROR},
        {"empty file", "", L"Update", L"", L"hotfix description xml file fail!", LOG_ERROR},
        {"no root", "<?xml version=\"1.0\"?><!-- no element -->", L"Update", L"",
         L"hotfix description rootNode is null!", LOG_ERROR},
    };
    for (const CatalogueCase& c : cases) {
        SCOPED_TRACE(c.name);
        InstallCatalogue("catalogue", c.file);
        LogCapture capture;
        EXPECT_EQ(XmlHelper::GetInstance()->GetValueDesc(c.category), c.expected);
        const std::vector<LogRecord> records = capture.Records();
        if (c.line.empty()) {
            EXPECT_TRUE(records.empty());
        } else {
            ASSERT_EQ(records.size(), 1u);
            EXPECT_EQ(records[0].text, c.line + kName);
            EXPECT_EQ(records[0].level, c.level);
        }
    }
}

// The narrow code page here is the C locale's ASCII: a folder name it lacks
// must still reach the file, as on a Windows whose ANSI code page lacks it.
TEST_F(Catalogue, FolderNamedOutsideTheNarrowCodePageIsRead) {
    const std::string old = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C"), nullptr);
    const std::string folder =
        TestPaths::MakeScratchDir("\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb3 \xe6\x9b\xb4");  // Прог 更
    fs::create_directories(folder + "/config");
    std::ofstream(folder + "/config/HotfixDestriptionDes.xml")
        << "<C><Value detail=\"Update\" desc=\"IDS_U\"/></C>";
    WinApi::Testing::SetModuleFileName(Strconv::Utf8ToWide(folder + "/OrvelleEx.exe"));
    EXPECT_EQ(XmlHelper::GetInstance()->GetValueDesc(L"Update"), L"IDS_U");
    std::setlocale(LC_CTYPE, old.c_str());
}

TEST_F(Catalogue, ExecutablePathWithoutFolderCannotComposeThePath) {
    WinApi::Testing::SetModuleFileName(L"OrvelleEx.exe");
    LogCapture capture;
    EXPECT_EQ(XmlHelper::GetInstance()->GetValueDesc(L"Update"), L"");
    EXPECT_EQ(capture.IndexOf(L"get xml path fail!" + kName),
              static_cast<int>(capture.Records().size()) - 1);
}

TEST_F(Catalogue, EditedCatalogueTakesEffectOnTheNextLookup) {
    InstallCatalogue("catalogue-edit",
                     std::string("<C><Value detail=\"Update\" desc=\"IDS_OLD\"/></C>"));
    EXPECT_EQ(XmlHelper::GetInstance()->GetValueDesc(L"Update"), L"IDS_OLD");
    const fs::path file = fs::path(TestPaths::MakeScratchDir("catalogue-edit2")) / "config";
    fs::create_directories(file);
    std::ofstream(file / "HotfixDestriptionDes.xml")
        << "<C><Value detail=\"Update\" desc=\"IDS_NEW\"/></C>";
    WinApi::Testing::SetModuleFileName((file.parent_path() / "OrvelleEx.exe").wstring());
    EXPECT_EQ(XmlHelper::GetInstance()->GetValueDesc(L"Update"), L"IDS_NEW");
    // The same file edited in place, then removed.
    std::ofstream(file / "HotfixDestriptionDes.xml")
        << "<C><Value detail=\"Update\" desc=\"IDS_EDITED\"/></C>";
    EXPECT_EQ(XmlHelper::GetInstance()->GetValueDesc(L"Update"), L"IDS_EDITED");
    fs::remove(file / "HotfixDestriptionDes.xml");
    LogCapture capture;
    EXPECT_EQ(XmlHelper::GetInstance()->GetValueDesc(L"Update"), L"");
    EXPECT_TRUE(capture.Contains(L"hotfix description xml file is not exist!" + kName));
}

// The shipped catalogue maps every category Windows reports to its key.
TEST_F(Catalogue, ShippedCatalogueCoversTheWindowsCategories) {
    WinApi::Testing::SetModuleFileName(TestPaths::SourceDirW() + L"/OrvelleEx.exe");
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"Update", L"IDS_HOTFIX_DESC_UPDATE"},
        {L"Security Update", L"IDS_HOTFIX_DESC_SECURITY_UPDATE"},
        {L"Hotfix", L"IDS_HOTFIX_DESC_HOTFIX"},
        {L"Critical Update", L"IDS_HOTFIX_DESC_CRITICAL_UPDATE"},
        {L"Service Pack", L"IDS_HOTFIX_DESC_SERVICE_PACK"},
        {L"Update Rollup", L"IDS_HOTFIX_DESC_UPDATE_ROLLUP"},
        {L"Feature Pack", L"IDS_HOTFIX_DESC_FEATURE_PACK"},
        {L"Definition Update", L"IDS_HOTFIX_DESC_DEFINITION_UPDATE"},
        {L"Software Update", L"IDS_HOTFIX_DESC_SOFTWARE_UPDATE"},
        {L"Driver", L"IDS_HOTFIX_DESC_DRIVER"},
        {L"Upgrade", L"IDS_HOTFIX_DESC_UPGRADE"},
        {L"Tools", L"IDS_HOTFIX_DESC_TOOLS"},
    };
    for (const auto& [category, key] : expected)
        EXPECT_EQ(XmlHelper::GetInstance()->GetValueDesc(category), key) << category;
}

}  // namespace
