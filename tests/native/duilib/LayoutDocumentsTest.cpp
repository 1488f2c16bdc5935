// Layout files are parsed once per version: builds of an unchanged file reuse
// its parsed document, and a file that was changed, broken or removed since is
// seen as it is now by the next build.
#include <filesystem>
#include <fstream>

#include "DuiTestEnv.h"
#include "testkit/LogCapture.h"
#include "testkit/TestPaths.h"
#include "winapi/TextConversion.h"

using namespace DuiLib;
namespace fs = std::filesystem;

namespace {

class LayoutDocumentsTest : public DuiTest::ToolkitTest {
protected:
    void SetUp() override {
        DuiTest::ToolkitTest::SetUp();
        m_folder = TestPaths::MakeScratchDir(
            std::string("layouts.") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        CPaintManagerUI::SetResourcePath(Strconv::Utf8ToWide(m_folder + "/").c_str());
    }
    void Write(const std::string& text) {
        std::ofstream(m_folder + "/row.xml", std::ios::binary) << text;
    }
    // The text of the label of a freshly built tree, or "<none>".
    std::wstring BuiltText() {
        CDialogBuilder builder;
        std::unique_ptr<CControlUI> root(builder.Create(L"row.xml"));
        auto* container = dynamic_cast<CContainerUI*>(root.get());
        CControlUI* label = container ? container->FindSubControl(L"text") : nullptr;
        return label ? label->GetText().str() : L"<none>";
    }
    static std::string Row(const std::string& text) {
        return "<VerticalLayout><Label name=\"text\" text=\"" + text + "\"/></VerticalLayout>";
    }

    std::string m_folder;
};

TEST_F(LayoutDocumentsTest, EachBuildSeesTheFileAsItIsNow) {
    LogCapture log;
    Write(Row("one"));
    EXPECT_EQ(BuiltText(), L"one");
    EXPECT_EQ(BuiltText(), L"one");

    Write(Row("three"));  // another size
    EXPECT_EQ(BuiltText(), L"three");

    // Same size: the modification time tells.
    const fs::file_time_type before = fs::last_write_time(m_folder + "/row.xml");
    Write(Row("seven"));
    fs::last_write_time(m_folder + "/row.xml", before + std::chrono::seconds(2));
    EXPECT_EQ(BuiltText(), L"seven");

    Write("<VerticalLayout><Label name=\"text\"");
    EXPECT_EQ(BuiltText(), L"<none>");
    EXPECT_EQ(log.Matching(L"layout file is not valid XML:").size(), 1u);
    fs::remove(m_folder + "/row.xml");
    EXPECT_EQ(BuiltText(), L"<none>");
    EXPECT_EQ(log.Matching(L"layout file cannot be read:").size(), 1u);
    Write(Row("back"));
    EXPECT_EQ(BuiltText(), L"back");
}

TEST_F(LayoutDocumentsTest, TreesBuiltFromOneFileAreIndependent) {
    Write(Row("same"));
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> first(builder.Create(L"row.xml"));
    std::unique_ptr<CControlUI> second(builder.Create(L"row.xml"));
    auto* a = dynamic_cast<CContainerUI*>(first.get())->FindSubControl(L"text");
    auto* b = dynamic_cast<CContainerUI*>(second.get())->FindSubControl(L"text");
    ASSERT_NE(a, b);
    a->SetText(L"changed");
    EXPECT_EQ(b->GetText().str(), L"same");
    EXPECT_EQ(BuiltText(), L"same");
}

}  // namespace
