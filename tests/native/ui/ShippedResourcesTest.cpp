// The shipped layout and language files: they build without a complaint from the
// builder, hold every control the code looks up, and every language has every key.
#include <tinyxml2.h>

#include <algorithm>
#include <map>
#include <set>

#include "UiFixtures.h"
#include "testkit/LogCapture.h"
#include "ui/about/AboutDialog.h"

using namespace UiFixtures;

namespace {

class ShippedResourcesTest : public UiTest {};

using Texts = std::map<std::string, std::string>;  // key -> text

Texts TextsOf(const fs::path& file) {
    Texts texts;
    tinyxml2::XMLDocument doc;
    EXPECT_EQ(doc.LoadFile(file.string().c_str()), tinyxml2::XML_SUCCESS) << file;
    const tinyxml2::XMLElement* root = doc.FirstChildElement("Strings");
    EXPECT_NE(root, nullptr) << file;
    for (const tinyxml2::XMLElement* e = root ? root->FirstChildElement("String") : nullptr; e;
         e = e->NextSiblingElement("String")) {
        const char* text = e->GetText();
        EXPECT_NE(text, nullptr) << file << " " << e->Attribute("id");
        EXPECT_TRUE(texts.emplace(e->Attribute("id"), text ? text : "").second)
            << file << " duplicate " << e->Attribute("id");
    }
    return texts;
}

std::set<std::string> KeysOf(const Texts& texts) {
    std::set<std::string> keys;
    for (const auto& entry : texts) keys.insert(entry.first);
    return keys;
}

// Every language file the program ships, whatever their number.
std::vector<fs::path> ShippedLanguageFiles() {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(SourcePath("res/values")))
        if (entry.path().extension() == ".xml") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST_F(ShippedResourcesTest, LayoutsBuildWithoutComplaints) {
    LogCapture log;
    m_enumeration.Succeed(NumberedHotfixes(2));
    {
        OpenMainWindow main;
        ASSERT_TRUE(main.WaitForResultView());
        for (const wchar_t* name :
             {L"loadWaitAnimate", L"loadingHotfixLayout", L"loadHotfixFailLayout",
              L"loadHotfixFinishLayout", L"loadHotfixFailText", L"hotfixFirstTitle",
              L"btnUninstallTip", L"hotfixDiscribeLayout", L"containerInstalledHotfix",
              L"closeButton", L"minButton", L"aboutButton"})
            EXPECT_NE(main.Find(name), nullptr) << name;
        EXPECT_NE(main.FindAs<DuiLib::CTextUI>(L"loadHotfixFailText"), nullptr);
        EXPECT_NE(main.FindAs<DuiLib::CAnimPanelUI>(L"loadWaitAnimate"), nullptr);
    }
    AboutDialog about;
    ASSERT_NE(about.Create(nullptr, ABOUT_WINDOW_TITLE, WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr),
              nullptr);
    for (const wchar_t* name : {TOOL_VERSION, ABOUT_CLOSE_BUTTON, OPEN_SOURCE_STATEMENT})
        EXPECT_NE(about.GetPaintManager().FindControl(name), nullptr) << name;

    for (const LogRecord& record : log.Records())
        EXPECT_EQ(record.text.find(L"layout"), std::wstring::npos)
            << std::string(record.text.begin(), record.text.end());
    EXPECT_FALSE(log.Contains(L"unknown"));
    EXPECT_FALSE(log.Contains(L"is null"));
}

TEST_F(ShippedResourcesTest, EveryLanguageHoldsTheSameKeys) {
    const Texts englishTexts = TextsOf(SourcePath("res/values/en-US.xml"));
    const std::set<std::string> english = KeysOf(englishTexts);
    const std::vector<fs::path> files = ShippedLanguageFiles();
    EXPECT_GT(files.size(), 2u);
    for (const fs::path& file : files) {
        const Texts texts = TextsOf(file);
        EXPECT_EQ(KeysOf(texts), english) << file;
        // A translation keeps the placeholders and the link markup the code relies on.
        for (const auto& entry : texts) {
            const auto found = englishTexts.find(entry.first);
            if (found == englishTexts.end()) continue;
            for (const char* marker : {"{0}", "{a}", "{/a}"})
                EXPECT_EQ(found->second.find(marker) == std::string::npos,
                          entry.second.find(marker) == std::string::npos)
                    << file << " " << entry.first << " " << marker;
        }
    }
    for (const char* key : {"IDS_RES_FILE_NOT_EXIST_TIPS",
                            "IDS_PROMPT_TIPS",
                            "IDS_APP_TITLE",
                            "IDS_ABOUT_BUTTON_NAME",
                            "IDS_MINIMIZE_BUTTON_NAME",
                            "IDS_CLOSE_BUTTON_NAME",
                            "IDS_TIP_BUTTON_NAME",
                            "IDS_HOTFIX_LIST_NAME",
                            "IDS_UNINSTALL_PERMANENT_CODE",
                            "IDS_UNINSTALL_PERMANENT_TIP",
                            "IDS_HOTFIX_LOAD_FAIL",
                            "IDS_HOTFIX_LOAD_RETRY",
                            "IDS_NO_HOTFIX_INSTALL",
                            "IDS_HOTFIX_INSTALLED_TOTAL_COUNT",
                            "IDS_HOTFIX_LOADING",
                            "IDS_HOTFIX_DESCRIBE_TITLE",
                            "IDS_HOTFIX_DESCRIBE_TEXT",
                            "IDS_HOTFIX_COLUMN_NAME",
                            "IDS_HOTFIX_COLUMN_DESCRIPTION",
                            "IDS_HOTFIX_COLUMN_DATE",
                            "IDS_HOTFIX_COLUMN_OPERATION",
                            "IDS_UNINSTALL_HOTFIX_OPERATION",
                            "IDS_UNINSTALLING_HOTFIX_OPERATION",
                            "IDS_UNINSTALL_SUCCESS_CODE",
                            "IDS_UNINSTALL_NEED_RESTART_CODE",
                            "IDS_UNINSTALL_CANNOT_CODE",
                            "IDS_UNINSTALL_FAIL_CODE",
                            "IDS_ABOUT_TITLE",
                            "IDS_ABOUT_VERSION",
                            "IDS_ABOUT_DESCRIPTION",
                            "IDS_OPEN_SOURCE_STATEMENT",
                            "IDS_ABOUT_COPYRIGHT",
                            "IDS_HOTFIX_DESC_UPDATE",
                            "IDS_HOTFIX_DESC_SECURITY_UPDATE",
                            "IDS_HOTFIX_DESC_HOTFIX",
                            "IDS_HOTFIX_DESC_CRITICAL_UPDATE",
                            "IDS_HOTFIX_DESC_SERVICE_PACK",
                            "IDS_HOTFIX_DESC_UPDATE_ROLLUP",
                            "IDS_HOTFIX_DESC_FEATURE_PACK",
                            "IDS_HOTFIX_DESC_DEFINITION_UPDATE",
                            "IDS_HOTFIX_DESC_SOFTWARE_UPDATE",
                            "IDS_HOTFIX_DESC_DRIVER",
                            "IDS_HOTFIX_DESC_UPGRADE",
                            "IDS_HOTFIX_DESC_TOOLS"})
        EXPECT_EQ(english.count(key), 1u) << key;
    // Every key the layouts name is shipped.
    for (const char* layout : {"res/layout/MainWindow.xml", "res/layout/about.xml",
                               "res/layout/Hotfix_container_item_detail.xml"}) {
        const std::string text = ReadFile(SourcePath(layout));
        for (size_t at = text.find("\"IDS_"); at != std::string::npos;
             at = text.find("\"IDS_", at + 1)) {
            const std::string key = text.substr(at + 1, text.find('"', at + 1) - at - 1);
            EXPECT_EQ(english.count(key), 1u) << layout << " " << key;
        }
    }
}

TEST_F(ShippedResourcesTest, VersionLabelTextKeepsItsTrailingBlank) {
    for (const fs::path& file : ShippedLanguageFiles()) {
        DuiLib::UICulture::GetInstance()->SetLanguage(file.stem().wstring(), true);
        EXPECT_EQ(DuiLib::UICulture::GetInstance()->GetLanguage(), file.stem().wstring());
        const std::wstring text =
            DuiLib::UICulture::GetInstance()->GetString(L"IDS_ABOUT_VERSION").str();
        ASSERT_FALSE(text.empty()) << file;
        EXPECT_EQ(text.back(), L' ') << file;
    }
}

}  // namespace
