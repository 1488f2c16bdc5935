// Shared by the UI and start-up suites: a scratch executable folder holding the
// shipped layouts and language files, a fake WMI enumeration, a fake installer
// (a real script run in place of wusa.exe) and an open main window with a driver.
// Everything here runs on the test's thread (the UI thread) unless it says otherwise.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "duilib/UITestDriver.h"
#include "duilib/UIlib.h"
#include "duilib_headless/HeadlessTesting.h"
#include "support/DetachedThreads.h"
#include "support/HotfixInfo.h"
#include "support/WMIHelperTesting.h"
#include "testkit/LogCapture.h"
#include "testkit/TestPaths.h"
#include "ui/SharedConstants.h"
#include "ui/main/MainWindow.h"
#include "winapi/ProcessLaunchTesting.h"
#include "winapi/TextConversion.h"
#include "winapi/WinApi.h"
#include "winapi/WinApiTesting.h"
#include "winapi/WindowsUpdateTesting.h"

namespace UiFixtures {

namespace fs = std::filesystem;

inline fs::path SourcePath(const std::string& relative) {
    return fs::path(TestPaths::SourceDir()) / relative;
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// What a scratch executable folder holds besides the executable's name.
struct StageOptions {
    bool languages = true;
    bool mainLayout = true;
    bool notice = true;
};

// A fresh folder laid out as beside the executable: res/layout, res/values,
// res/Notice from the repository and the test catalogue in config/.
inline std::string StageExecutableFolder(const std::string& name, StageOptions options = {}) {
    const fs::path folder = TestPaths::MakeScratchDir(name);
    const auto copy = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    fs::create_directories(folder / "res" / "layout");
    fs::copy(SourcePath("res/layout"), folder / "res" / "layout", copy);
    if (!options.mainLayout) fs::remove(folder / "res" / "layout" / "MainWindow.xml");
    if (options.languages) fs::copy(SourcePath("res/values"), folder / "res" / "values", copy);
    if (options.notice) fs::copy(SourcePath("res/Notice"), folder / "res" / "Notice", copy);
    fs::create_directories(folder / "config");
    fs::copy_file(SourcePath("tests/fixtures/ui/HotfixDestriptionDes.xml"),
                  folder / "config" / "HotfixDestriptionDes.xml",
                  fs::copy_options::overwrite_existing);
    return folder.string();
}

inline std::wstring ExecutablePathIn(const std::string& folder) {
    return Strconv::Utf8ToWide((fs::path(folder) / "OrvelleEx.exe").string());
}

// What start-up does for the UI: the folder becomes the executable's folder and
// the current directory, and the toolkit reads res/ and the language there.
inline void UseExecutableFolder(const std::string& folder,
                                const std::wstring& language = L"en-US") {
    WinApi::Testing::SetModuleFileName(ExecutablePathIn(folder));
    WinApi::SetCurrentDirectoryW(Strconv::Utf8ToWide(folder).c_str());
    const DuiLib::CDuiString instancePath = DuiLib::CPaintManagerUI::GetInstancePath();
    DuiLib::CPaintManagerUI::SetResourcePath(instancePath + RESOURCE_FOLDER);
    DuiLib::UICulture::GetInstance()->SetLanguagePath((instancePath + LANGUAGE_FOLDER).str());
    DuiLib::UICulture::GetInstance()->SetLanguage(language, true);
}

// Waits until the loads and uninstalls started so far have ended (whatever held
// them must be released first), then runs what they queued for the UI thread.
// False when one is still running after the timeout.
inline bool FinishBackgroundWork(int timeoutMs = 30000) {
    const bool ended = DetachedThreads::WaitUntilNoneRuns(timeoutMs);
    while (DuiLib::UIMainQueue::getInstance()->drain() > 0) {
    }
    return ended;
}

// Waits for the test's background work, then puts back what the test may have
// changed in the process-wide stand-ins.
inline void ResetProcessState() {
    EXPECT_TRUE(FinishBackgroundWork()) << "a load or an uninstall of this test never ended";
    DuiLib::Headless::Reset();
    WinApi::Testing::Reset();
    WinApi::Testing::ResetProcessLaunch();
    WinApi::Testing::ResetWindowsUpdate();
    WinApi::Testing::SetModuleFileName(L"");
}

// Any thread: waits until the uninstall worker has made `count` launches.
inline std::vector<WinApi::Testing::LaunchRecord> WaitForLaunches(size_t count,
                                                                  int timeoutMs = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<WinApi::Testing::LaunchRecord> launches = WinApi::Testing::LaunchRecords();
    while (launches.size() < count && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        launches = WinApi::Testing::LaunchRecords();
    }
    return launches;
}

// The texts of the captured lines written by the UI code itself (a main window or a
// row), without the service's lines that its load and uninstall threads interleave.
// The titles read's line is left out: it comes from its own thread, at its own time.
inline std::vector<std::wstring> UiLines(const std::vector<LogRecord>& records) {
    std::vector<std::wstring> lines;
    for (const LogRecord& record : records)
        if ((record.text.find(L"(MainWindow::") != std::wstring::npos ||
             record.text.find(L"(HotfixManageItemDetail::") != std::wstring::npos) &&
            record.text.find(L"(MainWindow::ReadTitlesTask)") == std::wstring::npos &&
            record.text.find(L"(MainWindow::ApplyUpdateTitles)") == std::wstring::npos)
            lines.push_back(record.text);
    return lines;
}

inline HotfixInfo Hotfix(const std::wstring& id, const std::wstring& description = L"Update",
                         const std::wstring& installedOn = L"12/7/2026") {
    return HotfixInfo{id, description, installedOn};
}

inline std::vector<HotfixInfo> NumberedHotfixes(int count, int firstNumber = 5000001) {
    std::vector<HotfixInfo> records;
    for (int i = 0; i < count; ++i)
        records.push_back(Hotfix(L"KB" + std::to_wstring(firstNumber + i)));
    return records;
}

// Answers the WMI query in place of the system; can hold a query until released.
// Its state outlives it, so a load thread that queries late still finds an answer.
class FakeEnumeration {
public:
    FakeEnumeration() : m_state(std::make_shared<State>()) {
        std::shared_ptr<State> state = m_state;
        WMIHelperTesting::SetProvider(
            [state](const std::wstring& wmiNamespace, const std::wstring& query) {
                std::unique_lock<std::mutex> lock(state->mutex);
                state->queries.push_back(wmiNamespace + L"|" + query);
                state->changed.notify_all();
                state->changed.wait(lock, [&] { return !state->held; });
                return state->answer;
            });
    }
    ~FakeEnumeration() {
        Release();
        WMIHelperTesting::SetProvider(nullptr);
    }

    void Succeed(std::vector<HotfixInfo> records) { SetAnswer(true, std::move(records)); }
    void Fail() { SetAnswer(false, {}); }
    // Queries block until Release.
    void Hold() {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->held = true;
    }
    void Release() {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->held = false;
        m_state->changed.notify_all();
    }
    std::vector<std::wstring> Queries() const {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        return m_state->queries;
    }
    // Any thread: waits until `count` queries have arrived.
    bool WaitForQueries(size_t count, int timeoutMs = 5000) {
        std::unique_lock<std::mutex> lock(m_state->mutex);
        return m_state->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                         [&] { return m_state->queries.size() >= count; });
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        WMIHelperTesting::QueryAnswer answer;
        std::vector<std::wstring> queries;
        bool held = false;
    };
    void SetAnswer(bool succeeded, std::vector<HotfixInfo> records) {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->answer.succeeded = succeeded;
        m_state->answer.records = std::move(records);
    }
    std::shared_ptr<State> m_state;
};

// A real script run in place of C:\Windows\System32\wusa.exe (fixtures/ui/fake-wusa.sh).
class FakeInstaller {
public:
    explicit FakeInstaller(const std::string& scratchFolder)
        : m_dir(fs::path(scratchFolder) / "fake-wusa") {
        fs::create_directories(m_dir);
        const fs::path script = m_dir / "wusa.sh";
        fs::copy_file(SourcePath("tests/fixtures/ui/fake-wusa.sh"), script,
                      fs::copy_options::overwrite_existing);
        chmod(script.c_str(), 0755);
        setenv("FAKE_WUSA_DIR", m_dir.c_str(), 1);
        WinApi::Testing::MapProgram(L"C:\\Windows\\System32\\wusa.exe", script.string());
    }
    ~FakeInstaller() { Release(); }

    void ExitWith(long long code) { WriteFile(m_dir / "exit-code", std::to_string(code) + "\n"); }
    // The installer keeps running until Release.
    void Hold() { WriteFile(m_dir / "hold", ""); }
    void Release() {
        std::error_code ec;
        fs::remove(m_dir / "hold", ec);
    }
    // The argument lines of every run so far.
    std::vector<std::string> Calls() const {
        std::vector<std::string> lines;
        std::ifstream in(m_dir / "calls");
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

private:
    fs::path m_dir;
};

// A main window created as start-up creates it, with a driver for its controls.
class OpenMainWindow {
public:
    OpenMainWindow() : m_window(new MainWindow()) {
        m_hwnd = m_window->Create(nullptr, L"", WS_POPUP, WS_EX_WINDOWEDGE, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr);
        if (m_hwnd) m_window->ShowWindow(true, true);  // shown and active, as start-up leaves it
        m_driver.reset(new DuiLib::UITestDriver(*m_window));
    }
    ~OpenMainWindow() { Destroy(); }
    OpenMainWindow(const OpenMainWindow&) = delete;
    OpenMainWindow& operator=(const OpenMainWindow&) = delete;

    MainWindow& window() { return *m_window; }
    DuiLib::UITestDriver& driver() { return *m_driver; }
    HWND hwnd() const { return m_hwnd; }
    bool created() const { return m_hwnd != nullptr; }

    DuiLib::CControlUI* Find(const wchar_t* name) const { return m_driver->Find(name); }
    template <typename T>
    T* FindAs(const wchar_t* name) const {
        return dynamic_cast<T*>(m_driver->Find(name));
    }
    bool Shown(const wchar_t* name) const { return m_driver->IsShown(name); }
    std::wstring Text(const wchar_t* name) const {
        DuiLib::CControlUI* control = Find(name);
        return control ? control->GetText().str() : L"<missing " + std::wstring(name) + L">";
    }

    // Pumps messages and queued closures until `done` or the timeout.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
        return m_driver->PumpUntil(done, timeoutMs);
    }
    // The rows, and their routes from the store read that follows them.
    bool WaitForResultView() {
        return PumpUntil([this] {
            return Shown(L"loadHotfixFinishLayout") && RowsBuilt() && m_window->RoutesKnown();
        });
    }
    bool WaitForFailView() {
        return PumpUntil([this] { return Shown(L"loadHotfixFailLayout"); });
    }
    // The list's rows (the row roots, in list order).
    int RowCount() const {
        auto* list = FindAs<DuiLib::CContainerUI>(L"containerInstalledHotfix");
        return list ? list->GetCount() : -1;
    }
    DuiLib::CContainerUI* Row(int index) const {
        auto* list = FindAs<DuiLib::CContainerUI>(L"containerInstalledHotfix");
        return list ? dynamic_cast<DuiLib::CContainerUI*>(list->GetItemAt(index)) : nullptr;
    }
    template <typename T = DuiLib::CControlUI>
    T* InRow(int index, const wchar_t* name) const {
        DuiLib::CContainerUI* row = Row(index);
        return row ? dynamic_cast<T*>(row->FindSubControl(name)) : nullptr;
    }
    // The text of the control `name` of every row, in list order.
    std::vector<std::wstring> RowTexts(const wchar_t* name) const {
        std::vector<std::wstring> texts;
        for (int i = 0; i < RowCount(); ++i) {
            DuiLib::CControlUI* control = InRow(i, name);
            texts.push_back(control ? control->GetText().str() : L"<missing>");
        }
        return texts;
    }

    // Deletes the window as start-up does after its loop.
    void Destroy() {
        m_driver.reset();
        delete m_window;
        m_window = nullptr;
    }
    bool alive() const { return m_window != nullptr; }

private:
    bool RowsBuilt() const {
        auto* list = FindAs<DuiLib::CControlUI>(L"containerInstalledHotfix");
        return list && list->GetFixedHeight() > 0;
    }

    MainWindow* m_window;
    HWND m_hwnd = nullptr;
    std::unique_ptr<DuiLib::UITestDriver> m_driver;
};

// A test with its own scratch executable folder, fake enumeration and, when it
// asks, a main window; puts the process-wide stand-ins back afterwards.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = StageExecutableFolder(std::string(info->test_suite_name()) + "." + info->name(),
                                         Stage());
        UseExecutableFolder(m_folder, Language());
    }
    void TearDown() override {
        m_main.reset();
        m_enumeration.Release();  // a held load ends before the test does
        ResetProcessState();
    }
    virtual StageOptions Stage() const { return {}; }
    virtual std::wstring Language() const { return L"en-US"; }

    // Opens a main window (main()) that loads `records`; true once it shows them as rows.
    [[nodiscard]] bool OpenWithRows(std::vector<HotfixInfo> records) {
        m_enumeration.Succeed(std::move(records));
        m_main.reset(new OpenMainWindow());
        return m_main->WaitForResultView();
    }
    OpenMainWindow& main() { return *m_main; }

    std::string m_folder;
    FakeEnumeration m_enumeration;
    std::unique_ptr<OpenMainWindow> m_main;  // deleted before the stand-ins are put back
};

}  // namespace UiFixtures
