#include "BenchEnvironment.h"

#include <stdlib.h>

#include <filesystem>

#include "duilib/UICulture.h"
#include "duilib/UIMainQueue.h"
#include "duilib/UIManager.h"
#include "duilib_headless/HeadlessTesting.h"
#include "support/KtLogger.h"
#include "support/WMIHelperTesting.h"
#include "testkit/TestPaths.h"
#include "ui/main/MainWindow.h"
#include "winapi/TextConversion.h"
#include "winapi/WinApiTesting.h"

namespace fs = std::filesystem;

namespace BenchEnvironment {

const std::string& Prepare() {
    static const std::string folder = [] {
        const fs::path made = TestPaths::MakeScratchDir("bench");
        const fs::path source = TestPaths::SourceDir();
        const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
        fs::copy(source / "res", made / "res", options);
        fs::copy(source / "config", made / "config", options);
        WinApi::Testing::SetModuleFileName(Strconv::Utf8ToWide((made / "OrvelleEx.exe").string()));
        DuiLib::CPaintManagerUI::SetResourcePath(
            Strconv::Utf8ToWide((made / "res").string() + "/").c_str());
        DuiLib::UICulture::GetInstance()->SetLanguagePath(
            Strconv::Utf8ToWide((made / "res/values").string()));
        DuiLib::UICulture::GetInstance()->SetLanguage(L"en-US", true);
        setenv("XDG_STATE_HOME", (made / "state").c_str(), 1);
        KtLogger::GetInstance()->SetProcessLoggerDir("Orvelle");
        KtLogger::GetInstance()->InitProcessLogger();
        return made.string();
    }();
    return folder;
}

std::vector<HotfixInfo> Records(int count) {
    static const wchar_t* const categories[] = {L"Update",          L"Security Update", L"Hotfix",
                                                L"Critical Update", L"Service Pack",    L"Tools"};
    std::vector<HotfixInfo> records;
    for (int i = 0; i < count; ++i) {
        records.push_back(
            {L"KB" + std::to_wstring(5000001 + i), categories[i % 6],
             std::to_wstring(1 + i % 12) + L"/" + std::to_wstring(1 + i % 28) + L"/2026"});
    }
    return records;
}

void ServeRecords(int count) {
    Prepare();
    const std::vector<HotfixInfo> records = Records(count);
    WMIHelperTesting::SetProvider([records](const std::wstring&, const std::wstring&) {
        return WMIHelperTesting::QueryAnswer{true, records};
    });
}

void StopServing() {
    WMIHelperTesting::SetProvider(nullptr);
}

MainWindow* CreateMainWindow() {
    MainWindow* window = new MainWindow();
    window->Create(nullptr, L"", WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                   CW_USEDEFAULT, nullptr);
    return window;
}

void DestroyMainWindow(MainWindow* window) {
    window->ReleaseItems();
    delete window;
    DuiLib::Headless::Reset();
    DuiLib::UIMainQueue::getInstance()->drain();
}

}  // namespace BenchEnvironment
