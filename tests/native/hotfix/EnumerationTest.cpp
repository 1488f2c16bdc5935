// GetInstalledHotFixes through WMIHelper's test provider (no WMI here).
#include <gtest/gtest.h>

#include "hotfix/WindowsHotfixHelper.h"
#include "support/WMIHelperTesting.h"
#include "testkit/LogCapture.h"

using WindowsHotfix::WindowsHotfixHelper;

// Found by argument lookup for HotfixInfo, which lives in the global namespace.
inline bool operator==(const HotfixInfo& a, const HotfixInfo& b) {
    return a.HotFixID == b.HotFixID && a.Description == b.Description &&
           a.InstalledOn == b.InstalledOn;
}

namespace {

const std::wstring kName = L"(WindowsHotfix::WindowsHotfixHelper::GetInstalledHotFixes)";
const std::wstring kStart = L"get install hotfix start!" + kName;
const std::wstring kEnd = L"get install hotfix end!" + kName;
const std::wstring kFail = L"select property by wmi fail!" + kName;

class Enumeration : public ::testing::Test {
protected:
    // Every query is answered with `answer`; the queries asked are kept.
    void Answer(bool succeeded, std::vector<HotfixInfo> records) {
        WMIHelperTesting::SetProvider(
            [this, succeeded, records](const std::wstring& ns, const std::wstring& query) {
                m_asked.push_back(ns + L"|" + query);
                return WMIHelperTesting::QueryAnswer{succeeded, records};
            });
    }
    void TearDown() override { WMIHelperTesting::SetProvider(nullptr); }
    std::vector<std::wstring> m_asked;
};

TEST_F(Enumeration, RecordsArriveInQueryOrderWithDuplicatesAndEmptyFields) {
    const std::vector<HotfixInfo> records = {{L"KB5005565", L"Security Update", L"9/15/2021"},
                                             {L"KB4023057", L"Update", L"1/2/2020"},
                                             {L"KB5005565", L"Security Update", L"9/15/2021"},
                                             {L"", L"", L""}};
    Answer(true, records);
    LogCapture capture;
    std::vector<HotfixInfo> list;
    EXPECT_EQ(WindowsHotfixHelper::GetInstance()->GetInstalledHotFixes(list), 0);
    EXPECT_EQ(list, records);
    EXPECT_EQ(capture.Texts(), (std::vector<std::wstring>{kStart, kEnd}));
    EXPECT_EQ(capture.Records()[0].level, LOG_INFO);
    EXPECT_EQ(capture.Records()[1].level, LOG_INFO);
    EXPECT_EQ(m_asked,
              std::vector<std::wstring>{L"ROOT\\CIMV2|SELECT * FROM Win32_QuickFixEngineering"});
}

TEST_F(Enumeration, QueryWithoutInstancesGivesTwoAndNoFailureLine) {
    Answer(true, {});
    LogCapture capture;
    std::vector<HotfixInfo> list;
    EXPECT_EQ(WindowsHotfixHelper::GetInstance()->GetInstalledHotFixes(list), 2);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(capture.Texts(), (std::vector<std::wstring>{kStart, kEnd}));
}

TEST_F(Enumeration, FailedQueryGivesOneWithTheFailureLineBetween) {
    Answer(false, {{L"KB1", L"Update", L"1/1/2020"}});
    LogCapture capture;
    std::vector<HotfixInfo> list;
    EXPECT_EQ(WindowsHotfixHelper::GetInstance()->GetInstalledHotFixes(list), 1);
    EXPECT_EQ(capture.Texts(), (std::vector<std::wstring>{kStart, kFail, kEnd}));
    EXPECT_EQ(capture.Records()[1].level, LOG_ERROR);
}

TEST_F(Enumeration, WithoutWmiTheQueryFailsHonestly) {
    WMIHelperTesting::SetProvider(nullptr);
    LogCapture capture;
    std::vector<HotfixInfo> list;
    EXPECT_EQ(WindowsHotfixHelper::GetInstance()->GetInstalledHotFixes(list), 1);
    EXPECT_TRUE(list.empty());
    EXPECT_LT(capture.IndexOf(kStart), capture.IndexOf(kFail));
    EXPECT_LT(capture.IndexOf(kFail), capture.IndexOf(kEnd));
}

TEST_F(Enumeration, SuccessiveCallsAreIndependent) {
    std::vector<HotfixInfo> list;
    Answer(false, {});
    EXPECT_EQ(WindowsHotfixHelper::GetInstance()->GetInstalledHotFixes(list), 1);
    Answer(true, {{L"KB2", L"Hotfix", L"3/4/2021"}});
    EXPECT_EQ(WindowsHotfixHelper::GetInstance()->GetInstalledHotFixes(list), 0);
    EXPECT_EQ(list, (std::vector<HotfixInfo>{{L"KB2", L"Hotfix", L"3/4/2021"}}));
    std::vector<HotfixInfo> fresh;
    Answer(true, {});
    EXPECT_EQ(WindowsHotfixHelper::GetInstance()->GetInstalledHotFixes(fresh), 2);
    EXPECT_EQ(m_asked.size(), 3u);
}

}  // namespace
