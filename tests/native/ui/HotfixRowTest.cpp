// One list row on its own: built from the shipped row layout into a container of a
// window-less paint manager, with its date rewriting, failures and looks.
#include "UiFixtures.h"
#include "duilib/UIAccessible.h"
#include "hotfix/KbNumber.h"
#include "testkit/LogCapture.h"
#include "ui/item/HotfixManageItemDetail.h"
#include "ui/item/RowColors.h"

using namespace UiFixtures;
using DuiLib::CButtonUI;
using DuiLib::CContainerUI;
using DuiLib::CLabelUI;

namespace {

class HotfixRowTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        m_list = new DuiLib::CVerticalLayoutUI();
        m_manager.AttachDialog(m_list);
    }
    // Builds a row the way the main window does.
    std::unique_ptr<HotfixManageItemDetail> BuildRow(const HotfixInfo& info, bool last = true) {
        std::unique_ptr<HotfixManageItemDetail> row(new HotfixManageItemDetail(info));
        row->InitItemLayout(m_list);
        row->SetContent(info, last);
        return row;
    }
    template <typename T = DuiLib::CControlUI>
    T* Find(const wchar_t* name) {
        return dynamic_cast<T*>(m_list->FindSubControl(name));
    }
    void RewriteRowLayout(const std::string& from, const std::string& to) {
        const fs::path file =
            fs::path(m_folder) / "res" / "layout" / "Hotfix_container_item_detail.xml";
        std::string text = ReadFile(file);
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        WriteFile(file, text.replace(at, from.size(), to));
    }

    DuiLib::CPaintManagerUI m_manager;
    CContainerUI* m_list = nullptr;
};

// The forms InstalledOn takes on real machines, each read as the real date it
// names. A text that no reading makes a real date keeps the plain rewrite: its
// "/" pieces with the last one first, or no date and one line saying why.
TEST(InstalledOnTest, ShowsEveryFormWindowsWritesAsYearMonthDay) {
    const wchar_t* const kEmpty = L"installedTime is empty";
    const wchar_t* const kNoSlashDate = L"timeStr is empty";
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
        const wchar_t* line;  // logged problem, or null
    };
    const Case cases[] = {
        // Month first, as written: no padding added or removed.
        {L"12/7/2026", L"2026-12-7", nullptr},
        {L"1/15/2026", L"2026-1-15", nullptr},
        {L"03/04/2023", L"2023-03-04", nullptr},
        {L"2/29/2024", L"2024-2-29", nullptr},
        {L" 3/14/2023 ", L"2023-3-14", nullptr},
        // Year first, as Japanese and Chinese short dates and the compact form write it.
        {L"2023/03/14", L"2023-3-14", nullptr},
        {L"20230314", L"2023-3-14", nullptr},
        {L"2023-03-14", L"2023-3-14", nullptr},
        {L"2026-12-7", L"2026-12-7", nullptr},
        {L"14.03.2023", L"2023-3-14", nullptr},
        // A FILETIME of 2023-03-14 12:00 UTC: the same date in every zone within 11 hours.
        {L"01d9566c80b5e000", L"2023-3-14", nullptr},
        {L"01D9566C80B5E000", L"2023-3-14", nullptr},
        // No real date: the "/" pieces, the last one first, unchecked.
        {L"1/2/3/4", L"4-1-2-3", nullptr},
        {L"/7/2026", L"2026--7", nullptr},
        {L"31/2/2023", L"2023-31-2", nullptr},
        {L"2/31/2023", L"2023-2-31", nullptr},
        {L"0/0/2023", L"2023-0-0", nullptr},
        {L"14/3/23", L"23-14-3", nullptr},
        {L" 1 / 2 / 3 ", L" 3 - 1 - 2 ", nullptr},
        // No real date and no "/" piece to move: nothing.
        {L"", L"", kEmpty},
        {L"   ", L"", kNoSlashDate},
        {L"12/7/", L"", kNoSlashDate},
        {L"/", L"", kNoSlashDate},
        {L"20230230", L"", kNoSlashDate},
        {L"2023-13-01", L"", kNoSlashDate},
        {L"March 14, 2023", L"", kNoSlashDate},
        {L"ffffffffffffffff", L"", kNoSlashDate},
        {L"0000000000000000", L"", kNoSlashDate},
    };
    HotfixManageItemDetail row(Hotfix(L"KB1"));
    for (const Case& c : cases) {
        LogCapture log;
        EXPECT_EQ(row.GetInstalledOn(c.in), c.out) << c.in;
        if (c.line) {
            EXPECT_EQ(UiLines(log.Records()),
                      std::vector<std::wstring>{std::wstring(c.line) +
                                                L"(HotfixManageItemDetail::GetInstalledOn)"});
        } else {
            EXPECT_TRUE(UiLines(log.Records()).empty()) << c.in;
        }
    }
}

// Day first is decided once for the list: "5/6/2023" reads as 5 June beside
// "13/5/2023", as 6 May on its own, and a list with a second number above 12 too
// stays month first, where "13/5/2023" names no date and keeps the plain rewrite.
TEST(InstalledOnTest, DayFirstIsDecidedOncePerList) {
    struct Case {
        std::vector<std::wstring> list;
        std::vector<std::wstring> shown;
    };
    const Case cases[] = {
        {{L"5/6/2023", L"13/5/2023", L"20230314"}, {L"2023-6-5", L"2023-5-13", L"2023-3-14"}},
        {{L"5/6/2023", L"2023/03/14"}, {L"2023-5-6", L"2023-3-14"}},
        {{L"5/6/2023", L"13/5/2023", L"5/20/2023"}, {L"2023-5-6", L"2023-13-5", L"2023-5-20"}},
    };
    for (const Case& c : cases) {
        const SlashDates order = SlashOrderOf(c.list);
        for (size_t i = 0; i < c.list.size(); ++i) {
            HotfixManageItemDetail row(Hotfix(L"KB1"), order);
            EXPECT_EQ(row.GetInstalledOn(c.list[i]), c.shown[i]) << c.list[i];
        }
    }
}

// The button's accessible name comes from a pattern, so the update's identifier
// stands where the language's word order puts the object.
TEST_F(HotfixRowTest, ButtonNameFollowsTheWordOrderOfTheLanguage) {
    struct Case {
        const wchar_t* language;
        const wchar_t* id;
        const wchar_t* idle;
        const wchar_t* running;
    };
    for (Case c :
         {Case{L"en-US", L"KB11", L"Uninstall KB11", L"Uninstalling KB11…"},
          Case{L"ja-JP", L"KB12", L"KB12 をアンインストール", L"KB12 をアンインストール中…"},
          Case{L"ko-KR", L"KB13", L"KB13 제거", L"KB13 제거 중…"}}) {
        DuiLib::UICulture::GetInstance()->SetLanguage(c.language, true);
        auto row = BuildRow(Hotfix(c.id));
        auto* button = Find<CButtonUI>((std::wstring(L"btnUniName") + c.id).c_str());
        ASSERT_NE(button, nullptr) << c.language;
        EXPECT_EQ(DuiLib::Accessible::NameOf(button), c.idle);
        row->UnstallStartorCancelUI(false);
        EXPECT_EQ(DuiLib::Accessible::NameOf(button), c.running);
        row->UnstallStartorCancelUI(true);
        EXPECT_EQ(DuiLib::Accessible::NameOf(button), c.idle);
    }
}

TEST(KbNumberTest, OnlyAPlainNumberAfterTheFirstMarker) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"KB5005565", L"5005565"},
        {L"kb42", L"42"},
        {L"xKB77", L"77"},
        {L"KBkb1", L""},
        {L"kb1KB2", L""},
        {L"KB123 /quiet", L""},
        {L"KB123&calc", L""},
        {L"KB", L""},
        {L"", L""},
        {L"Kb12", L""},
        {L" KB12", L"12"},
        {L"KB12\n", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(ExtractKbNumber(c.first), c.second) << c.first;
}

TEST_F(HotfixRowTest, StatusAboveFourShowsFailure) {
    std::unique_ptr<HotfixManageItemDetail> row = BuildRow(Hotfix(L"KB9"));
    row->UnstallStatusUIChange(static_cast<UninstallStatus>(7));
    auto* label = Find<CLabelUI>(L"labUniNameKB9");
    EXPECT_TRUE(label->IsVisible());
    EXPECT_EQ(label->GetText().str(), L"Uninstall failed");
    EXPECT_EQ(label->GetTextColor(), RowColors::kProblemColor);
    EXPECT_FALSE(Find(L"btnUniNameKB9")->IsVisible());
}

TEST_F(HotfixRowTest, ReEnabledButtonKeepsTheDisabledColoursForNextTime) {
    std::unique_ptr<HotfixManageItemDetail> row = BuildRow(Hotfix(L"KB9"));
    auto* button = Find<CButtonUI>(L"btnUniNameKB9");
    row->UpdateItemDisableStatus(false);
    EXPECT_FALSE(button->IsEnabled());
    row->UpdateItemDisableStatus(true);
    EXPECT_TRUE(button->IsEnabled());
    EXPECT_EQ(button->GetDisabledBkColor(), 0x0D000000u);
    EXPECT_EQ(button->GetDisabledTextColor(), RowColors::kOtherBusyButtonTextColor);
    // A hidden button stays hidden.
    row->UnstallStatusUIChange(UNINSTALL_SUCCESS);
    row->UpdateItemDisableStatus(true);
    EXPECT_FALSE(button->IsVisible());
}

TEST_F(HotfixRowTest, MissingRowLayoutLeavesTheRowOutOfTheList) {
    fs::remove(fs::path(m_folder) / "res" / "layout" / "Hotfix_container_item_detail.xml");
    LogCapture log;
    std::unique_ptr<HotfixManageItemDetail> row = BuildRow(Hotfix(L"KB1"));
    EXPECT_EQ(m_list->GetCount(), 0);
    EXPECT_TRUE(log.Contains(L"create control failed(HotfixManageItemDetail::InitItemLayout)"));
    EXPECT_TRUE(log.Contains(L"set content control null(HotfixManageItemDetail::SetContent)"));
    // Later calls only log.
    log.Clear();
    row->UpdateItemDisableStatus(false);
    row->UnstallStatusUIChange(UNINSTALL_FAIL);
    EXPECT_TRUE(log.Contains(L"update item disable btnuninstall is null"));
    EXPECT_TRUE(log.Contains(L"update uninstall end control is null"));
}

TEST_F(HotfixRowTest, LayoutWithoutDateContainerKeepsTheDefaultButtonName) {
    RewriteRowLayout("name=\"installedTimeLyt\"", "name=\"somethingElse\"");
    LogCapture log;
    std::unique_ptr<HotfixManageItemDetail> row = BuildRow(Hotfix(L"KB1"));
    EXPECT_EQ(m_list->GetCount(), 1);
    EXPECT_TRUE(log.Contains(L"set content control null(HotfixManageItemDetail::SetContent)"));
    EXPECT_NE(Find(L"btnUninstall"), nullptr);
    EXPECT_EQ(Find(L"btnUniNameKB1"), nullptr);
}

TEST_F(HotfixRowTest, LayoutWithoutSeparatorStillFillsTheRow) {
    RewriteRowLayout("name=\"lytStartupItemDetail\"", "name=\"line\"");
    LogCapture log;
    std::unique_ptr<HotfixManageItemDetail> row = BuildRow(Hotfix(L"KB1"), false);
    EXPECT_TRUE(log.Contains(L"set line control null(HotfixManageItemDetail::SetLineVisible)"));
    EXPECT_EQ(Find(L"hotfixNameText")->GetText().str(), L"KB1");
}

}  // namespace
