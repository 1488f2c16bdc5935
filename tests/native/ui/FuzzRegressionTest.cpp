// Inputs the fuzz targets once stopped at (tests/fuzz/regressions/), end to end.
#include "UiFixtures.h"

using namespace UiFixtures;

namespace {

class FuzzRegressionTest : public UiTest {};

// regressions/enumeration/zero-character-in-identifier: WMI strings may hold a
// zero character. The toolkit takes texts and names as C strings, so the row
// shows the identifier up to it and its button starts nothing; the record keeps
// its row and the other rows work as usual.
TEST_F(FuzzRegressionTest, IdentifierWithAZeroCharacterKeepsItsRow) {
    FakeInstaller installer(m_folder);
    installer.ExitWith(0);
    const std::wstring zeroInside(L"KB5\0 /quiet", 11);
    m_enumeration.Succeed({Hotfix(zeroInside), Hotfix(L"KB7")});
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    ASSERT_EQ(main.RowCount(), 2);
    EXPECT_EQ(main.InRow(0, L"hotfixNameText")->GetText().str(), L"KB5");

    ASSERT_TRUE(main.driver().Click(L"btnUniNameKB5")) << main.driver().LastError();
    main.driver().Pump();
    EXPECT_TRUE(WinApi::Testing::LaunchRecords().empty());
    EXPECT_TRUE(main.Find(L"btnUniNameKB7")->IsEnabled());

    ASSERT_TRUE(main.driver().Click(L"btnUniNameKB7"));
    ASSERT_TRUE(main.PumpUntil([&] { return main.Shown(L"labUniNameKB7"); }));
    EXPECT_EQ(installer.Calls(), std::vector<std::string>{"/uninstall /kb:7"});
}

}  // namespace
