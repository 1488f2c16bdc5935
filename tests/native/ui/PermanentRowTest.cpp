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
