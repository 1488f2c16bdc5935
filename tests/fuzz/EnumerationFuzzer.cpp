// The enumeration's handling of odd property values, end to end on the
// headless backend: records answered through the WMI test seam reach
// GetInstalledHotFixes on the window's load thread, become rows, and their
// uninstall buttons are clicked. Nothing may be lost, and nothing but a plain
// number may reach the installer's command line.
// Input: a flag byte (bit 0: the installer start is cancelled; bit 1: the query
// fails), then records separated by newlines, fields (HotFixID, Description,
// InstalledOn) by tabs.
#include <vector>

#include "FuzzSupport.h"
#include "duilib/UITestDriver.h"
#include "duilib/UIlib.h"
#include "duilib_headless/HeadlessTesting.h"
#include "hotfix/KbNumber.h"
#include "hotfix/WindowsHotfixTesting.h"
#include "support/WMIHelperTesting.h"
#include "ui/SharedConstants.h"
#include "ui/main/MainWindow.h"
#include "winapi/ProcessLaunchTesting.h"

using namespace DuiLib;

namespace {

constexpr size_t kMaxRecords = 64;
constexpr int kMaxClicks = 4;

std::vector<HotfixInfo> ParseRecords(std::string input) {
    std::vector<HotfixInfo> records;
    while (!input.empty() && records.size() < kMaxRecords) {
        std::string line = FuzzSupport::TakeField(input, '\n');
        HotfixInfo info;
        info.HotFixID = FuzzSupport::DecodeText(FuzzSupport::TakeField(line, '\t'));
        info.Description = FuzzSupport::DecodeText(FuzzSupport::TakeField(line, '\t'));
        info.InstalledOn = FuzzSupport::DecodeText(line);
        records.push_back(info);
    }
    return records;
}

CControlUI* FindIn(CControlUI* row, const std::wstring& name) {
    auto* container = dynamic_cast<CContainerUI*>(row);
    return container ? container->FindSubControl(name.c_str()) : nullptr;
}

void Notify(MainWindow& window, CControlUI* sender) {
    TNotifyUI msg;
    msg.sType = L"click";
    msg.pSender = sender;
    window.OnClick(msg);
}

// The toolkit takes texts and names as C strings: what it shows of an identifier
// ends at a zero character (which WMI strings may hold).
std::wstring Shown(const std::wstring& text) {
    return text.c_str();
}

// Every record has its row, in order, showing its identifier and named after it.
void CheckRows(UITestDriver& driver, const std::vector<HotfixInfo>& records) {
    auto* list = dynamic_cast<CContainerUI*>(driver.Find(L"containerInstalledHotfix"));
    FUZZ_CHECK(list != nullptr && list->GetCount() == static_cast<int>(records.size()));
    for (size_t i = 0; i < records.size(); ++i) {
        CControlUI* row = list->GetItemAt(static_cast<int>(i));
        CControlUI* name = FindIn(row, L"hotfixNameText");
        FUZZ_CHECK(name != nullptr && name->GetText().str() == Shown(records[i].HotFixID));
        FUZZ_CHECK(FindIn(row, L"btnUniName" + Shown(records[i].HotFixID)) != nullptr);
    }
}

// Clicks the first rows' buttons; each launch asks only for " /uninstall /kb:<digits>"
// of a listed identifier, and afterwards no shown button stays disabled.
void ClickRows(MainWindow& window, UITestDriver& driver, const std::vector<HotfixInfo>& records) {
    auto* list = dynamic_cast<CContainerUI*>(driver.Find(L"containerInstalledHotfix"));
    for (int i = 0; i < kMaxClicks && i < static_cast<int>(records.size()); ++i) {
        CControlUI* button = FindIn(list->GetItemAt(i), L"btnUniName" + Shown(records[i].HotFixID));
        if (button == nullptr || !button->IsVisible() || !button->IsEnabled()) continue;
        Notify(window, button);
        driver.Pump();
    }
    for (const WinApi::Testing::LaunchRecord& launch : WinApi::Testing::LaunchRecords()) {
        FUZZ_CHECK(launch.application == L"C:\\Windows\\System32\\wusa.exe");
        bool fromARecord = false;
        for (const HotfixInfo& info : records) {
            const std::wstring number = ExtractKbNumber(info.HotFixID);
            fromARecord = fromARecord ||
                          (!number.empty() && launch.Parameters() == L" /uninstall /kb:" + number);
        }
        FUZZ_CHECK(fromARecord);
    }
    for (int i = 0; i < list->GetCount(); ++i) {
        CControlUI* button = FindIn(list->GetItemAt(i), L"btnUniName" + Shown(records[i].HotFixID));
        FUZZ_CHECK(button == nullptr || !button->IsVisible() || button->IsEnabled());
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzSupport::StageShippedResources();
    // The worker runs on the clicking thread, and no installer is started.
    WindowsHotfix::Testing::SetThreadStarter([](std::function<void()> work) { work(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::vector<HotfixInfo> records =
        ParseRecords(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    const bool queryFails = data[0] & 2;
    WMIHelperTesting::SetProvider([records, queryFails](const std::wstring&, const std::wstring&) {
        return WMIHelperTesting::QueryAnswer{!queryFails, records};
    });
    WinApi::Testing::ResetProcessLaunch();
    WinApi::Testing::SetLaunchFailure(data[0] & 1 ? 1223 : 2);

    MainWindow* window = new MainWindow();
    FUZZ_CHECK(window->Create(nullptr, L"", WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr) != nullptr);
    {
        UITestDriver driver(*window);
        const bool ended = driver.PumpUntil(
            [&] {
                // The rows' buttons wait for their routes, which come a moment after the rows.
                return driver.IsShown(L"loadHotfixFailLayout") ||
                       (driver.IsShown(L"loadHotfixFinishLayout") &&
                        driver.Find(L"containerInstalledHotfix")->GetFixedHeight() > 0 &&
                        window->RoutesKnown());
            },
            10000);
        FUZZ_CHECK(ended);
        FUZZ_CHECK(driver.IsShown(L"loadHotfixFinishLayout") == (!queryFails && !records.empty()));
        if (driver.IsShown(L"loadHotfixFinishLayout")) {
            CheckRows(driver, records);
            ClickRows(*window, driver, records);
        }
        Notify(*window, driver.Find(CLOSE_BUTTON));
        driver.Pump();
    }
    delete window;
    WMIHelperTesting::SetProvider(nullptr);
    Headless::Reset();
    UIMainQueue::getInstance()->drain();
    return 0;
}
