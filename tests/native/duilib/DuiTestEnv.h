// Shared by the toolkit's tests: fixture paths, a clean toolkit state per test
// (headless backend, queue, resource path, language), a window whose layout is a
// fixture file and which records what reaches it, and a test that keeps one open.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "duilib/UITestDriver.h"
#include "duilib/UIlib.h"
#include "duilib_headless/HeadlessTesting.h"
#include "winapi/WinApi.h"

namespace DuiTest {

// tests/fixtures/duilib/<relative>, with a trailing "/" when `relative` has one.
std::wstring FixturePath(const std::wstring& relative);

// Every toolkit test derives from this: the headless backend reset, the queue
// open and empty, the resource path at the fixture "res/" and English strings.
class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A window built from a fixture layout; records notifications and messages.
class RecordingWindow : public DuiLib::WindowImplBase {
public:
    explicit RecordingWindow(std::wstring skin = L"layout\\window.xml",
                             std::wstring className = L"DuiTestWindow")
        : m_skin(std::move(skin)), m_className(std::move(className)) {}

    DuiLib::LPCTSTR GetWindowClassName() const override { return m_className.c_str(); }
    DuiLib::CDuiString GetSkinFile() override { return m_skin; }
    void InitWindow() override { ++initCount; }
    void OnClick(DuiLib::TNotifyUI& msg) override { Record(L"click", msg); }
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

    // Creates the native window (no parent, popup), shows and activates it, and
    // returns its handle.
    HWND CreateDefault(HWND parent = nullptr, const wchar_t* title = L"Test");

    // "type:name" of every notification that reached a handler, in order.
    std::vector<std::wstring> events;
    std::vector<UINT> messages;  // every message HandleCustomMessage saw
    UINT swallow = 0;            // a message HandleCustomMessage marks handled
    int initCount = 0;

protected:
    void Record(const wchar_t* what, DuiLib::TNotifyUI& msg);

private:
    std::wstring m_skin;
    std::wstring m_className;
};

// A toolkit test with a window (default layout) open for the whole test and a driver for it.
template <typename Window = RecordingWindow>
class DrivenWindowTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        ASSERT_NE(m_window.CreateDefault(), nullptr);
        m_driver.reset(new DuiLib::UITestDriver(m_window));
    }

    Window m_window;
    std::unique_ptr<DuiLib::UITestDriver> m_driver;
};

}  // namespace DuiTest
