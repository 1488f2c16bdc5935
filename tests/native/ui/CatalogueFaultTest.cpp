// A damaged description catalogue, end to end through the window: every record
// still gets its row with identifier and date, the description is empty where
// the catalogue cannot answer, each row logs the cause once, and an uninstall
// still runs.
#include "UiFixtures.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;

namespace {

// About 5 MB: the three categories only after 100,000 other entries.
std::string EnormousCatalogue() {
    std::string text = "<HotfixDescriptions>\n";
    for (int i = 0; i < 100000; ++i)
        text += "  <Value detail=\"Category " + std::to_string(i) + "\" desc=\"IDS_OTHER\"/>\n";
    text +=
        "  <Value detail=\"Update\" desc=\"IDS_HOTFIX_DESC_UPDATE\"/>\n"
        "  <Value detail=\"Hotfix\" desc=\"IDS_HOTFIX_DESC_HOTFIX\"/>\n"
        "</HotfixDescriptions>\n";
    return text;
}

const char kBinary[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe";  // zero bytes inside

struct CatalogueFault {
    const char* name;
    bool present;
    std::string content;
    std::wstring line;  // logged once per row; empty: nothing
    std::wstring updateText;
};

using Texts = std::vector<std::wstring>;

class CatalogueFaultTest : public UiTest, public ::testing::WithParamInterface<CatalogueFault> {};

TEST_P(CatalogueFaultTest, ListIsCompleteAndUsable) {
    const CatalogueFault& fault = GetParam();
    const fs::path catalogue = fs::path(m_folder) / "config" / "HotfixDestriptionDes.xml";
    if (fault.present)
        WriteFile(catalogue, fault.content);
    else
        fs::remove(catalogue);
    if (fault.content.size() > 1000000) {
        ASSERT_GE(fs::file_size(catalogue), 5000000u);
    }
    FakeInstaller installer(m_folder);
    installer.ExitWith(0);
    LogCapture log;
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB11", L"Update", L"1/2/2026"),
                              Hotfix(L"KB22", L"Hotfix", L"3/4/2025"),
                              Hotfix(L"KB33", L"Update", L"5/6/2024")}));

    ASSERT_EQ(main().RowCount(), 3);
    EXPECT_EQ(main().RowTexts(L"hotfixNameText"), (Texts{L"KB11", L"KB22", L"KB33"}));
    EXPECT_EQ(main().RowTexts(L"installedTimeText"),
              (Texts{L"2026-1-2", L"2025-3-4", L"2024-5-6"}));
    EXPECT_EQ(main().InRow(0, L"descriptionText")->GetText().str(), fault.updateText);
    EXPECT_EQ(main().InRow(2, L"descriptionText")->GetText().str(), fault.updateText);
    if (!fault.line.empty()) {
        EXPECT_EQ(log.Matching(fault.line).size(), 3u);
    }

    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB22")) << main().driver().LastError();
    ASSERT_TRUE(main().PumpUntil([&] { return main().Shown(L"labUniNameKB22"); }));
    EXPECT_EQ(main().Text(L"labUniNameKB22"), L"Uninstalled");
    EXPECT_TRUE(main().InRow(0, L"btnUniNameKB11")->IsEnabled());
    EXPECT_EQ(installer.Calls(), std::vector<std::string>{"/uninstall /kb:22"});
}

INSTANTIATE_TEST_SUITE_P(
    Catalogues, CatalogueFaultTest,
    ::testing::Values(
        CatalogueFault{"missing", false, "",
                       L"hotfix description xml file is not exist!(XmlHelper::GetValueDesc)", L""},
        CatalogueFault{"empty", true, "",
                       L"hotfix description xml file fail!(XmlHelper::GetValueDesc)", L""},
        CatalogueFault{"truncated", true,
                       "<HotfixDescriptions><Value detail=\"Update\" desc=\"IDS_HOTF",
                       L"hotfix description xml file fail!(XmlHelper::GetValueDesc)", L""},
        CatalogueFault{"binary", true, std::string(kBinary, sizeof(kBinary) - 1),
                       L"hotfix description xml file fail!(XmlHelper::GetValueDesc)", L""},
        CatalogueFault{"foreignEntries", true,
                       "<Root><Entry detail=\"Update\" desc=\"IDS_HOTFIX_DESC_UPDATE\"/></Root>",
                       L"", L""},
        CatalogueFault{"unknownKey", true,
                       "<Root><Value detail=\"Update\" desc=\"IDS_NOT_IN_ANY_LANGUAGE\"/></Root>",
                       L"", L""},
        // Above the 1 MiB every file of the program is bound to: read as missing.
        CatalogueFault{"enormous", true, EnormousCatalogue(),
                       L"hotfix description xml file fail!(XmlHelper::GetValueDesc)", L""}),
    [](const ::testing::TestParamInfo<CatalogueFault>& info) {
        return std::string(info.param.name);
    });

}  // namespace
