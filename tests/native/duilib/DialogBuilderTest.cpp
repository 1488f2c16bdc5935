// Building control trees from layout files on disk through CDialogBuilder.
#include "DuiTestEnv.h"
#include "duilib/UIControlFactory.h"
#include "testkit/LogCapture.h"

using namespace DuiLib;
using DuiTest::FixturePath;

namespace {

class DialogBuilderTest : public DuiTest::ToolkitTest {
protected:
    CControlUI* Build(const std::wstring& name, IDialogBuilderCallback* callback = nullptr) {
        CDialogBuilder builder;
        CControlUI* root = builder.Create(name.c_str(), nullptr, callback, &m_manager);
        if (root) m_manager.AttachDialog(root);
        return root;
    }

    CPaintManagerUI m_manager;
};

struct PathCase {
    const wchar_t* resourcePath;
    const wchar_t* layout;
};

class LayoutPathTest : public DialogBuilderTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(LayoutPathTest, FindsTheLayoutBelowTheResourcePathWithEitherSeparator) {
    CPaintManagerUI::SetResourcePath(FixturePath(GetParam().resourcePath).c_str());
    CControlUI* root = Build(GetParam().layout);
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->GetClass(), L"VerticalLayoutUI");
    EXPECT_EQ(root->GetName(), L"root");
    // The <Window> root configures the manager.
    EXPECT_EQ(m_manager.GetInitSize().cx, 400);
    EXPECT_EQ(m_manager.GetInitSize().cy, 300);
    EXPECT_EQ(m_manager.GetCaptionHeight(), 40);
    EXPECT_EQ(m_manager.GetFont(1).size, 16);
    EXPECT_TRUE(m_manager.GetFont(1).bold);
}

INSTANTIATE_TEST_SUITE_P(Separators, LayoutPathTest,
                         ::testing::Values(PathCase{L"res/", L"layout\\window.xml"},
                                           PathCase{L"res/", L"layout/window.xml"},
                                           PathCase{L"res\\", L"layout\\window.xml"},
                                           PathCase{L"res\\", L"layout/window.xml"}));

TEST_F(DialogBuilderTest, MissingOrBrokenFileGivesNullAndOneLogLineNamingIt) {
    for (const wchar_t* name : {L"layout\\absent.xml", L"layout\\not_xml.xml"}) {
        LogCapture log;
        EXPECT_EQ(Build(name), nullptr) << name;
        std::wstring file = std::wstring(name).substr(7);
        auto lines = log.Matching(file);
        ASSERT_EQ(lines.size(), 1u) << name;
        EXPECT_EQ(lines[0].level, LOG_ERROR);
        EXPECT_NE(lines[0].text.find(L"(CDialogBuilder::Create)"), std::wstring::npos);
    }
}

TEST_F(DialogBuilderTest, UnknownElementsAndAttributesAreLoggedWithTheFileAndSkipped) {
    LogCapture log;
    CControlUI* root = Build(L"layout\\unknown_bits.xml");
    ASSERT_NE(root, nullptr);
    auto* container = dynamic_cast<CContainerUI*>(root);
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->GetCount(), 2);  // the <Slider> and its subtree are gone
    EXPECT_EQ(container->GetItemAt(0)->GetName(), L"before");
    EXPECT_EQ(container->GetItemAt(0)->GetText(), L"kept");
    EXPECT_EQ(container->GetItemAt(1)->GetName(), L"after");
    EXPECT_EQ(m_manager.FindControl(L"insideMystery"), nullptr);
    EXPECT_EQ(m_manager.FindControl(L"childOfLabel"), nullptr);
    EXPECT_EQ(m_manager.GetInitSize().cx, 200);

    for (const wchar_t* what : {L"sizebox", L"face", L"sparkle", L"Slider", L"childOfLabel"}) {
        auto lines = log.Matching(what);
        ASSERT_EQ(lines.size(), 1u) << what;
        EXPECT_NE(lines[0].text.find(L"unknown_bits.xml"), std::wstring::npos) << lines[0].text;
    }
}

TEST_F(DialogBuilderTest, LanguageKeysInLayoutTextsAreShownThroughTheCulture) {
    ASSERT_NE(Build(L"layout\\window.xml"), nullptr);
    EXPECT_EQ(m_manager.FindControl(L"title")->GetText(), L"Orvelle Test");
    EXPECT_EQ(m_manager.FindControl(L"retryText")->GetText(),
              L"Loading failed. {a retry}Retry{/a}");

    ASSERT_TRUE(UICulture::GetInstance()->SetLanguage(L"zh-CN", true));
    ASSERT_NE(Build(L"layout\\window.xml"), nullptr);
    EXPECT_EQ(m_manager.FindControl(L"title")->GetText(), L"测试标题");

    LogCapture log;
    ASSERT_NE(Build(L"<Label name='l' text='IDS_NOT_THERE'/>"), nullptr);
    EXPECT_EQ(m_manager.FindControl(L"l")->GetText(), L"");
    EXPECT_TRUE(log.Contains(L"IDS_NOT_THERE"));
}

TEST_F(DialogBuilderTest, FindControlAndFindSubControlSearchTheTree) {
    ASSERT_NE(Build(L"layout/window.xml"), nullptr);
    EXPECT_NE(dynamic_cast<CButtonUI*>(m_manager.FindControl(L"item3")), nullptr);
    EXPECT_NE(dynamic_cast<CAnimPanelUI*>(m_manager.FindControl(L"spinner")), nullptr);
    EXPECT_EQ(m_manager.FindControl(L"absent"), nullptr);
    EXPECT_EQ(m_manager.FindControl(L"Item3"), nullptr);  // names are case-sensitive

    auto* list = dynamic_cast<CContainerUI*>(m_manager.FindControl(L"list"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->FindSubControl(L"item2"), m_manager.FindControl(L"item2"));
    EXPECT_EQ(list->FindSubControl(L"title"), nullptr);
    EXPECT_EQ(list->FindSubControl(L"list"), nullptr);  // descendants only
}

TEST_F(DialogBuilderTest, AFragmentWithoutManagerJoinsAWindowWhenAdded) {
    ASSERT_NE(Build(L"layout/window.xml"), nullptr);
    CDialogBuilder builder;
    CControlUI* row = builder.Create(L"layout\\row.xml");
    ASSERT_NE(row, nullptr);
    auto* rowContainer = dynamic_cast<CContainerUI*>(row);
    ASSERT_NE(rowContainer, nullptr);
    CControlUI* button = rowContainer->FindSubControl(L"rowButton");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetManager(), nullptr);
    EXPECT_EQ(rowContainer->FindSubControl(L"rowName")->GetText(), L"Orvelle Test");

    auto* list = dynamic_cast<CContainerUI*>(m_manager.FindControl(L"list"));
    ASSERT_TRUE(list->Add(row));
    EXPECT_EQ(button->GetManager(), &m_manager);
    EXPECT_EQ(m_manager.FindControl(L"rowButton"), button);

    list->RemoveAll();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(m_manager.FindControl(L"rowButton"), nullptr);
}

TEST_F(DialogBuilderTest, ElementsBeyondTheRegistryComeFromTheCallbackOrTheFactory) {
    struct Callback : IDialogBuilderCallback {
        CControlUI* CreateControl(LPCTSTR className) override {
            asked.push_back(className);
            return std::wstring(className) == L"Fancy" ? new CLabelUI : nullptr;
        }
        std::vector<std::wstring> asked;
    } callback;
    CControlFactory::GetInstance()->Register(L"Plain", [] { return new CControlUI; });

    ASSERT_NE(
        Build(
            L"<VerticalLayout><Fancy name='f'/><Plain name='p'/><Label name='l'/></VerticalLayout>",
            &callback),
        nullptr);
    EXPECT_NE(dynamic_cast<CLabelUI*>(m_manager.FindControl(L"f")), nullptr);
    EXPECT_NE(m_manager.FindControl(L"p"), nullptr);
    EXPECT_EQ(callback.asked, std::vector<std::wstring>{L"Fancy"});
}

TEST_F(DialogBuilderTest, APassedParentReceivesTheBuiltRoot) {
    CVerticalLayoutUI parent;
    CDialogBuilder builder;
    CControlUI* row = builder.Create(L"layout\\row.xml", nullptr, nullptr, nullptr, &parent);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(parent.GetCount(), 1);
    EXPECT_EQ(parent.GetItemAt(0), row);
    EXPECT_EQ(row->GetParent(), &parent);
}

}  // namespace
