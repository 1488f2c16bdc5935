// One uninstall at a time, clicked the way a user clicks: the row's looks, the other
// rows, the installer's command line (a real script in place of wusa.exe) and each outcome.
#include <tinyxml2.h>

#include <cstdlib>
#include <cstring>

#include "UiFixtures.h"
#include "testkit/LogCapture.h"
#include "ui/item/RowColors.h"

using namespace UiFixtures;
using DuiLib::CButtonUI;
using DuiLib::CControlUI;
using DuiLib::CLabelUI;

namespace {

// A text's colour in the shipped row layout ("#AARRGGBB"): its idle look.
uint32_t LayoutTextColor(const char* control) {
    tinyxml2::XMLDocument doc;
    const std::string file = SourcePath("res/layout/Hotfix_container_item_detail.xml").string();
    EXPECT_EQ(doc.LoadFile(file.c_str()), tinyxml2::XML_SUCCESS) << file;
    std::vector<const tinyxml2::XMLElement*> pending = {doc.RootElement()};
    while (!pending.empty()) {
        const tinyxml2::XMLElement* element = pending.back();
        pending.pop_back();
        if (element == nullptr) continue;
        const char* name = element->Attribute("name");
        const char* colour = element->Attribute("textcolor");
        if (name != nullptr && colour != nullptr && std::string(name) == control)
            return static_cast<uint32_t>(std::strtoul(colour + 1, nullptr, 16));
        for (const tinyxml2::XMLElement* child = element->FirstChildElement(); child;
             child = child->NextSiblingElement())
            pending.push_back(child);
    }
    ADD_FAILURE() << control << " has no textcolor in " << file;
    return 0;
}

class UninstallFlowTest : public UiTest {
protected:
    CButtonUI* Button(int row, const wchar_t* id) {
        return main().InRow<CButtonUI>(row, (L"btnUniName" + std::wstring(id)).c_str());
    }
    CLabelUI* Text(int row, const wchar_t* name) { return main().InRow<CLabelUI>(row, name); }
};

TEST_F(UninstallFlowTest, ClickStartsTheInstallerAndDisablesTheOtherRows) {
    LogCapture log;
    FakeInstaller installer(m_folder);
    installer.Hold();
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5005565"), Hotfix(L"KB200"), Hotfix(L"KB300")}));

    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB5005565")) << main().driver().LastError();

    EXPECT_TRUE(log.Contains(L"click hotfix name:KB5005565(MainWindow::OnClick)"));
    EXPECT_TRUE(log.Contains(L"find kb is 5005565(HotfixManageItemDetail::OnClickUninstall)"));
    const std::vector<WinApi::Testing::LaunchRecord> launches = WaitForLaunches(1);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].application, L"C:\\Windows\\System32\\wusa.exe");
    EXPECT_EQ(launches[0].commandLine,
              L"\"C:\\Windows\\System32\\wusa.exe\" /uninstall /kb:5005565");
    EXPECT_EQ(launches[0].currentDirectory, L"C:\\Windows\\System32");

    // The clicked row: uninstalling look.
    CButtonUI* running = Button(0, L"KB5005565");
    EXPECT_EQ(running->GetText().str(), L"Uninstalling…");
    EXPECT_FALSE(running->IsEnabled());
    EXPECT_EQ(running->GetDisabledTextColor(), 0x660A59F7u);
    EXPECT_EQ(running->GetDisabledBkColor(), 0x66FFFFFFu);
    for (const wchar_t* name : {L"hotfixNameText", L"descriptionText", L"installedTimeText"})
        EXPECT_EQ(Text(0, name)->GetTextColor(), RowColors::kUninstallingTextColor) << name;
    // The others: disabled with the "another row uninstalls" look, texts untouched.
    for (int row : {1, 2}) {
        CButtonUI* other =
            main().InRow<CButtonUI>(row, row == 1 ? L"btnUniNameKB200" : L"btnUniNameKB300");
        EXPECT_FALSE(other->IsEnabled());
        EXPECT_EQ(other->GetText().str(), L"Uninstall");
        EXPECT_EQ(other->GetDisabledTextColor(), RowColors::kOtherBusyButtonTextColor);
        EXPECT_EQ(other->GetDisabledBkColor(), 0x0D000000u);
        EXPECT_EQ(Text(row, L"hotfixNameText")->GetTextColor(), LayoutTextColor("hotfixNameText"));
    }
    // A disabled button takes no click: once every worker has ended, one installer ran.
    main().driver().Click(L"btnUniNameKB200");

    installer.Release();
    ASSERT_TRUE(main().PumpUntil([&] { return Button(1, L"KB200")->IsEnabled(); }));
    EXPECT_TRUE(Button(2, L"KB300")->IsEnabled());
    EXPECT_TRUE(
        log.Contains(L"unstall status ui callback status:0(MainWindow::UnstallStatusUICallback)"));
    ASSERT_TRUE(FinishBackgroundWork());
    EXPECT_EQ(WinApi::Testing::LaunchRecords().size(), 1u);
    ASSERT_EQ(installer.Calls().size(), 1u);
    EXPECT_EQ(installer.Calls()[0], "/uninstall /kb:5005565");
}

// Each installer exit code, as the row shows it.
struct OutcomeCase {
    long long exitCode;
    const wchar_t* text;
    uint32_t color;
};

class OutcomeTest : public UninstallFlowTest, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(OutcomeTest, RowShowsTheOutcomeAndOthersAreEnabledAgain) {
    FakeInstaller installer(m_folder);
    installer.ExitWith(GetParam().exitCode);
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB11"), Hotfix(L"kb22"), Hotfix(L"KB33")}));

    ASSERT_TRUE(main().driver().Click(L"btnUniNamekb22")) << main().driver().LastError();
    CButtonUI* button = Button(1, L"kb22");
    CLabelUI* label = main().InRow<CLabelUI>(1, L"labUniNamekb22");
    ASSERT_TRUE(main().PumpUntil([&] { return label->IsVisible(); }));

    EXPECT_EQ(label->GetText().str(), GetParam().text);
    EXPECT_EQ(label->GetTextColor(), GetParam().color);
    EXPECT_FALSE(button->IsVisible());
    for (const wchar_t* name : {L"hotfixNameText", L"descriptionText", L"installedTimeText"})
        EXPECT_EQ(Text(1, name)->GetTextColor(), RowColors::kUninstallingTextColor) << name;
    EXPECT_TRUE(Button(0, L"KB11")->IsEnabled());
    EXPECT_TRUE(Button(2, L"KB33")->IsEnabled());
    EXPECT_EQ(installer.Calls()[0], "/uninstall /kb:22");

    // The outcome is final; another row can be uninstalled next.
    installer.ExitWith(0);
    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB33"));
    ASSERT_TRUE(main().PumpUntil([&] { return !Button(2, L"KB33")->IsVisible(); }));
    EXPECT_EQ(label->GetText().str(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    ExitCodes, OutcomeTest,
    ::testing::Values(OutcomeCase{0, L"Uninstalled", RowColors::kSuccessColor},
                      OutcomeCase{3010, L"Restart to finish", RowColors::kProblemColor},
                      OutcomeCase{1641, L"Restart to finish", RowColors::kProblemColor},
                      OutcomeCase{0x80242004LL, L"Cannot be uninstalled", RowColors::kProblemColor},
                      OutcomeCase{1, L"Uninstall failed", RowColors::kProblemColor},
                      OutcomeCase{87, L"Uninstall failed", RowColors::kProblemColor}));

TEST_F(UninstallFlowTest, CancelReturnsTheRowToIdleWithIdleColours) {
    FakeInstaller installer(m_folder);
    installer.ExitWith(1223);
    installer.Hold();
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB1"), Hotfix(L"KB2")}));

    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB1"));
    EXPECT_FALSE(Button(1, L"KB2")->IsEnabled());
    installer.Release();
    ASSERT_TRUE(main().PumpUntil([&] { return Button(0, L"KB1")->IsEnabled(); }));

    CButtonUI* button = Button(0, L"KB1");
    EXPECT_TRUE(button->IsVisible());
    EXPECT_EQ(button->GetText().str(), L"Uninstall");
    EXPECT_FALSE(main().InRow(0, L"labUniNameKB1")->IsVisible());
    // The idle colours are the layout's own.
    for (const char* name : {"hotfixNameText", "descriptionText", "installedTimeText"})
        EXPECT_EQ(Text(0, std::wstring(name, name + std::strlen(name)).c_str())->GetTextColor(),
                  LayoutTextColor(name))
            << name;
    EXPECT_TRUE(Button(1, L"KB2")->IsEnabled());

    // Clickable again.
    installer.ExitWith(0);
    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB1"));
    ASSERT_TRUE(main().PumpUntil([&] { return main().InRow(0, L"labUniNameKB1")->IsVisible(); }));
    EXPECT_EQ(installer.Calls().size(), 2u);
}

TEST_F(UninstallFlowTest, DeclinedElevationCancelsWithoutRunningTheInstaller) {
    FakeInstaller installer(m_folder);
    WinApi::Testing::SetLaunchFailure(1223);
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB1"), Hotfix(L"KB2")}));
    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB1"));
    ASSERT_TRUE(main().PumpUntil([&] { return Button(1, L"KB2")->IsEnabled(); }));
    EXPECT_TRUE(Button(0, L"KB1")->IsEnabled());
    EXPECT_EQ(Button(0, L"KB1")->GetText().str(), L"Uninstall");
    EXPECT_TRUE(installer.Calls().empty());
}

// Identifiers whose text after "KB"/"kb" is not a plain number never reach the installer;
// one without either marker is no update the row can name, and says nothing.
struct UnsafeIdentifier {
    const wchar_t* id;
    bool logged;
};

void PrintTo(const UnsafeIdentifier& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::wstring(c.id)) << (c.logged ? ", logged" : ", silent");
}

class UnsafeIdentifierTest : public UninstallFlowTest,
                             public ::testing::WithParamInterface<UnsafeIdentifier> {};

TEST_P(UnsafeIdentifierTest, StartsNothingAndLeavesEveryRowIdle) {
    LogCapture log;
    FakeInstaller installer(m_folder);
    const std::wstring id = GetParam().id;
    ASSERT_TRUE(OpenWithRows({Hotfix(id), Hotfix(L"KB2")}));
    log.Clear();
    ASSERT_TRUE(main().driver().Click((L"btnUniName" + id).c_str())) << main().driver().LastError();
    main().driver().Pump();

    ASSERT_TRUE(FinishBackgroundWork());  // a worker, had one started, would have launched
    EXPECT_TRUE(WinApi::Testing::LaunchRecords().empty());
    EXPECT_TRUE(installer.Calls().empty());
    CButtonUI* button = Button(0, id.c_str());
    EXPECT_TRUE(button->IsEnabled());
    EXPECT_EQ(button->GetText().str(), L"Uninstall");
    EXPECT_EQ(Text(0, L"hotfixNameText")->GetTextColor(), LayoutTextColor("hotfixNameText"));
    EXPECT_TRUE(Button(1, L"KB2")->IsEnabled());
    std::vector<std::wstring> rowLines;
    for (const LogRecord& record : log.Matching(L"(HotfixManageItemDetail::OnClickUninstall)"))
        rowLines.push_back(record.text);
    EXPECT_EQ(rowLines,
              GetParam().logged
                  ? std::vector<std::wstring>{L"hotfix id has no plain kb number:" + id +
                                              L"(HotfixManageItemDetail::OnClickUninstall)"}
                  : std::vector<std::wstring>{});
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, UnsafeIdentifierTest,
    ::testing::Values(UnsafeIdentifier{L"KB123 /quiet", true},
                      UnsafeIdentifier{L"KB123&calc", true}, UnsafeIdentifier{L"KB", true},
                      UnsafeIdentifier{L"KB12a", true}, UnsafeIdentifier{L"KB１２", true},
                      UnsafeIdentifier{L"Q123456", false}, UnsafeIdentifier{L"Kb123", false}));

TEST_F(UninstallFlowTest, NumberIsTakenAfterTheFirstMarker) {
    FakeInstaller installer(m_folder);
    installer.ExitWith(0);
    ASSERT_TRUE(OpenWithRows({Hotfix(L"xKB77"), Hotfix(L"kb5")}));
    ASSERT_TRUE(main().driver().Click(L"btnUniNamexKB77"));
    ASSERT_TRUE(main().PumpUntil(
        [&] { return installer.Calls().size() == 1 && Button(1, L"kb5")->IsEnabled(); }));
    EXPECT_EQ(installer.Calls()[0], "/uninstall /kb:77");
}

TEST_F(UninstallFlowTest, IdentifierNotInTheListChangesNothing) {
    LogCapture log;
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB1"), Hotfix(L"KB2")}));
    Button(0, L"KB1")->SetName(L"btnUniNameKB999");
    log.Clear();
    ASSERT_TRUE(main().driver().Click(L"btnUniNameKB999"));
    EXPECT_EQ(UiLines(log.Records()),
              std::vector<std::wstring>{L"click hotfix name:KB999(MainWindow::OnClick)"});
    EXPECT_TRUE(WinApi::Testing::LaunchRecords().empty());
    EXPECT_TRUE(main().Find(L"btnUniNameKB999")->IsEnabled());
    EXPECT_TRUE(Button(1, L"KB2")->IsEnabled());
}

TEST_F(UninstallFlowTest, RowButtonNameInTheMiddleIsStillARowButton) {
    FakeInstaller installer(m_folder);
    installer.Hold();
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB1"), Hotfix(L"KB2")}));
    Button(1, L"KB2")->SetName(L"xbtnUniNameKB1");
    ASSERT_TRUE(main().driver().Click(L"xbtnUniNameKB1"));
    EXPECT_EQ(main().InRow(0, L"btnUniNameKB1")->GetText().str(), L"Uninstalling…");
    EXPECT_FALSE(main().Find(L"xbtnUniNameKB1")->IsEnabled());
}

TEST_F(UninstallFlowTest, HoveringTheTipShowsTheDescriptionPanel) {
    LogCapture log;
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB1")}));
    EXPECT_FALSE(main().Shown(L"hotfixDiscribeLayout"));

    ASSERT_TRUE(main().driver().Hover(L"btnUninstallTip")) << main().driver().LastError();
    EXPECT_TRUE(main().Shown(L"hotfixDiscribeLayout"));
    EXPECT_EQ(main().Text(L"hotfixDescribeTitle"), L"Before you uninstall");
    EXPECT_TRUE(
        log.Contains(L"MainWindow OnMouseEnter btnUninstallTip!(MainWindow::OnMouseEnter)"));

    ASSERT_TRUE(main().driver().Hover(L"appTitle"));
    EXPECT_FALSE(main().Shown(L"hotfixDiscribeLayout"));
    EXPECT_TRUE(
        log.Contains(L"MainWindow OnMouseLeave btnUninstallTip!(MainWindow::OnMouseLeave)"));

    log.Clear();
    ASSERT_TRUE(main().driver().Hover(L"hotfixFirstTitle"));
    ASSERT_TRUE(main().driver().Hover(L"btnUniNameKB1"));
    EXPECT_TRUE(UiLines(log.Records()).empty());
}

}  // namespace
