// Windows Update's titles on the rows: read after the list shows, applied in
// one batch, dropped when a later load came first, and without them the rows
// keep their type with one line in the log. Through the Windows Update seam, a
// real window and the shipped row layout.
#include "UiFixtures.h"
#include "duilib/UIAccessible.h"
#include "testkit/Gate.h"
#include "testkit/LogCapture.h"
#include "winapi/WindowsUpdateTesting.h"

using namespace UiFixtures;

namespace {

const wchar_t* const kCumulative =
    L"2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)";
const wchar_t* const kWinRe =
    L"2024-01 Security Update for Windows 10 Version 22H2 for x64-based Systems (KB5034441)";

class UpdateTitlesUiTest : public UiTest {
protected:
    void TearDown() override {
        m_gate.Open();  // a held read ends before the test does
        UiTest::TearDown();
    }
    bool TitleShown(int row) { return main().InRow(row, L"updateTitleText")->IsVisible(); }
    std::vector<LogRecord> TitleLines(const LogCapture& log) const {
        std::vector<LogRecord> lines;
        for (const LogRecord& r : log.Records()) {
            if (r.text.find(L"Windows Update") != std::wstring::npos ||
                r.text.find(L"update titles") != std::wstring::npos) {
                lines.push_back(r);
            }
        }
        return lines;
    }

    Gate m_gate;
};

TEST_F(UpdateTitlesUiTest, TitlesComeAfterTheListAllAtOnceUnderTheType) {
    LogCapture log;
    WinApi::Testing::SetUpdateHistory(
        0, {{kCumulative, 45302.4}, {kWinRe, 45299.5}, {L"Intel - System - 10.1.1.44", 45290.0}});
    WinApi::Testing::SetHistoryHook([this] { m_gate.Wait(); });
    ASSERT_TRUE(OpenWithRows(
        {Hotfix(L"KB5034441", L"Security Update"), Hotfix(L"KB5031356"), Hotfix(L"KB5034123")}));
    // The list shows while the history is still being read.
    ASSERT_TRUE(m_gate.WaitUntilHeld());
    for (int row = 0; row < 3; ++row) EXPECT_FALSE(TitleShown(row)) << row;

    m_gate.Open();
    ASSERT_TRUE(main().PumpUntil([&] { return TitleShown(0); }));
    // One batch: the other row with a title has it by the same turn of the queue.
    EXPECT_TRUE(TitleShown(2));
    EXPECT_FALSE(TitleShown(1));
    EXPECT_EQ(main().RowTexts(L"updateTitleText"),
              (std::vector<std::wstring>{kWinRe, L"", kCumulative}));
    EXPECT_EQ(main().RowTexts(L"descriptionText"),
              (std::vector<std::wstring>{L"Security Update", L"Update", L"Update"}));
    DuiLib::CControlUI* line = main().InRow(2, L"updateTitleText");
    EXPECT_EQ(line->GetToolTip().str(), kCumulative);
    EXPECT_EQ(DuiLib::Accessible::DescriptionOf(main().Row(2)), kCumulative);
    EXPECT_EQ(DuiLib::Accessible::DescriptionOf(main().Row(1)), L"");

    const std::vector<LogRecord> lines = TitleLines(log);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].level, LOG_ERROR);
    EXPECT_EQ(lines[0].text, L"update titles shown on 2 of 3 rows(MainWindow::ApplyUpdateTitles)");
    EXPECT_EQ(WinApi::Testing::WindowsUpdateCalls(),
              std::vector<std::wstring>{L"ReadUpdateHistory"});
}

TEST_F(UpdateTitlesUiTest, TitlesOfAListALaterLoadReplacedAreDropped) {
    LogCapture log;
    WinApi::Testing::SetUpdateHistory(0, {{kWinRe, 45299.5}});
    int reads = 0;
    WinApi::Testing::SetHistoryHook([&] {
        if (++reads == 1) {
            m_gate.Wait();  // the first load's read answers after the second load began
            WinApi::Testing::SetUpdateHistory(0, {{kWinRe, 45299.5}});
        } else {
            WinApi::Testing::SetUpdateHistory(WinApi::kWuServiceDisabled, {});
        }
    });
    ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5034441")}));
    ASSERT_TRUE(m_gate.WaitUntilHeld());
    main().window().StartLoadHotfix();
    // The second list's rows are up, their read waits for its turn at Windows Update.
    ASSERT_TRUE(
        main().PumpUntil([&] { return log.Matching(L"get install list ret:").size() == 2; }));
    main().PumpUntil([] { return false; }, 200);

    m_gate.Open();
    ASSERT_TRUE(FinishBackgroundWork());
    EXPECT_TRUE(log.Contains(L"Windows Update is not available, rows keep their type"));
    EXPECT_FALSE(TitleShown(0));
    EXPECT_EQ(main().Text(L"descriptionText"), L"Update");
    EXPECT_EQ(reads, 2);
}

TEST_F(UpdateTitlesUiTest, WithoutTitlesTheRowsKeepTheirTypeAndTheLogSaysWhyOnce) {
    const struct {
        const char* what;
        uint32_t result;
        std::vector<WinApi::UpdateHistoryEntry> history;
        const wchar_t* line;
    } cases[] = {
        {"the service is off",
         WinApi::kWuServiceDisabled,
         {},
         L"Windows Update is not available, rows keep their type: "
         L"0x80070422(MainWindow::ReadTitlesTask)"},
        {"no history",
         0,
         {},
         L"no Windows Update title for the listed updates in 0 history entries"
         L"(MainWindow::ReadTitlesTask)"},
        {"no entry names a row",
         0,
         {{kCumulative, 45302.4}},
         L"no Windows Update title for the listed updates in 1 history entries"
         L"(MainWindow::ReadTitlesTask)"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        WinApi::Testing::SetUpdateHistory(c.result, c.history);
        ASSERT_TRUE(OpenWithRows({Hotfix(L"KB5034441"), Hotfix(L"KB5031356")})) << c.what;
        ASSERT_TRUE(FinishBackgroundWork()) << c.what;
        EXPECT_FALSE(TitleShown(0)) << c.what;
        EXPECT_FALSE(TitleShown(1)) << c.what;
        EXPECT_EQ(main().RowTexts(L"descriptionText"),
                  (std::vector<std::wstring>{L"Update", L"Update"}))
            << c.what;
        const std::vector<LogRecord> lines = TitleLines(log);
        ASSERT_EQ(lines.size(), 1u) << c.what;
        EXPECT_EQ(lines[0].level, LOG_ERROR) << c.what;
        EXPECT_EQ(lines[0].text, c.line) << c.what;
        m_main.reset();
    }
}

}  // namespace
