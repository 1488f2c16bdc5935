// Odd texts in the records, end to end through the window: identifiers with
// non-ASCII characters, blanks, quotes, "&", "/" and very long texts are shown
// whole, and the elevated installer's command line never carries more than
// " /uninstall /kb:" and digits, with the fixed system path as the file.
#include <regex>

#include "UiFixtures.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;

namespace {

const std::wstring kLong(10000, L'\x4E2D');  // 10,000 CJK characters

class IdentifierFaultTest : public UiTest {};

TEST_F(IdentifierFaultTest, OddTextsAreShownWhole) {
    const std::vector<HotfixInfo> records = {
        Hotfix(L"KB5005565 \x66F4\x65B0", L"Security Update", L"12/7/2026"),
        Hotfix(L"KB\"7\" & 'x'", L"\"Update\" & <b>", L"1/2/2026"),
        Hotfix(L"KB1/2/3", L"Hotfix", L"/"),
        Hotfix(L"KB" + kLong, kLong, kLong + L"/" + kLong),
        Hotfix(L"  KB9  ", L" Update ", L" 1 / 2 / 3 "),
    };
    m_enumeration.Succeed(records);
    OpenMainWindow main;
    ASSERT_TRUE(main.WaitForResultView());
    ASSERT_EQ(main.RowCount(), static_cast<int>(records.size()));
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        const int row = static_cast<int>(i);
        EXPECT_EQ(main.InRow(row, L"hotfixNameText")->GetText().str(), records[i].HotFixID);
        EXPECT_NE(main.InRow(row, (L"btnUniName" + records[i].HotFixID).c_str()), nullptr);
    }
    EXPECT_EQ(main.InRow(0, L"descriptionText")->GetText().str(), L"Security Update");
    EXPECT_EQ(main.InRow(1, L"descriptionText")->GetText().str(), L"");  // not a known category
    // No date in them: their "/" pieces, the last one first.
    EXPECT_EQ(main.InRow(3, L"installedTimeText")->GetText().str(), kLong + L"-" + kLong);
    EXPECT_EQ(main.InRow(4, L"installedTimeText")->GetText().str(), L" 3 - 1 - 2 ");
    main.driver().Paint();  // long texts lay out and paint
}

// The number after the first "KB"/"kb" of each identifier, or nothing.
struct CommandCase {
    std::wstring id;
    std::wstring parameters;  // empty: the installer must not start
};

TEST_F(IdentifierFaultTest, InstallerCommandLineCarriesOnlyTheNumber) {
    const std::vector<CommandCase> cases = {
        {L"\x66F4\x65B0KB123", L" /uninstall /kb:123"},
        {L"C:\\Users\\Public\\KB9", L" /uninstall /kb:9"},
        {L"KB1 /quiet /log:C:\\Users\\Public\\x.evt", L""},
        {L"KB1\" /extract:C:\\Temp", L""},
        {L"KB12&calc.exe", L""},
        {L"KB12/34", L""},
        {L"KB" + std::wstring(300, L'7'), L" /uninstall /kb:" + std::wstring(300, L'7')},
    };
    const std::wregex allowed(L"^ /uninstall /kb:[0-9]+$");
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(Strconv::WideToUtf8(c.id.substr(0, 40)));
        WinApi::Testing::ResetProcessLaunch();
        FakeInstaller installer(m_folder);
        installer.ExitWith(0);
        m_enumeration.Succeed({Hotfix(c.id), Hotfix(L"KB2")});
        OpenMainWindow main;
        ASSERT_TRUE(main.WaitForResultView());
        ASSERT_TRUE(main.driver().Click((L"btnUniName" + c.id).c_str()))
            << main.driver().LastError();
        // Wait until the outcome (or, with nothing started, the idle row) has settled.
        ASSERT_TRUE(main.PumpUntil([&] { return main.Find(L"btnUniNameKB2")->IsEnabled(); }));
        const std::vector<WinApi::Testing::LaunchRecord> launches =
            WinApi::Testing::LaunchRecords();
        if (c.parameters.empty()) {
            EXPECT_TRUE(launches.empty());
            continue;
        }
        ASSERT_EQ(launches.size(), 1u);
        EXPECT_EQ(launches[0].application, L"C:\\Windows\\System32\\wusa.exe");
        EXPECT_EQ(launches[0].Parameters(), c.parameters);
        EXPECT_TRUE(std::regex_match(launches[0].Parameters(), allowed));
    }
}

}  // namespace
