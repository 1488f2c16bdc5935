// A hotfix that Windows marks as permanent, from the servicing store (stand-in
// registry, manifests on disk) to its row in the real main window: the grey
// label with its tip where the button was, no uninstall from it, and no part in
// the disabling and enabling around other rows' uninstalls.
#include "UiFixtures.h"
#include "testkit/FakeServicingStore.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;
using DuiLib::CButtonUI;
using DuiLib::CLabelUI;

namespace {

class PermanentRowTest : public UiTest {};

TEST_F(PermanentRowTest, PermanentRowShowsWhyAndStaysOutOfEveryUninstall) {
    FakeServicingStore store("PermanentRowTest.Store");
    store.AddPackage(L"Package_for_KB5005565~31bf3856ad364e35~amd64~~19041.1237.1.7", 0x70,
                     FakeServicingStore::Manifest("Package_for_KB5005565", "KB5005565", true));
    store.AddPackage(L"Package_for_KB200~31bf3856ad364e35~amd64~~1.0.0.0", 0x70,
                     FakeServicingStore::Manifest("Package_for_KB200", "KB200", false));
    FakeInstaller installer(m_folder);
    installer.Hold();
    m_enumeration.Succeed({Hotfix(L"KB5005565"), Hotfix(L"KB200"), Hotfix(L"KB300")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());

    auto* label = main.InRow<CLabelUI>(0, L"UninstallPermanentLab");
    auto* button = main.InRow<CButtonUI>(0, L"btnUniNameKB5005565");
    ASSERT_TRUE(label && button);
    EXPECT_TRUE(label->IsVisible());
    EXPECT_EQ(label->GetText().str(), L"Required by Windows");
    EXPECT_EQ(label->GetToolTip().str(),
              L"Windows marks this update as permanent: it cannot be uninstalled.");
    EXPECT_EQ(label->GetTextColor(), 0xFF767676u);  // grey, readable (4.5:1 on white)
    EXPECT_FALSE(button->IsVisible());
    EXPECT_FALSE(button->IsEnabled());
    for (int row : {1, 2}) {  // removable, and unknown to the store: as always
        EXPECT_FALSE(main.InRow(row, L"UninstallPermanentLab")->IsVisible()) << row;
        EXPECT_TRUE(main.InRow(row, L"btnUninstall") == nullptr);
    }
    EXPECT_TRUE(main.Shown(L"btnUniNameKB200"));
    EXPECT_TRUE(main.Shown(L"btnUniNameKB300"));

    // A click where its button would be (the button column, the row's middle) starts nothing.
    main.driver().Layout();
    const DuiLib::UIRect column = main.Find(L"btnUniNameKB200")->GetPos();
    const DuiLib::UIRect here = label->GetPos();
    LogCapture log;
    ASSERT_TRUE(
        main.driver().ClickAt((column.left + column.right) / 2, (here.top + here.bottom) / 2));
    EXPECT_FALSE(log.Contains(L"click hotfix name:"));
    EXPECT_TRUE(main.Find(L"btnUniNameKB200")->IsEnabled());

    // Another row's uninstall neither enables nor disables it.
    ASSERT_TRUE(main.driver().Click(L"btnUniNameKB200")) << main.driver().LastError();
    EXPECT_FALSE(main.Find(L"btnUniNameKB300")->IsEnabled());
    installer.Release();
    ASSERT_TRUE(main.PumpUntil([&] { return main.Find(L"btnUniNameKB300")->IsEnabled(); }));
    EXPECT_FALSE(button->IsEnabled());
    EXPECT_FALSE(button->IsVisible());
    EXPECT_TRUE(label->IsVisible());
    EXPECT_EQ(installer.Calls(), std::vector<std::string>{"/uninstall /kb:200"});
}

}  // namespace

namespace {

// Reopened after removals that wait for the restart, and beside an update that
// installs at the restart: each row says so from the start and offers nothing.
TEST_F(PermanentRowTest, RowsWaitingForTheRestartSayWhatItFinishes) {
    FakeServicingStore store("PermanentRowTest.Pending");
    // The cumulative update removed through the servicing stack: its part pending
    // removal, its servicing stack permanent.
    store.AddPackage(L"Package_for_RollupFix~31bf3856ad364e35~amd64~~26100.4349.1.10", 0x05,
                     FakeServicingStore::Manifest("Package_for_RollupFix", "KB5060829", false));
    store.AddPackage(
        L"Package_for_ServicingStack_4344~31bf3856ad364e35~amd64~~26100.4344.1.1", 0x80,
        FakeServicingStore::Manifest("Package_for_ServicingStack_4344", "KB5060829", true));
    store.AddPackage(L"Package_for_KB5034441~31bf3856ad364e35~amd64~~10.0.1.0", 0x60,
                     FakeServicingStore::Manifest("Package_for_KB5034441", "KB5034441", false));
    m_enumeration.Succeed({Hotfix(L"KB5034441")});
    {
        OpenMainWindow main;
        ASSERT_TRUE(main.WaitForResultView());
        ASSERT_TRUE(main.PumpUntil([&] { return main.Shown(L"UninstallPermanentLab"); }));
        auto* label = main.InRow<CLabelUI>(0, L"UninstallPermanentLab");
        EXPECT_EQ(label->GetText().str(), L"Restart to finish installing");
        EXPECT_EQ(label->GetToolTip().str(),
                  L"Windows finishes installing this update when the PC restarts. It can be "
                  L"uninstalled after that.");
        EXPECT_FALSE(main.Shown(L"btnUniNameKB5034441"));
        EXPECT_TRUE(main.Shown(RESTART_BAR));
        EXPECT_EQ(main.Text(RESTART_BAR_TEXT), L"Restart your PC to finish installing updates.");
    }
    m_enumeration.Succeed({Hotfix(L"KB5060829"), Hotfix(L"KB5034441")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    auto* outcome = main.InRow<CLabelUI>(0, L"labUniNameKB5060829");
    ASSERT_TRUE(main.PumpUntil([&] { return outcome->IsVisible(); }));
    EXPECT_EQ(outcome->GetText().str(), L"Restart to finish");
    EXPECT_EQ(outcome->GetTextColor(), 0xFFED6F21u);
    EXPECT_FALSE(main.Shown(L"btnUniNameKB5060829"));
    EXPECT_FALSE(main.InRow<CLabelUI>(0, L"UninstallPermanentLab")->IsVisible());
    EXPECT_TRUE(main.Shown(RESTART_BAR));
    // A removal waits too: the bar says so.
    EXPECT_EQ(main.Text(RESTART_BAR_TEXT), L"Restart your PC to finish uninstalling updates.");
    // No click brings a second removal.
    LogCapture log;
    main.driver().Click(L"btnUniNameKB5060829");
    EXPECT_FALSE(log.Contains(L"find kb is"));
}

}  // namespace

namespace {

// A row layout without its button: the store's answer reaches no such row, so
// neither a grey label nor an outcome stands where no button ever was.
TEST_F(PermanentRowTest, ARowWithoutAButtonGetsNoRoute) {
    const fs::path layout =
        fs::path(m_folder) / "res" / "layout" / "Hotfix_container_item_detail.xml";
    std::string text = ReadFile(layout);
    const size_t at = text.find("<Button name=\"btnUninstall\"");
    ASSERT_NE(at, std::string::npos);
    text.erase(at, text.find("/>", at) + 2 - at);
    WriteFile(layout, text);
    FakeServicingStore store("PermanentRowTest.NoButton");
    store.AddPackage(L"Package_for_KB5005565~31bf3856ad364e35~amd64~~19041.1237.1.7", 0x80, {});
    store.AddPackage(L"Package_for_KB5034441~31bf3856ad364e35~amd64~~10.0.1.0", 0x05,
                     FakeServicingStore::Manifest("Package_for_KB5034441", "KB5034441", false));
    LogCapture log;
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5005565"), Hotfix(L"KB5034441")}));
    EXPECT_EQ(log.Matching(L"hotfixes off the installer route:2(").size(), 1u);
    for (int row : {0, 1}) {
        EXPECT_FALSE(main().InRow<CLabelUI>(row, L"UninstallPermanentLab")->IsVisible()) << row;
        EXPECT_FALSE(main().InRow<CLabelUI>(row, L"UninstallResultLab")->IsVisible()) << row;
    }
    EXPECT_TRUE(log.Matching(L"control is null").empty());
}

}  // namespace
