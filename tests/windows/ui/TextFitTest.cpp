// Every text of both windows fits its box, in every shipped language, at 100 %
// and 150 %: the real windows built from the shipped layouts, driven through
// their own code into each view and each row state, and every shown text
// measured with the Win32 backend (the system message font, with the system's
// font fallback). Only the identifier and description cells may cut a text with
// their ellipsis. One test per language ("*/ja_JP" runs one), so the end-to-end
// scenarios can check a language again under its own locale.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "duilib/UITextFit.h"
#include "duilib/UIlib.h"
#include "hotfix/UninstallCodes.h"
#include "hotfix/UpdateHiding.h"
#include "support/TextUtil.h"
#include "testkit/TestPaths.h"
#include "ui/SharedConstants.h"
#include "ui/about/AboutDialog.h"
#include "ui/confirm/CumulativeConfirmDialog.h"
#include "ui/hide/HideUpdatesDialog.h"
#include "ui/item/HotfixManageItemDetail.h"
#include "ui/item/UninstallOutcomes.h"
#include "ui/main/MainWindow.h"
#include "winapi/TextConversion.h"

namespace {

using namespace DuiLib;

const unsigned kScales[] = {100, 150};
// The reason line under an outcome ellipsises too (its tip holds the whole text).
const std::set<std::wstring> kEllipsisCells = {L"hotfixNameText", L"descriptionText",
                                               L"labReasonKB5034441", L"offeredTitle",
                                               L"hideUpdatesStatus"};
const HotfixInfo kRowHotfix{L"KB5034441", L"Security Update", L"14/3/2023"};

// One way a row can look; a new look is one more entry.
struct RowState {
    std::string name;
    std::function<void(HotfixManageItemDetail&, CContainerUI&)> apply;
};

void ShowOutcome(HotfixManageItemDetail& row, UninstallStatus status,
                 WindowsHotfix::UninstallReason reason = {}) {
    row.UnstallStartorCancelUI(false);
    row.UnstallStatusUIChange(status);
    row.ShowUninstallReason(reason);
}

std::string KeyName(const wchar_t* key) {
    return key == nullptr ? "no reason" : Strconv::WideToNarrow(key);
}

// Every outcome the row can show, from the product's tables: each look alone,
// then each outcome with its reason line as a code of the table (or an unknown
// code, through the fallback) gives it. A new row or look is measured with no
// change here; outcomes that show the same texts are measured once.
std::vector<RowState> OutcomeStates() {
    using namespace WindowsHotfix;
    std::vector<RowState> states;
    for (const OutcomeLook& look : OutcomeLooks()) {
        const UninstallStatus status = look.status;
        states.push_back(
            {Strconv::WideToNarrow(look.textKey),
             [=](HotfixManageItemDetail& row, CContainerUI&) { ShowOutcome(row, status); }});
    }
    std::set<std::pair<int, std::string>> shown;
    auto addCode = [&](uint32_t code, RemovalSource source, bool restartPending) {
        const RemovalOutcome outcome =
            OutcomeOfCode(static_cast<int>(code), source, [=] { return restartPending; });
        if (outcome.reason.key == nullptr) return;  // a look alone, above
        if (!shown.insert({outcome.status, KeyName(outcome.reason.key)}).second) return;
        states.push_back({Strconv::WideToNarrow(HexCode(code)) + ", " + KeyName(outcome.reason.key),
                          [=](HotfixManageItemDetail& row, CContainerUI&) {
                              ShowOutcome(row, outcome.status, outcome.reason);
                          }});
    };
    for (const KnownCodeRow& row : KnownUninstallCodes())
        addCode(row.code, row.installer ? RemovalSource::Installer : RemovalSource::ServicingApi,
                row.restartPending == 1);
    addCode(0x80070057, RemovalSource::Installer, false);  // E_INVALIDARG: not in the table
    return states;
}

// A removed row's hiding: the link, the search, and each outcome's words.
std::vector<RowState> HidingStates() {
    using WindowsHotfix::HideOutcome;
    auto removed = [](HotfixManageItemDetail& row) {
        ShowOutcome(row, UNINSTALL_SUCCESS);
        row.OfferHiding(true);
    };
    std::vector<RowState> states = {
        {"uninstalled, hiding offered",
         [=](HotfixManageItemDetail& row, CContainerUI&) { removed(row); }},
        {"searching Windows Update",
         [=](HotfixManageItemDetail& row, CContainerUI&) {
             removed(row);
             row.ShowHideSearching();
         }},
        {"restart to finish, hiding after it",
         [](HotfixManageItemDetail& row, CContainerUI&) { row.ShowRemovalPendingUI(); }},
    };
    for (HideOutcome outcome :
         {HideOutcome::kDone, HideOutcome::kNotOffered, HideOutcome::kServiceOff,
          HideOutcome::kNoConnection, HideOutcome::kMandatory, HideOutcome::kNotAvailable,
          HideOutcome::kFailed}) {
        const wchar_t* key = WindowsHotfix::TextKeyOf(outcome);
        states.push_back(
            {"hiding: " + KeyName(key), [=](HotfixManageItemDetail& row, CContainerUI&) {
                 removed(row);
                 const std::wstring words = UICulture::GetInstance()->GetString(key).str();
                 row.ShowHideOutcome(FormatString(words, L"80244010", L"{0}"));
             }});
    }
    return states;
}

std::vector<RowState> RowStates() {
    std::vector<RowState> states = {
        {"idle", [](HotfixManageItemDetail&, CContainerUI&) {}},
        {"uninstalling",
         [](HotfixManageItemDetail& row, CContainerUI&) { row.UnstallStartorCancelUI(false); }},
        {"disabled while another uninstalls",
         [](HotfixManageItemDetail& row, CContainerUI&) { row.UpdateItemDisableStatus(false); }},
        {"removed, waiting for the restart",
         [](HotfixManageItemDetail& row, CContainerUI&) { row.ShowRemovalPendingUI(); }},
        {"installed at the restart",
         [](HotfixManageItemDetail& row, CContainerUI&) { row.ShowInstallPendingUI(); }},
        {"checkpoint of a newer update",
         [](HotfixManageItemDetail& row, CContainerUI&) { row.ShowCheckpointUI(L"KB5060829"); }},
        {"required by Windows",
         [](HotfixManageItemDetail& row, CContainerUI&) { row.ShowPermanentStatusUI(); }},
        {"cumulative update being removed, 100 %",
         [](HotfixManageItemDetail& row, CContainerUI&) {
             row.ShowPackageRemovalUI();
             row.ShowRemovalProgress(100);
             row.OnProgressShown();
         }},
    };
    for (RowState& state : OutcomeStates()) states.push_back(std::move(state));
    for (RowState& state : HidingStates()) states.push_back(std::move(state));
    return states;
}

std::wstring WinePath(const std::wstring& path) {
    return !path.empty() && path[0] == L'/' ? L"Z:" + path : path;
}

std::vector<std::string> ShippedLanguages() {
    std::vector<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(TestPaths::SourceDir() + "/res/values")) {
        if (entry.path().extension() == ".xml") names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A control as a report names it: its name, or where an unnamed one sits.
std::wstring Describe(CControlUI* control) {
    const std::wstring name = control->GetName().str();
    if (!name.empty()) return name;
    CControlUI* parent = control->GetParent();
    int index = 0;
    if (auto* container = dynamic_cast<CContainerUI*>(parent)) {
        while (index < container->GetCount() && container->GetItemAt(index) != control) ++index;
    }
    return (parent ? Describe(parent) : L"") + L"/" + control->GetClass() + L"[" +
           std::to_wstring(index) + L"]";
}

// Appends a line for every shown text that needs more room than it has.
void CollectOverflows(CControlUI* control, std::vector<std::wstring>& out) {
    if (!control || !control->IsVisible()) return;
    if (auto* label = dynamic_cast<CLabelUI*>(control)) {
        const TextFit fit = MeasureTextFit(*label);
        const bool mayCut = (label->GetTextStyle() & DT_ALIGN_ELLIPSIS) &&
                            kEllipsisCells.count(control->GetName().str());
        // What the window and the enclosing containers leave of the box.
        const UIRect shown = IntersectRect(fit.box, control->GetVisibleRect());
        const int overX = fit.needed.cx - std::max(0, shown.Width());
        const int overY = fit.needed.cy - std::max(0, shown.Height());
        if (!label->GetText().IsEmpty() && !mayCut && (overX > 0 || overY > 0)) {
            std::wostringstream line;
            line << Describe(control) << L" \"" << label->GetText().str() << L"\" needs "
                 << fit.needed.cx << L"x" << fit.needed.cy << L" px, has " << shown.Width() << L"x"
                 << shown.Height() << L": ";
            if (overX > 0) line << overX << L" px too wide";
            if (overX > 0 && overY > 0) line << L", ";
            if (overY > 0) line << overY << L" px too tall";
            out.push_back(line.str());
        }
    }
    if (auto* container = dynamic_cast<CContainerUI*>(control)) {
        for (int i = 0; i < container->GetCount(); ++i)
            CollectOverflows(container->GetItemAt(i), out);
    }
}

class TextFitTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        const std::wstring res = WinePath(TestPaths::SourceDirW() + L"/res/");
        CPaintManagerUI::SetResourcePath(res.c_str());
        UICulture::GetInstance()->SetLanguagePath(res + L"values/");
        UICulture::GetInstance()->SetLanguage(Strconv::Utf8ToWide(GetParam()), true);
        ASSERT_EQ(UICulture::GetInstance()->GetLanguage(), Strconv::Utf8ToWide(GetParam()));
    }

    // Lays the window out at `scale` and notes what does not fit.
    void Check(CPaintManagerUI& manager, unsigned scale, const std::string& where) {
        manager.SetScale(scale);
        const UISize init = manager.GetInitSize();
        manager.Layout(manager.ScaleValue(init.cx), manager.ScaleValue(init.cy));
        std::vector<std::wstring> lines;
        CollectOverflows(manager.GetRoot(), lines);
        for (const std::wstring& line : lines) {
            m_failures << "  " << GetParam() << " " << scale << " % " << where << ": "
                       << Strconv::WideToUtf8(line) << "\n";
        }
        ++m_layouts;
    }

    void CheckMainWindow() {
        auto* window = new MainWindow();
        ASSERT_NE(window->Create(nullptr, L"", WS_POPUP, WS_EX_WINDOWEDGE, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr),
                  nullptr);
        CPaintManagerUI& manager = window->GetPaintManager();
        // The window's own load (Wine's WMI) ends in the list or the failure view.
        ASSERT_TRUE(UIMainQueue::getInstance()->pumpUntil(
            [&] {
                return manager.FindControl(L"loadHotfixFinishLayout")->IsVisible() ||
                       manager.FindControl(L"loadHotfixFailLayout")->IsVisible();
            },
            60000));
        auto* title = manager.FindControl(L"hotfixFirstTitle");
        auto* list = dynamic_cast<CContainerUI*>(manager.FindControl(L"containerInstalledHotfix"));
        ASSERT_TRUE(title && list);
        for (unsigned scale : kScales) {
            manager.SetScale(scale);
            window->ShowLoadingHotFixesUI();
            Check(manager, scale, "main window, loading");
            window->ShowHotFixesFailUI(1);
            Check(manager, scale, "main window, load failure");
            window->ShowHotFixesFailUI(2);
            Check(manager, scale, "main window, nothing installed");
            // The count title's width goes by the number of digits; the tip panel follows it.
            for (int count : {1, 10, 100, 1000}) {
                window->ShowHotFixesSuccessUI();
                title->SetText(
                    UICulture::GetInstance()
                        ->GetFormatString(std::wstring(L"IDS_HOTFIX_INSTALLED_TOTAL_COUNT"),
                                          std::vector<int>{count}, 0)
                        .c_str());
                window->UpdateTitlePosition(count);
                window->SetDiscribeLayoutVisible(true);
                Check(manager, scale, "main window, " + std::to_string(count) + " updates, tip");
            }
            for (const RowState& state : RowStates()) {
                window->ShowHotFixesSuccessUI();  // the list afresh: the window's own rows
                HotfixManageItemDetail row(kRowHotfix);
                row.InitItemLayout(list);
                row.SetContent(kRowHotfix, true);
                list->SetFixedHeight(list->GetFixedHeight() + manager.ScaleValue(64));
                auto* rowRoot = dynamic_cast<CContainerUI*>(list->GetItemAt(list->GetCount() - 1));
                ASSERT_NE(rowRoot, nullptr);
                state.apply(row, *rowRoot);
                Check(manager, scale, std::string("main window, row ") + state.name);
            }
            // The bars above the list, the restart bar also with a failed restart's code.
            window->ShowRestartBar();
            manager.FindControl(L"closingNoticeBar")->SetVisible(true);
            Check(manager, scale, "main window, restart bar and closing notice");
            const std::wstring failed =
                UICulture::GetInstance()->GetString(L"IDS_RESTART_FAILED").str();
            manager.FindControl(RESTART_BAR_TEXT)
                ->SetText(FormatString(failed, L"1190", L"{0}").c_str());
            Check(manager, scale, "main window, restart bar with a failure");
            manager.FindControl(RESTART_BAR_TEXT)
                ->SetText(UICulture::GetInstance()->GetString(L"IDS_RESTART_BAR_INSTALL_TEXT"));
            Check(manager, scale, "main window, restart bar for installations");
            manager.FindControl(RESTART_BAR)->SetVisible(false);
            manager.FindControl(L"closingNoticeBar")->SetVisible(false);
        }
        delete window;
    }

    void CheckAboutDialog() {
        AboutDialog about;
        ASSERT_NE(about.Create(nullptr, ABOUT_WINDOW_TITLE, WS_POPUP, 0, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr),
                  nullptr);
        for (unsigned scale : kScales) Check(about.GetPaintManager(), scale, "About dialog");
        // Without a desktop shell: the line and the notice's path of an installed program.
        CPaintManagerUI& manager = about.GetPaintManager();
        manager.FindControl(NOTICE_PATH)
            ->SetText(L"C:\\Program Files\\OrvelleEx\\res\\Notice\\OpenSourceSoftwareNotice.htm");
        manager.FindControl(NOTICE_PATH)->SetVisible(true);
        manager.FindControl(NOTICE_PATH_TIPS)->SetVisible(true);
        for (unsigned scale : kScales) Check(manager, scale, "About dialog, notice path");
    }

    void CheckConfirmDialog() {
        CumulativeConfirmDialog confirm(L"KB5031356");
        ASSERT_NE(confirm.Create(nullptr, L"", WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr),
                  nullptr);
        for (unsigned scale : kScales)
            Check(confirm.GetPaintManager(), scale, "cumulative update confirmation");
        CumulativeConfirmDialog other(L"KB5034441", false);
        ASSERT_NE(other.Create(nullptr, L"", WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr),
                  nullptr);
        for (unsigned scale : kScales) Check(other.GetPaintManager(), scale, "update confirmation");
    }

    // The Hide updates dialog: searching, each reason for no list, and a list with
    // both buttons and a refused hide's words under it.
    void CheckHideUpdatesDialog() {
        using WindowsHotfix::HideOutcome;
        const std::vector<std::pair<uint32_t, std::vector<WinApi::OfferedUpdate>>> answers = {
            {0x80040154, {}},
            {0x80070422, {}},
            {0x8024402C, {}},
            {0x80244010, {}},
            {0, {}},
            {0,
             {{L"2026-11 Cumulative Update for Windows 11 Version 24H2 for x64-based Systems "
               L"(KB5070773)",
               {L"5070773"},
               false,
               false},
              {L"Security Intelligence Update for Microsoft Defender Antivirus - KB2267602 "
               L"(Version 1.441.12.0)",
               {L"2267602"},
               true,
               false}}}};
        for (const auto& answer : answers) {
            HideUpdatesDialog dialog;
            ASSERT_NE(dialog.Create(nullptr, L"", WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr),
                      nullptr);
            if (&answer == &answers.front()) {
                for (unsigned scale : kScales)
                    Check(dialog.GetPaintManager(), scale, "Hide updates, searching");
            }
            dialog.OnSearched(answer.first, answer.second);
            if (!answer.second.empty()) dialog.OnFlagSet(0, true, 0x80240036);
            for (unsigned scale : kScales) {
                Check(dialog.GetPaintManager(), scale,
                      "Hide updates, " + Strconv::WideToUtf8(WindowsHotfix::HexCode(answer.first)));
            }
        }
    }

    std::ostringstream m_failures;
    int m_layouts = 0;
};

TEST_P(TextFitTest, EveryTextFitsItsBox) {
    CheckMainWindow();
    CheckAboutDialog();
    CheckConfirmDialog();
    CheckHideUpdatesDialog();
    // Per scale: the main window's views, the About dialog with and without the
    // notice's path, the two confirmations, Hide updates searching and its six answers.
    EXPECT_EQ(m_layouts, 2 * (3 + 4 + static_cast<int>(RowStates().size()) + 3 + 2 + 2 + 7));
    EXPECT_TRUE(m_failures.str().empty()) << "texts that do not fit:\n" << m_failures.str();
}

INSTANTIATE_TEST_SUITE_P(Shipped, TextFitTest, ::testing::ValuesIn(ShippedLanguages()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
