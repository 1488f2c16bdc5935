// The shipped layout and language files: they build without a complaint from the
// builder, hold every control the code looks up, and every language has every key.
#include <tinyxml2.h>

#include <algorithm>
#include <cctype>
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
        for (const wchar_t* name : MAIN_WINDOW_CONTROLS)
            EXPECT_NE(main.Find(name), nullptr) << name;
        EXPECT_NE(main.FindAs<DuiLib::CTextUI>(LOAD_FAIL_TEXT), nullptr);
        EXPECT_NE(main.FindAs<DuiLib::CAnimPanelUI>(LOADING_ANIMATION), nullptr);
    }
    AboutDialog about;
    ASSERT_NE(about.Create(nullptr, ABOUT_WINDOW_TITLE, WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr),
              nullptr);
    for (const wchar_t* name : ABOUT_WINDOW_CONTROLS)
        EXPECT_NE(about.GetPaintManager().FindControl(name), nullptr) << name;

    for (const LogRecord& record : log.Records())
        EXPECT_EQ(record.text.find(L"layout"), std::wstring::npos)
            << std::string(record.text.begin(), record.text.end());
    EXPECT_FALSE(log.Contains(L"unknown"));
    EXPECT_FALSE(log.Contains(L"is null"));
}

// Every "IDS_..." key written whole in the files under `folder` with one of the
// extensions. A key put together at run time would not be found here, and the
// test below would then call its text unused: the code names keys whole.
std::set<std::string> KeysNamedIn(const std::string& folder,
                                  const std::vector<std::string>& extensions) {
    std::set<std::string> keys;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(SourcePath(folder))) {
        const std::string ext = entry.path().extension().string();
        if (std::find(extensions.begin(), extensions.end(), ext) == extensions.end()) continue;
        const std::string text = ReadFile(entry.path());
        for (size_t at = text.find("IDS_"); at != std::string::npos; at = text.find("IDS_", at)) {
            size_t end = at + 4;
            while (end < text.size() &&
                   (std::isupper(static_cast<unsigned char>(text[end])) ||
                    std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '_'))
                ++end;
            // Only a key in quotes: "IDS_" alone in a comment names no key.
            if (end > at + 4 && at > 0 && text[at - 1] == '"' && end < text.size() &&
                text[end] == '"')
                keys.insert(text.substr(at, end - at));
            at = end;
        }
    }
    return keys;
}

// The program's code, its layouts and the description catalogue name exactly the
// keys every language file holds: none missing, none that nobody shows.
TEST_F(ShippedResourcesTest, EveryLanguageHoldsExactlyTheKeysInUse) {
    std::set<std::string> used;
    for (const char* folder : {"app", "ui", "hotfix", "platform"})
        for (const std::string& key : KeysNamedIn(folder, {".cpp", ".h"})) used.insert(key);
    for (const std::string& key : KeysNamedIn("res/layout", {".xml"})) used.insert(key);
    for (const std::string& key : KeysNamedIn("config", {".xml"})) used.insert(key);
    EXPECT_GT(used.size(), 30u);

    const std::set<std::string>& expected = used;
    const Texts englishTexts = TextsOf(SourcePath("res/values/en-US.xml"));
    const std::vector<fs::path> files = ShippedLanguageFiles();
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        const Texts texts = TextsOf(file);
        const std::set<std::string> keys = KeysOf(texts);
        for (const std::string& key : expected)
            EXPECT_EQ(keys.count(key), 1u) << file.filename() << " lacks " << key;
        for (const std::string& key : keys)
            EXPECT_EQ(expected.count(key), 1u)
                << file.filename() << " holds " << key << ", which nothing shows";
        // A translation keeps the placeholders and the link markup the code relies on.
        for (const auto& entry : texts) {
            // A spaced percent sign stays beside its number: a no-break space, never a plain one.
            EXPECT_EQ(entry.second.find(" %"), std::string::npos)
                << file.filename() << " " << entry.first << " spaces \"%\" with a plain blank";
            const auto found = englishTexts.find(entry.first);
            if (found == englishTexts.end()) continue;
            for (const char* marker : {"{0}", "{a}", "{/a}"})
                EXPECT_EQ(found->second.find(marker) == std::string::npos,
                          entry.second.find(marker) == std::string::npos)
                    << file << " " << entry.first << " " << marker;
        }
    }
}

}  // namespace
