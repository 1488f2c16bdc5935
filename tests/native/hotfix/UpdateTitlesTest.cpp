// Which history title each listed update takes, with titles as Windows Update
// writes them; and the read through the Windows Update seam.
#include <gtest/gtest.h>

#include "hotfix/UpdateTitles.h"
#include "winapi/WindowsUpdateTesting.h"

using namespace WindowsHotfix;
using WinApi::UpdateHistoryEntry;

namespace {

const wchar_t* const kCumulative =
    L"2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)";
const wchar_t* const kCumulativeAgain =
    L"2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123) "
    L"- reinstalled";
const wchar_t* const kWinRe =
    L"2024-01 Security Update for Windows 10 Version 22H2 for x64-based Systems (KB5034441)";
const wchar_t* const kLongerNumber = L"2024-02 Update for Windows 10 Version 22H2 (KB50344410)";
const wchar_t* const kDefender =
    L"Security Intelligence Update for Microsoft Defender Antivirus - KB2267602 (Version "
    L"1.403.1234.0)";
const wchar_t* const kTwoKbs =
    L"2023-12 Cumulative Update for .NET Framework 3.5 and 4.8.1 (KB5033920) (KB5033909)";
const wchar_t* const kNoKb = L"Intel - System - 10.1.1.44";

TEST(UpdateTitlesTest, TitleNumbersAreOnlyTheParenthesisedOnes) {
    const struct {
        const wchar_t* title;
        std::vector<std::wstring> numbers;
    } cases[] = {
        {kCumulative, {L"5034123"}},
        {kTwoKbs, {L"5033920", L"5033909"}},
        {kDefender, {}},
        {kNoKb, {}},
        {L"(KB)", {}},
        {L"(KB5034441", {}},
        {L"(KB50x34441)", {}},
        {L"(kb5034441)", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TitleKbNumbers(c.title), c.numbers) << c.title;
    }
}

TEST(UpdateTitlesTest, EachListedUpdateTakesTheNewestEntryThatNamesIt) {
    const std::vector<std::wstring> ids = {L"KB5034123",      L"KB5034441", L"KB5033920",
                                           L"KB5033909",      L"KB2267602", L"KB890830",
                                           L"{95120000-00B9}"};
    const std::vector<UpdateHistoryEntry> history = {
        {kCumulativeAgain, 45302.4},  // newest first, as Windows lists it
        {kLongerNumber, 45301.0},     // KB50344410 is another update
        {kDefender, 45300.9},
        {kTwoKbs, 45290.1},
        {kNoKb, 45290.0},
        {kCumulative, 45299.6},  // older than the reinstall, whatever its place
        {kWinRe, 45299.5},
        {L"Older title of the same (KB5034441)", 45100.0},
    };
    const UpdateTitles titles = MatchUpdateTitles(ids, history);
    const UpdateTitles expected = {
        {L"KB5034123", kCumulativeAgain},
        {L"KB5034441", kWinRe},
        {L"KB5033920", kTwoKbs},
        {L"KB5033909", kTwoKbs},
    };
    EXPECT_EQ(titles, expected);
}

TEST(UpdateTitlesTest, OfTwoEqualDatesTheEarlierInTheHistoryWins) {
    const UpdateTitles titles = MatchUpdateTitles(
        {L"KB5034441", L"kb5034441"}, {{kWinRe, 45299.5}, {L"Again (KB5034441)", 45299.5}});
    EXPECT_EQ(titles, (UpdateTitles{{L"KB5034441", kWinRe}, {L"kb5034441", kWinRe}}));
}

TEST(UpdateTitlesTest, ReadGivesTheServicesAnswerAndMatchesOnlyASuccess) {
    WinApi::Testing::SetUpdateHistory(0, {{kWinRe, 45299.5}, {kNoKb, 45290.0}});
    UpdateTitlesRead read = ReadUpdateTitles({L"KB5034441"});
    EXPECT_EQ(read.result, 0u);
    EXPECT_EQ(read.entries, 2u);
    EXPECT_EQ(read.titles, (UpdateTitles{{L"KB5034441", kWinRe}}));

    WinApi::Testing::ResetWindowsUpdate();  // the service turned off
    read = ReadUpdateTitles({L"KB5034441"});
    EXPECT_EQ(read.result, WinApi::kWuServiceDisabled);
    EXPECT_TRUE(read.titles.empty());
    EXPECT_EQ(WinApi::Testing::WindowsUpdateCalls(),
              std::vector<std::wstring>{L"ReadUpdateHistory"});
}

}  // namespace
