#include "DuiTestEnv.h"

#include "testkit/TestPaths.h"
#include "winapi/TextConversion.h"

namespace DuiTest {

std::wstring FixturePath(const std::wstring& relative) {
    return TestPaths::SourceDirW() + L"/tests/fixtures/duilib/" + relative;
}

void ToolkitTest::SetUp() {
    DuiLib::Headless::Reset();
    DuiLib::UIMainQueue::getInstance()->reopen();
    DuiLib::UIMainQueue::getInstance()->drain();
    DuiLib::CPaintManagerUI::SetResourcePath(FixturePath(L"res/").c_str());
    DuiLib::UICulture::GetInstance()->SetLanguagePath(FixturePath(L"res/values/"));
    DuiLib::UICulture::GetInstance()->SetLanguage(L"en-US", true);
}

void ToolkitTest::TearDown() {
    DuiLib::UIMainQueue::getInstance()->drain();
    DuiLib::Headless::Reset();
}

LRESULT RecordingWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                             BOOL& bHandled) {
    messages.push_back(uMsg);
    if (uMsg == swallow) bHandled = TRUE;
    return 0;
}

HWND RecordingWindow::CreateDefault(HWND parent, const wchar_t* title) {
    HWND window = Create(parent, title, WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT);
    ShowWindow(true, true);  // shown and active, as a window the user works in
    return window;
}

void RecordingWindow::Record(const wchar_t* what, DuiLib::TNotifyUI& msg) {
    std::wstring name = msg.pSender ? msg.pSender->GetName().str() : L"<null>";
    events.push_back(std::wstring(what) + L":" + name);
}

}  // namespace DuiTest
