// The elevated program restricts its DLL search to System32 before it does
// anything else, on every start-up path: when it runs, when another instance
// already runs, and when its language files are missing.
#include "StartupFixture.h"
#include "winapi/DllSearchTesting.h"

using namespace UiFixtures;

namespace {

// What start-up had done when the DLL search was restricted.
struct StateAtRestriction {
    bool loggerFolderExisted = true;
    int mutexHandles = -1;  // of the single-instance mutex, in this process
    std::wstring currentDirectory;
    size_t windows = 1;
};

struct StartupPath {
    const char* name;
    StageOptions stage;
    bool anotherInstanceRuns;
};

class StartupDllSearchTest : public StartupFixture<::testing::TestWithParam<StartupPath>> {
protected:
    void SetUp() override {
        StageProgram(std::string("dllsearch.") + GetParam().name, GetParam().stage);
        // The stand-in remembers the last folder set, whichever test set it.
        WinApi::SetCurrentDirectoryW(Strconv::Utf8ToWide(m_savedCwd).c_str());
        m_enumeration.Succeed(NumberedHotfixes(1));
    }
    void TearDown() override {
        WinApi::Testing::SetDllSearchRestrictionHook(nullptr);
        StartupFixture::TearDown();
    }
};

TEST_P(StartupDllSearchTest, RestrictsTheSearchOnceBeforeAnythingElse) {
    HANDLE firstInstance = nullptr;
    if (GetParam().anotherInstanceRuns)
        firstInstance = WinApi::CreateMutexW(nullptr, TRUE, L"windows//PC/Orvelle");
    std::vector<StateAtRestriction> seen;
    WinApi::Testing::SetDllSearchRestrictionHook([&] {
        StateAtRestriction state;
        state.loggerFolderExisted = fs::exists(fs::path(m_folder) / "state" / "Orvelle");
        state.mutexHandles = WinApi::Testing::NamedMutexHandles(L"windows//PC/Orvelle");
        state.currentDirectory = WinApi::Testing::CurrentDirectory();
        state.windows = DuiLib::Headless::Windows().size();
        seen.push_back(state);
    });
    DuiLib::Headless::SetIdleHook([] {
        for (const DuiLib::Headless::WindowState& window : DuiLib::Headless::Windows())
            DuiLib::WindowApi::SendMessageW(window.hwnd, WM_CLOSE, 0, 0);
    });
    const int before = WinApi::Testing::DllSearchRestrictions();

    EXPECT_EQ(wWinMain(nullptr, nullptr, const_cast<LPWSTR>(L""), 1), 0);

    EXPECT_EQ(WinApi::Testing::DllSearchRestrictions() - before, 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(seen[0].loggerFolderExisted) << "the logger started first";
    // Only the other instance's handle, if there is one: this one has not asked yet.
    EXPECT_EQ(seen[0].mutexHandles, GetParam().anotherInstanceRuns ? 1 : 0)
        << "the single-instance mutex was taken first";
    EXPECT_EQ(seen[0].currentDirectory, Strconv::Utf8ToWide(m_savedCwd))
        << "the folder was entered first";
    EXPECT_EQ(seen[0].windows, 0u);
    // Start-up went on as usual afterwards.
    EXPECT_TRUE(fs::exists(fs::path(m_folder) / "state" / "Orvelle"));
    if (firstInstance != nullptr) WinApi::CloseHandle(firstInstance);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, StartupDllSearchTest,
    ::testing::Values(StartupPath{"normal", StageOptions{}, false},
                      StartupPath{"secondInstance", StageOptions{}, true},
                      StartupPath{"missingLanguages", StageOptions{false, true, true}, false}),
    [](const ::testing::TestParamInfo<StartupPath>& info) { return std::string(info.param.name); });

}  // namespace
