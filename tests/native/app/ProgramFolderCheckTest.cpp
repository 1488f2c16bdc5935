// Start-up refuses to run from files the user's own unelevated token may
// change (a portable copy in Downloads, an MSI put under C:\ by hand), and
// runs where it may not, or where Windows links no such token.
#include "StartupFixture.h"
#include "testkit/LogCapture.h"

using namespace UiFixtures;
using DuiLib::Headless::WindowState;

namespace {

class ProgramFolderCheckTest : public StartupFixture<> {
protected:
    void SetUp() override {
        StageThisTest("folder-check", "de_DE.UTF-8");
        m_enumeration.Succeed(NumberedHotfixes(1));
    }
};

TEST_F(ProgramFolderCheckTest, OnlyFilesTheUserCannotChangeStartTheProgram) {
    const std::wstring folder = Strconv::Utf8ToWide(m_folder);
    const std::wstring exe = ExecutablePathIn(m_folder);
    const struct {
        const char* name;
        uint32_t noLinkedToken;   // OpenLinkedToken's error, 0: a token
        std::wstring changeable;  // a path the user may change
        std::wstring unreadable;  // a path whose security cannot be read
        bool starts;
        std::wstring logged;
    } cases[] = {
        {"nothing changeable", 0, L"", L"", true, L""},
        {"the folder", 0, folder, L"", false,
         L"program files can be changed by the user! path:" + folder},
        {"res", 0, folder + L"/res", L"", false,
         L"program files can be changed by the user! path:" + folder + L"/res"},
        {"config", 0, folder + L"/config", L"", false,
         L"program files can be changed by the user! path:" + folder + L"/config"},
        {"the executable", 0, exe, L"", false,
         L"program files can be changed by the user! path:" + exe},
        {"a check that fails says so and looks on", 0, exe, folder + L"/res", false,
         L"program folder check fail! ret:2 path:" + folder + L"/res"},
        {"no linked token (UAC off)", 1312, exe, L"", true,
         L"no linked token, program folder not checked! ret:1312"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WinApi::Testing::ResetUserAccess();
        WinApi::Testing::Reset();
        WinApi::Testing::SetNoLinkedToken(c.noLinkedToken);
        if (!c.changeable.empty()) WinApi::Testing::SetUserMayChange(c.changeable);
        if (!c.unreadable.empty()) WinApi::Testing::SetSecurityUnreadable(c.unreadable);
        bool shown = false;
        DuiLib::Headless::SetIdleHook([&] {
            for (const WindowState& state : DuiLib::Headless::Windows())
                if (state.className == MAIN_WINDOW_CLASS) {
                    shown = true;
                    DuiLib::WindowApi::SendMessageW(state.hwnd, WM_CLOSE, 0, 0);
                }
        });
        LogCapture log;
        EXPECT_EQ(wWinMain(nullptr, nullptr, const_cast<LPWSTR>(L""), 1), 0);
        DuiLib::Headless::SetIdleHook(nullptr);
        EXPECT_EQ(shown, c.starts);
        if (!c.logged.empty())
            EXPECT_EQ(log.Matching(c.logged + L"(UserMayChangeProgramFiles)").size(), 1u);
        const auto boxes = WinApi::Testing::MessageBoxCalls();
        if (c.starts) {
            EXPECT_TRUE(boxes.empty());
            continue;
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text,
                  L"OrvelleEx befindet sich in einem Ordner, den andere Programme ändern können. "
                  L"Installieren Sie es mit dem MSI-Paket, oder verschieben Sie es in einen "
                  L"Ordner, den nur Administratoren ändern können.");
        EXPECT_EQ(boxes[0].caption, L"Hinweis");
        EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_TOPMOST));
    }
}

// The four places are asked in order, the folder first, through the one token.
TEST_F(ProgramFolderCheckTest, AsksForTheFolderResConfigAndTheExecutable) {
    DuiLib::Headless::SetIdleHook([&] {
        for (const WindowState& state : DuiLib::Headless::Windows())
            DuiLib::WindowApi::SendMessageW(state.hwnd, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(wWinMain(nullptr, nullptr, const_cast<LPWSTR>(L""), 1), 0);
    const std::wstring folder = Strconv::Utf8ToWide(m_folder);
    EXPECT_EQ(WinApi::Testing::AccessChecks(),
              (std::vector<std::wstring>{folder, folder + L"/res", folder + L"/config",
                                         ExecutablePathIn(m_folder)}));
}

}  // namespace
